// Playing without dragging: picking a piece up with a click or a key, playing it with a
// second one, and the keyboard's focus square moved by the arrow keys.

#include <QKeyEvent>

#include "ChessBrd.h"

bool TChessBrd::IsSideToMove(Square q) const {
    return PieceColor(q) == (FWhiteToMove ? 1 : 0);
}

void TChessBrd::SetClickToMove(bool v) {
    FClickToMove = v;
    if (!v && FPicked != None) {
        FPicked = None;
        UpdateMarks();
    }
    UpdateFocusPolicy();
}

void TChessBrd::SetKeyboardPlay(bool v) {
    FKeyboardPlay = v;
    UpdateFocusPolicy();
    UpdateMarks();
}

// Keyboard play takes the focus by Tab and by click; picking up by click takes it by click,
// so that Escape reaches the board. Otherwise the policy is whatever it was before.
void TChessBrd::UpdateFocusPolicy() {
    if (!FFocusPolicySaved) {
        FPlainFocusPolicy = focusPolicy();
        FFocusPolicySaved = true;
    }
    if (FKeyboardPlay)
        setFocusPolicy(Qt::StrongFocus);
    else if (FClickToMove && FPlainFocusPolicy == Qt::NoFocus)
        setFocusPolicy(Qt::ClickFocus);
    else
        setFocusPolicy(FPlainFocusPolicy);
}

void TChessBrd::SetFocusSquare(Square q) {
    if (q < A8 || q > H1) return;
    FFocusSquare = q;
    UpdateMarks();
    AnnounceFocus();
}

// Picks the piece on q up, or puts it down when it is the one held.
void TChessBrd::PickUp(Square q) {
    FPicked = FPicked == q ? None : q;
    UpdateMarks();
}

void TChessBrd::ActivateSquare(Square q) {
    if (q < A8 || q > H1) return;
    if (FPicked == None) {
        // The computer's pieces are not the person's to pick up while it thinks.
        if (IsSideToMove(q) && ComputerThinking()) {
            if (OnIllegalMove) OnIllegalMove(this, q);
        } else if (IsSideToMove(q)) {
            PickUp(q);
        }
        return;
    }
    if (q == FPicked || IsSideToMove(q)) {
        PickUp(q);
        return;
    }
    const QPoint centre = SquareRect(q).center();
    PlayPickedTo(q, centre);
}

// The piece held goes to q the way a drop would: OnDragOver and the rules decide, and a
// refused target leaves the piece held. Unlike a drop, the piece slides there.
void TChessBrd::PlayPickedTo(Square q, QPoint at) {
    const Square from = FPicked;
    bool accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, this, at.x(), at.y(), dsDragLeave, accept);
    }
    if (!ComputerThinking() && IsLegalMove(from, q)) accept = true;
    FDragFrom = from;
    FDropTo = None;
    if (accept && PlayerMove(from, q)) {
        FPicked = None;
        UpdateMarks();
        return;
    }
    if (OnIllegalMove) OnIllegalMove(this, from);
}

// Arrow keys move the focus square on the screen, so they follow the orientation.
bool TChessBrd::MoveFocus(int key) {
    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        return false;
    }
    if (FWhiteOnTop) {
        dx = -dx;
        dy = -dy;
    }
    const Square at = FFocusSquare >= A8 && FFocusSquare <= H1 ? FFocusSquare : E2;
    const int column = (at - 1) % 8 + dx;
    const int row = (at - 1) / 8 + dy;
    if (column >= 0 && column < 8 && row >= 0 && row < 8)
        SetFocusSquare(Square(row * 8 + column + 1));
    return true;
}

void TChessBrd::keyPressEvent(QKeyEvent* e) {
    if (FDragPhase != TDragPhase::Idle) {
        if (e->key() == Qt::Key_Escape)
            FinishDrag(false, FLastDragPos);
        else
            QWidget::keyPressEvent(e);
        return;
    }
    if (e->key() == Qt::Key_Escape && FPicked != None) {
        PickUp(FPicked);
        return;
    }
    const int k = e->key();
    if (AskByKey(e)) return;
    const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (FKeyboardPlay && plain) {
        if (MoveFocus(k)) return;
        if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space) {
            if (FFocusSquare == None) FFocusSquare = E2;
            ActivateSquare(FFocusSquare);
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

void TChessBrd::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    if (FKeyboardPlay && FFocusSquare == None) FFocusSquare = FWhiteToMove ? E2 : E7;
    UpdateMarks();
}
