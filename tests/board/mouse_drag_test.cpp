// Dragging pieces with the mouse, and resizing the board by its corner.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QKeyEvent>

#include <memory>
#include <string>
#include <vector>

#include "render_support.h"

namespace {

using Events = std::vector<std::string>;

// A window with the board at (10, 20) in it; the board's events are logged.
class DragTest : public BoardInWindowTest {
  protected:
    void SetUp() override {
        MakeBoard();
        b->move(10, 20);
        b->OnIllegalMove = [this](TChessGame*, Square q) { Log("illegal " + Name(q)); };
        b->OnLegalMove = [this](TChessGame*, Square x, Square y) {
            Log("legal " + Name(x) + Name(y));
        };
        b->OnStartDrag = [this](TChessBrd*) { Log("start"); };
        b->OnEndDrag = [this](TChessBrd*, QObject* target, int, int) {
            Log(target != nullptr ? "end dropped" : "end cancelled");
        };
        host->show();
    }
    static std::string Name(Square q) { return SquareName(q); }
    void Log(const std::string& s) { log.push_back(s); }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        held = button;
        SendMouse(b, QEvent::MouseButtonPress, at, button, button);
    }
    void MoveTo(QPoint at) { SendMouse(b, QEvent::MouseMove, at, Qt::NoButton, held); }
    void Release(QPoint at) { SendMouse(b, QEvent::MouseButtonRelease, at, held, {}); }
    void Drag(Square from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        Press(Centre(*b, from), button);
        MoveTo((Centre(*b, from) + to) / 2);
        MoveTo(to);
        Release(to);
    }
    void Drag(Square from, Square to) { Drag(from, Centre(*b, to)); }
    QWidget* VisibleOverlay() const {
        for (QWidget* w : host->findChildren<QWidget*>())
            if (w != b && w->isVisible()) return w;
        return nullptr;
    }

    Qt::MouseButton held = Qt::LeftButton;
    Events log;
};

} // namespace

TEST_F(DragTest, PressesThatStartNoDragOrNeverPassTheThreshold) {
    int downs = 0, clicks = 0;
    b->OnMouseDown = [&](TChessBrd*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    b->OnClick = [&](TChessBrd*) { ++clicks; };
    for (const QPoint at : {Centre(*b, E4), QPoint(5, 5)}) { // empty square, border
        Press(at);
        MoveTo(at + QPoint(30, 0));
        Release(at + QPoint(30, 0));
    }
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(log.empty());

    const QImage e2 = SquarePicture(*b, E2);
    Press(Centre(*b, E2));
    MoveTo(Centre(*b, E2) + QPoint(4, -4));
    EXPECT_EQ(VisibleOverlay(), nullptr);
    Release(Centre(*b, E2) + QPoint(4, -4));
    EXPECT_EQ(log, (Events{"start", "illegal E2", "end cancelled"}));
    EXPECT_EQ(SquarePicture(*b, E2), e2);
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(clicks, 2); // a press that began a drag makes no click
}

TEST_F(DragTest, LegalDropMakesTheMoveWithoutAnimation) {
    int steps = 0;
    b->AnimationStepHook = [&](int, int) { ++steps; };
    const QImage bareLight = SquarePicture(*b, E4);
    Press(Centre(*b, E2));
    MoveTo(Centre(*b, E2) + QPoint(0, -5));
    // The piece has left its square for the overlay, centred on the pointer.
    EXPECT_EQ(SquarePicture(*b, E2), bareLight);
    ASSERT_NE(VisibleOverlay(), nullptr);
    EXPECT_EQ(VisibleOverlay()->pos(), Centre(*b, E2) + QPoint(-20, -25) + b->pos());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::DragMoveCursor);
    MoveTo(Centre(*b, E5));
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    MoveTo(Centre(*b, E4));
    Release(Centre(*b, E4));
    EXPECT_EQ(log, (Events{"start", "legal E2E4", "end dropped"}));
    EXPECT_EQ(b->DropTo(), E4);
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(VisibleOverlay(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DragTest, RefusedDropsPutThePieceBackAndOwnSquareIsSilent) {
    const std::string start = b->Position();
    const QImage e2 = SquarePicture(*b, E2);
    Drag(E2, Centre(*b, E2) + QPoint(3, 9)); // its own square: silent
    Drag(E7, E5);                            // the side not to move
    Drag(E2, E5);                            // an illegal square
    Drag(E2, QPoint(5, 200));                // the border
    Drag(E2, QPoint(-30, 500));              // outside the control
    EXPECT_EQ(log, (Events{"start", "end dropped", "start", "illegal E7", "end cancelled", "start",
                           "illegal E2", "end cancelled", "start", "illegal E2", "end cancelled",
                           "start", "illegal E2", "end cancelled"}));
    EXPECT_EQ(b->Position(), start);
    EXPECT_EQ(SquarePicture(*b, E2), e2);
}

TEST_F(DragTest, RightButtonEscapeAndALostButton) {
    Drag(G1, Centre(*b, F3), Qt::RightButton);
    EXPECT_EQ(b->PieceAt(F3), 'N');
    Press(Centre(*b, D7));
    MoveTo(Centre(*b, D5));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(host.get(), &escape); // wherever the focus is
    Press(Centre(*b, D7));
    MoveTo(Centre(*b, D6));
    SendMouse(b, QEvent::MouseMove, Centre(*b, D5), Qt::NoButton, {}); // released elsewhere
    EXPECT_EQ(log, (Events{"start", "legal G1F3", "end dropped", "start", "illegal D7",
                           "end cancelled", "start", "illegal D7", "end cancelled"}));
    EXPECT_EQ(VisibleOverlay(), nullptr);
}

TEST_F(DragTest, HandlersComeFirstAndAcceptedButRefusedDropsRestoreThePiece) {
    b->OnDragOver = [this](TChessBrd*, QObject* source, int, int, TDragState state, bool& accept) {
        EXPECT_EQ(source, b);
        EXPECT_TRUE(accept); // the default once a handler is assigned
        Log(state == dsDragEnter ? "enter" : state == dsDragMove ? "over" : "leave");
    };
    b->OnDragDrop = [this](TChessBrd*, QObject*, int, int) { Log("drop"); };
    const QImage e2 = SquarePicture(*b, E2);
    Drag(E2, E5); // accepted by the handler's default, refused by the rules
    EXPECT_EQ(log, (Events{"start", "enter", "over", "over", "leave", "drop", "end dropped"}));
    EXPECT_EQ(SquarePicture(*b, E2), e2);
    EXPECT_EQ(b->PieceAt(E5), ' ');
}

TEST_F(DragTest, DropsAreRefusedWhileTheComputerThinks) {
    b->SetSearchDepth(8);
    b->SetComputerPlaysWhite(true);
    QElapsedTimer t;
    t.start();
    while (!b->Thinking() && t.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!b->Thinking()) GTEST_SKIP() << "the computer did not start thinking";
    Drag(E2, E4);
    Drag(E2, Centre(*b, E2) + QPoint(3, 9));
    if (!b->Thinking()) GTEST_SKIP() << "the search ended too early";
    EXPECT_EQ(log, (Events{"start", "illegal E2", "end cancelled", "start", "illegal E2",
                           "end cancelled"}));
    b->SetComputerPlaysWhite(false);
}

TEST_F(DragTest, CornerResizeWithinTheClamps) {
    const auto hover = [this](QPoint at) { SendMouse(b, QEvent::MouseMove, at, Qt::NoButton, {}); };
    b->setCursor(Qt::PointingHandCursor);
    hover(QPoint(362, 362));
    EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor); // not resizable
    b->SetResizable(true);
    b->SetResizeMaxSize(400);
    hover(QPoint(358, 368));
    EXPECT_EQ(b->cursor().shape(), Qt::SizeFDiagCursor);
    hover(QPoint(357, 365));
    EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor);
    Press(QPoint(365, 365));
    MoveTo(QPoint(366, 366));
    for (int i = 0; i < 20; ++i) // the size rule squares the board at each repaint
        MoveTo(QPoint(900, 10));
    EXPECT_LE(b->Width(), 400);
    EXPECT_GE(b->Width(), 392); // the averaging stops short of a last single square
    EXPECT_EQ(b->Height(), b->Width());
    for (int i = 0; i < 20; ++i)
        MoveTo(QPoint(-40, 20));
    // Not 100, which the size rule would round down to 96, but the next whole-square size.
    EXPECT_EQ(b->Width(), 104);
    Release(QPoint(-40, 20));
    MoveTo(QPoint(500, 500));
    EXPECT_EQ(b->Width(), 104);
}
