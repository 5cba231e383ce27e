#pragma once
// TPromotionChooser is the small column of four pieces (queen, rook, bishop, knight) shown
// over the promotion square, on top of the board. Choose shows it and waits, with its own
// event loop, until a piece is chosen by a click, by the arrow keys and Enter, or by its
// letter; Escape, a click elsewhere or the board going away chooses the queen.

#include <QWidget>

class TChessBrd;
class QEventLoop;
class QToolButton;

class TPromotionChooser : public QWidget {
    Q_OBJECT

  public:
    // The chooser for a pawn of the given colour promoting on square q of board.
    TPromotionChooser(TChessBrd* board, int q, bool white);
    ~TPromotionChooser() override;

    // Shows the chooser and returns the chosen letter in lower case ("q", "r", "b", "n").
    char Exec();
    // The letters in the order shown, from the promotion square towards the board's middle.
    static constexpr char kLetters[4] = {'q', 'r', 'b', 'n'};
    int Current() const { return FCurrent; }
    QToolButton* Button(int i) const { return FButtons[i]; }

    // Shows a chooser for the move's pawn and returns its choice.
    static char Choose(TChessBrd* board, int q, bool white);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void Finish(int index);
    void SetCurrent(int index);

    QToolButton* FButtons[4] = {};
    QEventLoop* FLoop = nullptr;
    int FCurrent = 0;
    int FChosen = -1;
};
