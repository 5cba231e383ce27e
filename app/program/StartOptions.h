#pragma once
// TStartOptions is what the command line asks of the program, read once at start by
// ReadStartOptions and handed by main to whoever needs it: a game or position to open, an
// external engine to play, and the installation's self-test.

#include <QString>
#include <QStringList>

struct TStartOptions {
    // A PGN file, or a game or position written out (PGN or FEN); empty for none. A FEN the
    // shell split into its fields comes together again.
    QString Game;
    // "--engine PATH": the UCI program to play the computer's side; empty for the one
    // remembered in chesszel.conf.
    QString EnginePath;
    // "--self-test-data": say where the data files were found, and stop.
    bool SelfTestData = false;
};

// What the program does after reading its command line.
enum class TStartAction {
    Run,     // start with the options read
    Help,    // print the text (the usage) and stop
    Version, // print the text (the name and version) and stop
    Refuse,  // print the text (what was wrong, and where to read more) and stop with failure
};

// Reads the program's arguments (the first, the program's name, is skipped) into options;
// text holds what to print when the action is not Run.
TStartAction ReadStartOptions(const QStringList& arguments, TStartOptions& options, QString& text);
