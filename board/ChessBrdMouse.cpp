// Mouse handling of the board control: picking up a piece, the deferred drag with its
// drag-overs, the drop or the cancellation, and resizing by the bottom-right corner.
//
// The drag protocol is the control's own: a press on a piece makes the drag pending; it
// becomes active once the pointer has moved 5 pixels; while it runs it owns the mouse, so
// the plain mouse events (OnMouseMove, OnMouseUp, OnClick) are not raised for it.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>

#include "ChessBrd.h"
#include "DragImage.h"

namespace {

constexpr int kDragThreshold = 5;
constexpr int kCornerZone = 10;

QPoint EventPos(const QMouseEvent* e) {
    return e->position().toPoint();
}

bool IsSizingCursor(Qt::CursorShape shape) {
    return shape == Qt::SizeVerCursor || shape == Qt::SizeFDiagCursor || shape == Qt::SizeHorCursor;
}

} // namespace

// What a drag holds while it runs: Escape ends it wherever the keyboard focus is (the key is
// consumed), and the pointer shows the drag cursor. Made at the press and dropped when the
// drag ends; if the board goes away in mid-drag, the cursor is given back all the same.
class TChessBrd::TDragSession : public QObject {
  public:
    explicit TDragSession(TChessBrd* board) : QObject(board), FBoard(board) {
        qApp->installEventFilter(this);
    }
    ~TDragSession() override { HideCursor(); }
    void ShowCursor(const QCursor& shape) {
        if (FCursorShown) {
            QGuiApplication::changeOverrideCursor(shape);
        } else {
            QGuiApplication::setOverrideCursor(shape);
            FCursorShown = true;
        }
    }
    void HideCursor() {
        if (FCursorShown) QGuiApplication::restoreOverrideCursor();
        FCursorShown = false;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
            FBoard->FinishDrag(false, FBoard->FLastDragPos);
            return true;
        }
        return QObject::eventFilter(watched, e);
    }

  private:
    TChessBrd* FBoard;
    bool FCursorShown = false;
};

Square TChessBrd::SquareAtPoint(int x, int y) const {
    const int s = FSizeOfSquare;
    // 1.
    const int dx = x - BoardLeft();
    const int dy = y - BoardTop();
    // 2.
    if (s <= 0 || dx < 0 || dx >= 8 * s || dy < 0 || dy >= 8 * s) return None;
    // 3.
    int column = std::min(dx / s, 7);
    int row = std::min(dy / s, 7);
    // 4.
    if (FWhiteOnTop) {
        column = 7 - column;
        row = 7 - row;
    }
    // 5.
    return Square(row * 8 + column + 1);
}

// --- The overlay -------------------------------------------------------------------------------

// The overlay lives on the parent window, above the board and its siblings; a board without
// a parent carries it itself. It is made again when the board has moved to another parent.
TDragImage* TChessBrd::Overlay() {
    QWidget* host = parentWidget() != nullptr ? parentWidget() : this;
    if (FDragImage != nullptr && FDragImage->parentWidget() != host) {
        delete FDragImage;
        FDragImage = nullptr;
    }
    if (FDragImage == nullptr) {
        FDragImage = new TDragImage(host);
        connect(FDragImage, &QObject::destroyed, this, [this] { FDragImage = nullptr; });
        connect(this, &QObject::destroyed, FDragImage, &QObject::deleteLater);
    }
    return FDragImage;
}

// The control's own point (x, y) is (x + Left, y + Top) on the parent window.
QPoint TChessBrd::OverlayOrigin() const {
    return parentWidget() != nullptr ? pos() : QPoint(0, 0);
}

// --- Mouse press, move and release ---------------------------------------------------------------

void TChessBrd::mousePressEvent(QMouseEvent* e) {
    const QPoint at = EventPos(e);
    if (OnMouseDown) OnMouseDown(this, e->button(), e->modifiers(), at.x(), at.y());
    // A second button during a drag belongs to that drag.
    if (FDragPhase != TDragPhase::Idle) return;
    // 1.
    const Square q = SquareAtPoint(at.x(), at.y());
    // A piece picked up by a click goes where the next left click points, unless that is a
    // piece of its own side, which a click picks up instead.
    if (FClickToMove && FPicked != None && e->button() == Qt::LeftButton && q != None &&
        q != FPicked && !IsSideToMove(q)) {
        FClicked = false;
        PlayPickedTo(q, at);
        return;
    }
    // 2-3. Any button, either side's pieces, also while the computer thinks.
    if (q != None && PieceAt(q) != ' ') {
        FDragFrom = q;
        FClicked = false;
        StartDeferredDrag(at, e->button());
        return;
    }
    FClicked = e->button() == Qt::LeftButton;
}

void TChessBrd::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
    // The second press of a double click is a press like any other.
    mousePressEvent(e);
}

void TChessBrd::mouseMoveEvent(QMouseEvent* e) {
    if (FDragPhase != TDragPhase::Idle) {
        DragMouseMove(e);
        return;
    }
    const QPoint at = EventPos(e);
    if (OnMouseMove) OnMouseMove(this, e->modifiers(), at.x(), at.y());
    ResizeMouseMove(e);
}

void TChessBrd::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint at = EventPos(e);
    if (FDragPhase != TDragPhase::Idle) {
        if (e->button() != FDragButton) return;
        // A left click on a piece of the side to move picks it up, or puts it down; not one
        // of the computer's while it thinks.
        if (FClickToMove && FDragPhase == TDragPhase::Pending && FDragButton == Qt::LeftButton &&
            IsSideToMove(FDragFrom) && !ComputerThinking()) {
            FinishDrag(false, at, true);
            return;
        }
        // A drag that never became active ends as cancelled.
        bool accepted = false;
        if (FDragPhase == TDragPhase::Active && rect().contains(at))
            accepted = DoDragOver(at, dsDragLeave);
        FinishDrag(accepted, at);
        return;
    }
    if (e->button() == Qt::LeftButton && FClicked) {
        FClicked = false;
        if (rect().contains(at) && OnClick) OnClick(this);
    }
    if (OnMouseUp) OnMouseUp(this, e->button(), e->modifiers(), at.x(), at.y());
    FResizing = false;
}

void TChessBrd::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    if (FDragPhase != TDragPhase::Idle) FinishDrag(false, FLastDragPos);
    UpdateMarks(); // the focus square is drawn only while the board has the focus
}

// A window that loses activation loses the mouse with it.
void TChessBrd::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // A disabled board shows no focus square.
    if (e->type() == QEvent::EnabledChange) UpdateMarks();
    if (e->type() == QEvent::ActivationChange && !isActiveWindow() &&
        FDragPhase != TDragPhase::Idle)
        FinishDrag(false, FLastDragPos);
}

// --- The drag ----------------------------------------------------------------------------------

void TChessBrd::StartDeferredDrag(QPoint pos, Qt::MouseButton button) {
    FDragPhase = TDragPhase::Pending;
    FDragButton = button;
    FPressPos = pos;
    FLastDragPos = pos;
    FDragOverBoard = false;
    delete FDragSession;
    FDragSession = new TDragSession(this);
    if (OnStartDrag) OnStartDrag(this);
    UpdateMarks();
}

void TChessBrd::DragMouseMove(QMouseEvent* e) {
    const QPoint at = EventPos(e);
    // The release went elsewhere: the mouse is lost to the drag.
    if (!(e->buttons() & FDragButton)) {
        FinishDrag(false, at);
        return;
    }
    if (FDragPhase == TDragPhase::Pending) {
        const QPoint moved = at - FPressPos;
        if (std::abs(moved.x()) < kDragThreshold && std::abs(moved.y()) < kDragThreshold) return;
        FDragPhase = TDragPhase::Active;
        FPicked = None; // the drag takes over from a click's pick-up
    }
    DragTo(at);
}

// Drag-overs reach the control only while the pointer is over it: entering, moving within,
// and leaving it each make one.
void TChessBrd::DragTo(QPoint pos) {
    const bool over = rect().contains(pos);
    if (over != FDragOverBoard) {
        if (FDragOverBoard) DoDragOver(FLastDragPos, dsDragLeave);
        FDragOverBoard = over;
        if (over) DoDragOver(pos, dsDragEnter);
    }
    bool accept = false;
    if (over) {
        accept = DoDragOver(pos, dsDragMove);
        FLastDragPos = pos;
    }
    if (FDragSession != nullptr)
        FDragSession->ShowCursor(accept ? FDragCursor : QCursor(Qt::ForbiddenCursor));
}

bool TChessBrd::DoDragOver(QPoint pos, TDragState state) {
    // 1. The toolkit's default: refuse, unless a handler is there to decide.
    bool accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, this, pos.x(), pos.y(), state, accept);
    }
    // 2.
    const Square q = SquareAtPoint(pos.x(), pos.y());
    const int h = FSizeOfSquare / 2;
    const QPoint corner = pos + OverlayOrigin() - QPoint(h, h);
    TDragImage* overlay = Overlay();
    // 3. First drag-over of this drag: the piece leaves its square for the overlay.
    if (!overlay->Active()) {
        RepaintSquare(FDragFrom);
        DrawGridLines();
        overlay->SetImage(PieceImage(PieceAt(FDragFrom)));
        overlay->BeginDrag(corner);
        overlay->DragShow(true);
    }
    // 4. A piece image as large as a square is centred on the pointer.
    overlay->DragMove(corner);
    // 5. Whichever engine plays the side to move, its pieces are its own while it thinks.
    if (!ComputerThinking() && (IsLegalMove(FDragFrom, q) || q == FDragFrom)) accept = true;
    return accept;
}

void TChessBrd::FinishDrag(bool accepted, QPoint pos, bool pickUp) {
    FDragPhase = TDragPhase::Idle;
    FDragButton = Qt::NoButton;
    FDragOverBoard = false;
    if (FDragSession != nullptr) {
        // The session may be the caller (Escape): it goes once control is back in the loop,
        // and it leaves the events alone from now on.
        qApp->removeEventFilter(FDragSession);
        FDragSession->HideCursor();
        FDragSession->deleteLater();
        FDragSession = nullptr;
    }
    if (accepted) {
        if (OnDragDrop) OnDragDrop(this, this, pos.x(), pos.y());
        DragDrop(pos);
    } else if (pickUp) {
        // The press never became a drag: no drag-over lifted the piece off its square.
        PickUp(FDragFrom);
    } else {
        DragCanceled();
    }
    if (OnEndDrag) OnEndDrag(this, accepted ? this : nullptr, pos.x(), pos.y());
    UpdateMarks();
}

void TChessBrd::DragDrop(QPoint pos) {
    // 1.
    if (FDragImage != nullptr && FDragImage->Active()) FDragImage->EndDrag();
    // 2.
    const Square q = SquareAtPoint(pos.x(), pos.y());
    FDropTo = q;
    // 3. Not animated: the move's squares are (DragFrom, DropTo).
    if (q != FDragFrom) {
        // A drop accepted by an OnDragOver handler may still be refused by the rules; the
        // piece, erased when the drag began, goes back on its square.
        if (!PlayerMove(FDragFrom, q)) DrawPieceAt(FDragFrom, PieceAt(FDragFrom));
        return;
    }
    // 4. Back on its own square, without an event.
    DrawPieceAt(FDragFrom, PieceAt(FDragFrom));
}

void TChessBrd::DragCanceled() {
    // 1.
    if (FDragImage != nullptr) FDragImage->EndDrag();
    // 2.
    DrawPieceAt(FDragFrom, PieceAt(FDragFrom));
    // 3.
    if (OnIllegalMove) OnIllegalMove(this, FDragFrom);
}

// --- Corner resizing -----------------------------------------------------------------------------

void TChessBrd::ResizeMouseMove(QMouseEvent* e) {
    const QPoint at = EventPos(e);
    const int x = at.x(), y = at.y();
    // 1.
    if (!IsSizingCursor(cursor().shape())) FSavedCursor = cursor();
    // 2.
    const int w = Width(), h = Height();
    if (FResizable && w - kCornerZone <= x && x <= w && h - kCornerZone <= y && y <= h) {
        setCursor(Qt::SizeFDiagCursor);
        if (e->buttons() & Qt::LeftButton) FResizing = true;
    } else if (FResizable && !FResizing) {
        // 3.
        setCursor(FSavedCursor);
    }
    // 4. Only the width; the size rule squares the control at the next repaint.
    if (FResizable && FResizing) {
        int v = std::max(x, y);
        if (v < SmallestResize()) v = SmallestResize();
        if (v > FResizeMaxSize) v = FResizeMaxSize;
        if (v != w) SetWidth(v);
    }
}

// The size rule rounds a width down to whole squares, so ResizeMinSize itself could end
// a few pixels below the minimum; the lower clamp is the first whole-square size at or
// above it instead.
int TChessBrd::SmallestResize() const {
    const int border = 2 * FSizeOfBorder;
    const int squares = std::max(1, (FResizeMinSize - border + 7) / 8);
    return 8 * squares + border;
}
