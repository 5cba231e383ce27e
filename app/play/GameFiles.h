#pragma once
// TGameFiles brings whole games and positions in and out of the main window: Ctrl+C copies
// the game as PGN (and the position as FEN), Ctrl+V pastes either, "Save game as PGN..." and
// "Open PGN..." go through the desktop's file dialogs, and a file or a FEN named on the
// command line opens at start. A game read is replayed onto the board move by move, so it
// can be stepped through and continued; anything refused leaves the board's game alone.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

#include "GameRecord.h"

class QAction;
class TForm1;
struct TStartOptions;

class TGameFiles : public QObject {
    Q_OBJECT

  public:
    explicit TGameFiles(TForm1& form);

    // The board's game as PGN, tagged with the players and today's date.
    QString GamePgn() const;
    // The position on the board as FEN.
    QString PositionFen() const;
    // The board's game as a record (tags included), as every annotator left it.
    GameRecord CurrentRecord() const;
    // Adds a step to CurrentRecord, run in the order added after the tags and the result
    // are set: it may add tags, notes for the moves, or a result the rules do not know of
    // (a game lost on time). Export, copy and print all go through it.
    void AddAnnotator(std::function<void(GameRecord&)> annotator);
    // The game last put on the board from a file, a paste or the command line (its tags
    // and notes as read); null when none was.
    const GameRecord* LoadedRecord() const { return FLoaded ? &*FLoaded : nullptr; }

    // Puts a game on the board, in the game-in-progress state with the players and level
    // of the Play panel; the last move raises the board's events as if just played.
    void LoadRecord(const GameRecord& record);
    // A PGN (its first game) or a FEN; false with the reason when it is neither.
    bool LoadText(const QString& text, QString& error);
    // A PGN file, in UTF-8 or Latin-1; with several games, chooseGame picks one (the first
    // when it is not set). False with the reason when nothing could be read.
    bool OpenFile(const QString& path, QString& error);
    bool SaveFile(const QString& path, QString& error) const;

    // The commands of the context menu.
    void CopyGame() const;
    void PasteGame();
    void SaveGameAs();
    void OpenGame();

    // Picks one of several games of a file: their one-line descriptions in, an index (or
    // -1 to cancel) out. The default shows a list window; tests put their own in its place.
    std::function<int(const QStringList& games)> ChooseGame;
    // Where the file dialogs are bypassed in tests: returns the chosen path or an empty one.
    std::function<QString(bool save)> ChoosePath;

    // The name the external engine gives itself, for the players' tags; empty for none.
    QString EngineName;

    QAction* CopyAction = nullptr;
    QAction* PasteAction = nullptr;
    QAction* SaveAction = nullptr;
    QAction* OpenAction = nullptr;

    // Tells the user one line.
    void Tell(const QString& text) const;

  signals:
    // A game or position has just been put on the board.
    void GameLoaded();

  private:
    int ChooseFromList(const QStringList& games) const;

    TForm1& FForm;
    // The game last read, whose tags and move counters an export keeps while the board's
    // game still begins with its moves.
    std::optional<GameRecord> FLoaded;
    std::vector<std::function<void(GameRecord&)>> FAnnotators;
};

// Creates the game-file commands on the main window and opens the game the command line
// names: a PGN file, or a game or a FEN written out.
TGameFiles* InstallGameFiles(TForm1& form, const TStartOptions& options);

// Whether a command-line argument is a game or a position written out (PGN or FEN) rather
// than the name of a file: a file that is there, or a name without spaces that is not a
// FEN's board, is a file, so that a missing one is reported as such.
bool IsGameText(const QString& argument);
