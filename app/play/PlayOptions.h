#pragma once
// The program's ways of playing on the main board, beyond dragging: its switches (click to
// move, legal targets, last move, check, keyboard play, choosing the promotion piece,
// speaking the moves) kept in chesszel.conf, the hint, the context-menu entries for them
// and the window's keyboard shortcuts for the commands of the side panel.

#include <QString>

#include <memory>

class QAction;
class TChessBrd;
class TForm1;
class TSpeaker;

struct TPlayChoices {
    bool ClickToMove = true;
    bool ShowLegalMoves = true;
    bool HighlightLastMove = true;
    bool HighlightCheck = true;
    bool KeyboardPlay = true;
    // Off: every promotion makes a queen.
    bool ChoosePromotion = true;
    // Every move on the main board said aloud; the one choice that starts off.
    bool SpeakMoves = false;
    // While a screen reader runs, it says the moves and the answers and the program's own
    // speech keeps quiet, unless this is chosen too.
    bool SpeakWithScreenReader = false;
};

// The choices as stored in chesszel.conf (group "Play"); a missing key takes the default
// above.
TPlayChoices ReadPlayChoices();
void WritePlayChoices(const TPlayChoices& c);
void ApplyPlayChoices(TChessBrd& board, const TPlayChoices& c);

// Reads the choices, gives them to the main board and adds the choices, the hint and the
// shortcuts to the window's commands. Called once, after the window is made. The moves are
// spoken through speaker; without one, through the system's text-to-speech, whose engine
// starts with the first move spoken.
void InstallPlayOptions(TForm1& form, std::shared_ptr<TSpeaker> speaker = nullptr);

// The installed command with the given object name ("Hint", "NewGame", ...), for tests.
QAction* PlayCommand(TForm1& form, const QString& name);
