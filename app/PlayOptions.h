#pragma once
// The program's ways of playing on the main board, beyond dragging: its switches (click to
// move, legal targets, last move, check, keyboard play, choosing the promotion piece) kept
// in chesszel.conf, the hint, the context-menu entries for them and the window's keyboard
// shortcuts for the commands of the side panel.

#include <QString>

class QAction;
class TChessBrd;
class TForm1;

struct TPlayChoices {
    bool ClickToMove = true;
    bool ShowLegalMoves = true;
    bool HighlightLastMove = true;
    bool HighlightCheck = true;
    bool KeyboardPlay = true;
    // Off: every promotion makes a queen.
    bool ChoosePromotion = true;
};

// The choices as stored in chesszel.conf (group "Play"); a missing key is on.
TPlayChoices ReadPlayChoices();
void WritePlayChoices(const TPlayChoices& c);
void ApplyPlayChoices(TChessBrd& board, const TPlayChoices& c);

// Reads the choices, gives them to the main board and adds the choices, the hint and the
// shortcuts to the window's commands. Called once, after the window is made.
void InstallPlayOptions(TForm1& form);

// The installed command with the given object name ("Hint", "NewGame", ...), for tests.
QAction* PlayCommand(TForm1& form, const QString& name);
