#include "StartOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>

#ifndef ZEL_VERSION
#define ZEL_VERSION "0"
#endif

namespace {

constexpr const char* kGameSyntax = "[FILE.pgn | \"FEN\"]";

} // namespace

TStartAction ReadStartOptions(const QStringList& arguments, TStartOptions& options,
                              QString& text) {
    options = TStartOptions{};
    QCommandLineParser parser;
    parser.setApplicationDescription("Chess Zel: a chess game against the computer or a friend.");
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "Shows this help and stops.");
    const QCommandLineOption version({"v", "version"}, "Shows the program's version and stops.");
    const QCommandLineOption engine("engine", "Plays the computer's side with the UCI engine PATH.",
                                    "PATH");
    const QCommandLineOption selfTest("self-test-data",
                                      "Prints where the data files were found, and stops.");
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(engine);
    parser.addOption(selfTest);
    parser.addPositionalArgument("game", "A PGN file, or a game or a position (FEN) written out.",
                                 kGameSyntax);

    const QString program =
        arguments.isEmpty() ? QString("chesszel") : QFileInfo(arguments.first()).fileName();
    if (!parser.parse(arguments.isEmpty() ? QStringList{program} : arguments)) {
        text = program + ": " + parser.errorText() + "\nTry '" + program +
               " --help' for the options.";
        return TStartAction::Refuse;
    }
    if (parser.isSet(help)) {
        // The usage names the program by its file name, with or without an application.
        text = parser.helpText();
        text = "Usage: " + program + " [options] " + kGameSyntax + text.mid(text.indexOf('\n'));
        return TStartAction::Help;
    }
    if (parser.isSet(version)) {
        text = QString("Chess Zel ") + ZEL_VERSION;
        return TStartAction::Version;
    }
    options.SelfTestData = parser.isSet(selfTest);
    options.EnginePath = parser.value(engine);
    if (parser.isSet(engine) && options.EnginePath.isEmpty()) {
        text = program + ": --engine needs the path of a UCI engine program.\nTry '" + program +
               " --help' for the options.";
        return TStartAction::Refuse;
    }
    options.Game = parser.positionalArguments().join(' ');
    return TStartAction::Run;
}
