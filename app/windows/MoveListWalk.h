#pragma once
// TMoveListWalk makes the move list a way through the game: a click on a line, or Up, Down,
// Home, End, Page Up and Page Down while the list has the focus, go to the position after
// that line's half-move, and the list marks the line of the half-move that led to the
// position shown. The list's lines stay as the rules write them; which half-move a line
// is, is read from its format.

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QListWidget;
class TChessGame;

// A half-move as the rules number it: the move number and whether it is White's.
struct THalfMove {
    int Move = 1;
    bool White = true;
    friend bool operator==(const THalfMove&, const THalfMove&) = default;
};

// The half-move a line of the move list shows: "12. E2-E4" is White's half-move of move 12,
// and a line of 14 spaces and a move is Black's half-move of the move on the line above.
// Blank lines and the lines of a result show none.
std::optional<THalfMove> HalfMoveOfLine(const QStringList& lines, int row);
// The line of the last half-move played before the position of (move, whiteToMove): -1 for
// the first position of a game, and when no line shows that half-move.
int LineOfPosition(const QStringList& lines, int move, bool whiteToMove);

class TMoveListWalk : public QObject {
  public:
    // goTo puts the position of (move, whiteToMove) on the board, as the window's commands
    // do; false when it cannot.
    using TGoTo = std::function<bool(int move, bool whiteToMove)>;
    TMoveListWalk(QListWidget* list, const TChessGame* game, TGoTo goTo);

    // Marks the line of the position on the board: the list's current line while the list
    // has the focus (so it is announced), otherwise only its selection.
    void MarkCurrentMove();
    // Goes to the position after the line's half-move; a blank or result line stands for the
    // move line above it. The mark follows the board. False when the board did not move.
    bool GoToLine(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QStringList Lines() const;
    bool Key(int key);
    int LastMoveLine(const QStringList& lines) const;

    QListWidget* FList;
    const TChessGame* FGame;
    TGoTo FGoTo;
};
