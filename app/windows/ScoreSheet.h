#pragma once
// A score sheet is the page a player keeps of a game: a heading with the event, site,
// date, players, level, time control and result, then the moves in SAN in numbered columns
// of move pairs, as on a paper score sheet, with the marks of a review where the game has
// them. It is drawn on any printer: the desktop's, a print preview, or a PDF file.

#include <QString>
#include <QStringList>

struct GameRecord;
class QPrinter;

struct TScoreSheet {
    QString Event, Site, Date, Round, White, Black;
    QString Level;            // the level of play, empty when no computer plays
    QString TimeControl;      // readable ("5 min + 3 s"), empty for an untimed game
    QString Result;           // "1-0", "0-1", "½-½", or empty while the game goes on
    int FirstMove = 1;        // the number of the first row
    bool BlackBegins = false; // the game began with Black's move: the first White cell is empty
    QStringList Moves;        // every half-move in SAN with its mark ("Nxe5?!"), in order
};

// The sheet of a game record. levelLine is the main window's level line ("Level: Novice");
// a line that names no level (two people playing) gives none.
TScoreSheet ScoreSheetOf(const GameRecord& record, const QString& levelLine);

// The "TimeControl" tag as a person reads it: "180+2" is "3 min + 2 s"; empty for "-" and
// for a tag that is missing.
QString TimeControlText(const QString& tag);

// Draws the sheet on the printer's pages, the first with the heading, later ones (a long
// game) with the players and the page number. False with the reason when the printer or
// file cannot take the job.
bool PrintScoreSheet(const TScoreSheet& sheet, QPrinter& printer, QString* error = nullptr);

// Writes the sheet as a PDF file at path, on the locale's paper (Letter in the US, else A4).
bool WriteScoreSheetPdf(const TScoreSheet& sheet, const QString& path, QString* error = nullptr);
