// Dragging pieces with the mouse: pick-up, threshold, acceptance, drop and cancellation.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>
#include <string>
#include <vector>

#include "ChessBrd.h"

namespace {

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "mouse_drag_test";
    static char* argv[] = {arg0, nullptr};
    static QApplication app(argc, argv);
    return app;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// A window with the board at (10, 20) in it, as the board sits on a panel of a form.
class DragTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App();
        host = std::make_unique<QWidget>();
        host->resize(420, 420);
        board = new TChessBrd(host.get());
        board->move(10, 20);
        board->SetAnimateMoves(true);
        board->AnimationStepHook = [this](int, int) { ++animationSteps; };
        board->OnIllegalMove = [this](TChessGame*, Square q) { Log("illegal " + Name(q)); };
        board->OnLegalMove = [this](TChessGame*, Square a, Square b) {
            Log("legal " + Name(a) + Name(b));
        };
        board->OnStartDrag = [this](TChessBrd*) { Log("start"); };
        board->OnEndDrag = [this](TChessBrd*, QObject* target, int, int) {
            Log(target != nullptr ? "end dropped" : "end cancelled");
        };
        host->show();
    }
    void TearDown() override {
        board = nullptr;
        host.reset();
    }

    static std::string Name(Square q) { return SquareName(q); }
    void Log(const std::string& s) { log.push_back(s); }
    QPoint Centre(Square q) const { return board->SquareTopLeft(q) + QPoint(20, 20); }

    void Press(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
        button = b;
        SendMouse(board, QEvent::MouseButtonPress, at, b, b);
    }
    void MoveTo(QPoint at) { SendMouse(board, QEvent::MouseMove, at, Qt::NoButton, button); }
    void Release(QPoint at) { SendMouse(board, QEvent::MouseButtonRelease, at, button, {}); }
    // A full drag in a few moves, as a hand would make it.
    void Drag(Square from, QPoint to, Qt::MouseButton b = Qt::LeftButton) {
        const QPoint start = Centre(from);
        Press(start, b);
        for (int i = 1; i <= 4; ++i)
            MoveTo(start + (to - start) * i / 4);
        Release(to);
    }
    void Drag(Square from, Square to, Qt::MouseButton b = Qt::LeftButton) {
        Drag(from, Centre(to), b);
    }
    // The picture of one square on the surface.
    QImage SquarePicture(Square q) const {
        return board->Surface().copy(QRect(board->SquareTopLeft(q), QSize(40, 40)));
    }
    QWidget* VisibleOverlay() const {
        for (QWidget* w : host->findChildren<QWidget*>())
            if (w != board && w->isVisible()) return w;
        return nullptr;
    }

    std::unique_ptr<QWidget> host;
    TChessBrd* board = nullptr;
    Qt::MouseButton button = Qt::LeftButton;
    std::vector<std::string> log;
    int animationSteps = 0;
};

using Events = std::vector<std::string>;

} // namespace

TEST_F(DragTest, PressOnEmptySquareOrBorderStartsNoDrag) {
    std::vector<QPoint> downs;
    int clicks = 0;
    board->OnMouseDown = [&](TChessBrd*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        downs.emplace_back(x, y);
    };
    board->OnClick = [&](TChessBrd*) { ++clicks; };
    for (const QPoint at : {Centre(E4), QPoint(5, 5), QPoint(360, 200)}) {
        Press(at);
        MoveTo(at + QPoint(30, 0));
        Release(at + QPoint(30, 0));
    }
    EXPECT_EQ(downs, (std::vector<QPoint>{Centre(E4), QPoint(5, 5), QPoint(360, 200)}));
    EXPECT_EQ(clicks, 2); // the last release is outside the control
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(board->DragFrom(), None);
    EXPECT_EQ(board->PieceAt(E2), 'P');
}

TEST_F(DragTest, ReleaseBeforeFivePixelsCancels) {
    const std::string before = board->Position();
    const QImage e2 = SquarePicture(E2);
    Press(Centre(E2));
    MoveTo(Centre(E2) + QPoint(4, -4));
    EXPECT_EQ(VisibleOverlay(), nullptr);
    Release(Centre(E2) + QPoint(4, -4));
    EXPECT_EQ(log, (Events{"start", "illegal E2", "end cancelled"}));
    EXPECT_EQ(board->Position(), before);
    EXPECT_EQ(SquarePicture(E2), e2);
    EXPECT_EQ(board->DragFrom(), E2);
}

TEST_F(DragTest, LegalDropMakesTheMoveWithoutAnimation) {
    const QImage bareLight = SquarePicture(E4);
    Press(Centre(E2));
    MoveTo(Centre(E2) + QPoint(0, -5)); // the threshold is reached
    // The piece has left its square for the overlay, which is centred on the pointer.
    EXPECT_EQ(SquarePicture(E2), bareLight);
    QWidget* overlay = VisibleOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->pos(), Centre(E2) + QPoint(0, -5) + board->pos() - QPoint(20, 20));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::DragMoveCursor); // E2 itself
    MoveTo(Centre(E5));
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    MoveTo(Centre(E4));
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::DragMoveCursor);
    Release(Centre(E4));

    EXPECT_EQ(log, (Events{"start", "legal E2E4", "end dropped"}));
    EXPECT_EQ(board->PieceAt(E4), 'P');
    EXPECT_EQ(board->DragFrom(), E2);
    EXPECT_EQ(board->DropTo(), E4);
    EXPECT_EQ(animationSteps, 0);
    EXPECT_EQ(VisibleOverlay(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DragTest, DropBackOnItsOwnSquareIsSilent) {
    const QImage e2 = SquarePicture(E2);
    Press(Centre(E2));
    MoveTo(Centre(E2) + QPoint(30, 0));
    EXPECT_NE(SquarePicture(E2), e2); // picked up
    MoveTo(Centre(E2) + QPoint(2, 2));
    Release(Centre(E2) + QPoint(2, 2));
    EXPECT_EQ(log, (Events{"start", "end dropped"}));
    EXPECT_EQ(SquarePicture(E2), e2);
    EXPECT_EQ(board->DropTo(), E2);
    EXPECT_TRUE(board->WhiteToMove());
}

TEST_F(DragTest, RefusedDropsPutThePieceBack) {
    const std::string start = board->Position();
    const QImage e7 = SquarePicture(E7);
    // A piece of the side not to move can be picked up, but not moved.
    Drag(E7, E5);
    EXPECT_EQ(board->Position(), start);
    EXPECT_EQ(SquarePicture(E7), e7);
    // An illegal square, the border, and outside the control.
    Drag(E2, E5);
    Drag(E2, QPoint(5, 200));
    Drag(E2, QPoint(-30, 500));
    EXPECT_EQ(log, (Events{"start", "illegal E7", "end cancelled", "start", "illegal E2",
                           "end cancelled", "start", "illegal E2", "end cancelled", "start",
                           "illegal E2", "end cancelled"}));
    EXPECT_EQ(board->Position(), start);
    EXPECT_EQ(VisibleOverlay(), nullptr);
}

TEST_F(DragTest, RightButtonDragsLikeTheLeft) {
    Drag(G1, F3, Qt::RightButton);
    EXPECT_EQ(log, (Events{"start", "legal G1F3", "end dropped"}));
    EXPECT_EQ(board->PieceAt(F3), 'N');
    // A left release does not end a right-button drag.
    Press(Centre(E7), Qt::RightButton);
    MoveTo(Centre(E5));
    SendMouse(board, QEvent::MouseButtonRelease, Centre(E5), Qt::LeftButton, Qt::RightButton);
    EXPECT_EQ(log.size(), 4u);
    Release(Centre(E5));
    EXPECT_EQ(log.back(), "end dropped");
    EXPECT_EQ(board->PieceAt(E5), 'p');
}

TEST_F(DragTest, EscapeOrALostButtonCancels) {
    Press(Centre(D2));
    MoveTo(Centre(D4));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(board, &escape);
    EXPECT_EQ(log, (Events{"start", "illegal D2", "end cancelled"}));
    EXPECT_EQ(VisibleOverlay(), nullptr);
    // The release after the cancellation is a plain release.
    Release(Centre(D4));
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(board->PieceAt(D2), 'P');

    // A move that arrives without the button held: the release went elsewhere.
    log.clear();
    Press(Centre(D2));
    MoveTo(Centre(D3));
    SendMouse(board, QEvent::MouseMove, Centre(D4), Qt::NoButton, {});
    EXPECT_EQ(log, (Events{"start", "illegal D2", "end cancelled"}));
}

TEST_F(DragTest, EventsComeInTheToolkitOrder) {
    board->OnMouseDown = [this](TChessBrd*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        Log("down");
    };
    board->OnDragOver = [this](TChessBrd*, QObject* source, int, int, TDragState state,
                               bool& accept) {
        EXPECT_EQ(source, board);
        EXPECT_TRUE(accept); // the default with a handler assigned
        accept = false;      // leave the decision to the board
        Log(state == dsDragEnter ? "enter" : state == dsDragMove ? "over" : "leave");
    };
    board->OnDragDrop = [this](TChessBrd*, QObject*, int, int) { Log("drop"); };
    Press(Centre(E2));
    MoveTo(Centre(E3));
    MoveTo(Centre(E4));
    Release(Centre(E4));
    EXPECT_EQ(log, (Events{"down", "start", "enter", "over", "over", "leave", "drop", "legal E2E4",
                           "end dropped"}));

    // Leaving the control and releasing outside it.
    log.clear();
    Press(Centre(E7));
    MoveTo(Centre(E6));
    MoveTo(QPoint(-50, -50));
    Release(QPoint(-50, -50));
    EXPECT_EQ(log,
              (Events{"down", "start", "enter", "over", "leave", "illegal E7", "end cancelled"}));
}

TEST_F(DragTest, DropAcceptedByAHandlerButRefusedByTheRulesRestoresThePiece) {
    // A handler that leaves the default (accept) in place lets every drop through.
    board->OnDragOver = [](TChessBrd*, QObject*, int, int, TDragState, bool&) {};
    const std::string start = board->Position();
    const QImage e2 = SquarePicture(E2);
    Drag(E2, E5);
    EXPECT_EQ(log, (Events{"start", "end dropped"}));
    EXPECT_EQ(board->Position(), start);
    EXPECT_EQ(SquarePicture(E2), e2);
}

TEST_F(DragTest, DropsAreRefusedWhileTheComputerThinks) {
    board->SetSearchDepth(8);
    board->SetComputerPlaysWhite(true);
    QElapsedTimer t;
    t.start();
    while (!board->Thinking() && t.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!board->Thinking()) GTEST_SKIP() << "the computer did not start thinking";
    const QImage e2 = SquarePicture(E2);
    Drag(E2, E4);
    const bool stillThinking = board->Thinking();
    Drag(E2, Centre(E2) + QPoint(3, 9)); // back on its own square
    if (!stillThinking || !board->Thinking()) GTEST_SKIP() << "the search ended too early";
    EXPECT_EQ(log, (Events{"start", "illegal E2", "end cancelled", "start", "illegal E2",
                           "end cancelled"}));
    EXPECT_EQ(SquarePicture(E2), e2);
    board->SetComputerPlaysWhite(false);
}
