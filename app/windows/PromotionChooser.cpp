#include "PromotionChooser.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>

#include "ChessBrd.h"

namespace {

const char* const kNames[4] = {"Queen", "Rook", "Bishop", "Knight"};

} // namespace

TPromotionChooser::TPromotionChooser(TChessBrd* board, int q, bool white)
    : QWidget(board->window()) {
    setObjectName("PromotionChooser");
    setAccessibleName("Promote the pawn to");
    setFocusPolicy(Qt::StrongFocus);
    const int s = board->SizeOfSquare();
    // The column runs from the promotion square towards the middle of the board.
    const QPoint corner = board->mapTo(window(), board->SquareTopLeft(Square(q)));
    const bool down = board->SquareTopLeft(Square(q)).y() < board->height() / 2;
    setGeometry(corner.x(), down ? corner.y() : corner.y() - 3 * s, s, 4 * s);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(this);
        const char letter = white ? char(kLetters[i] - 32) : kLetters[i];
        const QImage picture = board->PieceImage(letter);
        button->setIcon(QIcon(QPixmap::fromImage(picture)));
        // In logical pixels: a piece of a 2x set is as large as its 1x picture.
        button->setIconSize(picture.deviceIndependentSize().toSize());
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAccessibleName(kNames[i]);
        button->setToolTip(kNames[i]);
        const int row = down ? i : 3 - i;
        button->setGeometry(0, row * s, s, s);
        connect(button, &QToolButton::clicked, this, [this, i] { Finish(i); });
        FButtons[i] = button;
    }
    SetCurrent(0);
}

TPromotionChooser::~TPromotionChooser() {
    qApp->removeEventFilter(this);
}

char TPromotionChooser::Choose(TChessBrd* board, int q, bool white) {
    TPromotionChooser chooser(board, q, white);
    return chooser.Exec();
}

char TPromotionChooser::Exec() {
    raise();
    show();
    setFocus(Qt::PopupFocusReason);
    // Like a modal window: the rest of the program hears no clicks, keys or shortcuts until
    // a piece is chosen, since the move that promotes is still being made.
    qApp->installEventFilter(this);
    QEventLoop loop;
    FLoop = &loop;
    if (FChosen < 0) loop.exec();
    FLoop = nullptr;
    qApp->removeEventFilter(this);
    hide();
    return kLetters[FChosen < 0 ? 0 : FChosen];
}

void TPromotionChooser::Finish(int index) {
    if (FChosen >= 0) return;
    FChosen = index;
    if (FLoop != nullptr) FLoop->quit();
}

void TPromotionChooser::SetCurrent(int index) {
    FCurrent = (index + 4) % 4;
    for (int i = 0; i < 4; ++i)
        FButtons[i]->setDown(i == FCurrent);
    update();
}

void TPromotionChooser::keyPressEvent(QKeyEvent* e) {
    // The buttons stand from the promotion square inwards; the arrow keys follow the screen.
    const bool down = FButtons[1]->y() > FButtons[0]->y();
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        SetCurrent(FCurrent + (down ? -1 : 1));
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_Tab:
        SetCurrent(FCurrent + (down ? 1 : -1));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Finish(FCurrent);
        return;
    case Qt::Key_Escape:
    case Qt::Key_Q:
        Finish(0);
        return;
    case Qt::Key_R:
        Finish(1);
        return;
    case Qt::Key_B:
        Finish(2);
        return;
    case Qt::Key_N:
        Finish(3);
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void TPromotionChooser::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(250, 246, 235, 235));
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // The current piece for the keyboard.
    const QRect r = FButtons[FCurrent]->geometry().adjusted(1, 1, -2, -2);
    p.setPen(QPen(QColor(30, 110, 255), 2));
    p.drawRect(r);
}

bool TPromotionChooser::eventFilter(QObject* watched, QEvent* e) {
    // No command runs by its shortcut, whatever it belongs to: the key comes as a key.
    if (e->type() == QEvent::ShortcutOverride) {
        e->accept();
        return true;
    }
    if (e->type() == QEvent::Shortcut) return true;
    // Input reaches a window first and its widgets after; only the widgets are judged, or
    // the chooser's own buttons would never hear the mouse.
    auto* w = qobject_cast<QWidget*>(watched);
    if (w == nullptr) return false;
    const bool inside = w == this || isAncestorOf(w);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A click elsewhere chooses the queen, as Escape does, and goes no further.
        if (!inside) Finish(0);
        return !inside;
    case QEvent::MouseButtonRelease:
    case QEvent::ContextMenu:
    case QEvent::Wheel:
        return !inside;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (!inside) {
            // Keys go to the chooser wherever the focus was.
            if (e->type() == QEvent::KeyPress) keyPressEvent(static_cast<QKeyEvent*>(e));
            return true;
        }
        return false;
    case QEvent::Close:
        if (watched == window()) Finish(0);
        return false;
    default:
        return false;
    }
}
