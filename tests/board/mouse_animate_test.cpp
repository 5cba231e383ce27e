// Move animation: the overlay's path and pacing, and which moves are animated.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <memory>
#include <string>
#include <vector>

#include "ChessBrd.h"

namespace {

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "mouse_animate_test";
    static char* argv[] = {arg0, nullptr};
    static QApplication app(argc, argv);
    return app;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// The board at (-7, -7) on its window, as the main window lays it out.
class AnimateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App();
        host = std::make_unique<QWidget>();
        host->resize(400, 400);
        board = new TChessBrd(host.get());
        board->move(-7, -7);
        board->AnimationStepHook = [this](int x, int y) {
            steps.emplace_back(x, y);
            overlayAt.push_back(OverlayPos());
        };
        host->show();
    }
    void TearDown() override {
        board = nullptr;
        host.reset();
    }
    QWidget* Overlay() const {
        for (QWidget* w : host->findChildren<QWidget*>())
            if (w != board) return w;
        return nullptr;
    }
    QPoint OverlayPos() const {
        const QWidget* o = Overlay();
        return o != nullptr && o->isVisible() ? o->pos() : QPoint(-1000, -1000);
    }
    QPoint Centre(Square q) const { return board->SquareTopLeft(q) + QPoint(20, 20); }

    std::unique_ptr<QWidget> host;
    TChessBrd* board = nullptr;
    std::vector<QPoint> steps;
    std::vector<QPoint> overlayAt;
};

} // namespace

TEST_F(AnimateTest, KnightGoesAlongItsRowThenItsColumn) {
    ASSERT_TRUE(board->MakeMove(B1, C3));
    ASSERT_EQ(steps.size(), 41u + 81u);
    for (int i = 0; i <= 40; ++i)
        ASSERT_EQ(steps[std::size_t(i)], QPoint(64 + i, 304)) << i;
    for (int i = 0; i <= 80; ++i)
        ASSERT_EQ(steps[std::size_t(41 + i)], QPoint(104, 304 - i)) << i;
    // The overlay is placed in its window's coordinates and is gone afterwards.
    EXPECT_EQ(overlayAt.front(), QPoint(64 - 7, 304 - 7));
    EXPECT_EQ(overlayAt.back(), QPoint(104 - 7, 224 - 7));
    EXPECT_FALSE(Overlay()->isVisible());
    EXPECT_EQ(board->PieceAt(C3), 'N');
}

TEST_F(AnimateTest, OtherPiecesSlideStraight) {
    board->SetPosition("k" + std::string(55, ' ') + "R   K   ");
    ASSERT_TRUE(board->MakeMove(A1, A7));
    ASSERT_EQ(steps.size(), 241u);
    for (std::size_t i = 0; i < steps.size(); ++i)
        ASSERT_EQ(steps[i], QPoint(24, 304 - int(i)));

    // The full file: 281 steps straight up.
    steps.clear();
    board->SetPosition(std::string(56, ' ') + "R   K  k");
    board->SetWhiteToMove(true);
    ASSERT_TRUE(board->MakeMove(A1, A8));
    ASSERT_EQ(steps.size(), 281u);
    EXPECT_EQ(steps.front(), QPoint(24, 304));
    EXPECT_EQ(steps.back(), QPoint(24, 24));

    // A diagonal moves one pixel along both axes per step; a slanted line follows the
    // longer axis with the other coordinate truncated.
    steps.clear();
    board->SetPosition("init");
    board->SetWhiteToMove(true);
    ASSERT_TRUE(board->MakeMove(E2, E4));
    ASSERT_TRUE(board->MakeMove(E7, E5));
    steps.clear();
    ASSERT_TRUE(board->MakeMove(F1, B5));
    ASSERT_EQ(steps.size(), 161u);
    EXPECT_EQ(steps[10], QPoint(224 - 10, 304 - 10));
    EXPECT_EQ(steps.back(), board->SquareTopLeft(B5));
}

TEST_F(AnimateTest, DelayPacesEveryStep) {
    board->SetAnimationDelay(2);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(board->MakeMove(E2, E3)); // 41 steps
    const qint64 elapsed = t.elapsed();
    EXPECT_EQ(steps.size(), 41u);
    EXPECT_GE(elapsed, 41 * 2);
}

TEST_F(AnimateTest, MovesNotAnimatedWhenOffOrJustDropped) {
    board->SetAnimateMoves(false);
    ASSERT_TRUE(board->MakeMove(E2, E4));
    EXPECT_TRUE(steps.empty());
    board->SetAnimateMoves(true);

    // The user's own drop is not animated, nor the same move made again by code.
    const QPoint from = Centre(E7), to = Centre(E5);
    SendMouse(board, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(board, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    SendMouse(board, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(board, QEvent::MouseButtonRelease, to, Qt::LeftButton, {});
    ASSERT_EQ(board->PieceAt(E5), 'p');
    ASSERT_TRUE(board->StepBack());
    ASSERT_TRUE(board->MakeMove(E7, E5));
    EXPECT_TRUE(steps.empty());
    ASSERT_TRUE(board->MakeMove(G1, F3));
    EXPECT_EQ(steps.size(), 41u + 81u);
}

TEST_F(AnimateTest, AMoveDuringAUserDragEndsTheOverlayAndAnimatesNothing) {
    const QPoint from = Centre(B2);
    SendMouse(board, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(board, QEvent::MouseMove, from + QPoint(0, -30), Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(Overlay()->isVisible());
    ASSERT_TRUE(board->MakeMove(E2, E4)); // made by code while the user drags
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(Overlay()->isVisible());
    // The drag goes on: its next drag-over brings the overlay back.
    SendMouse(board, QEvent::MouseMove, from + QPoint(0, -40), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Overlay()->isVisible());
    int illegal = 0;
    board->OnIllegalMove = [&](TChessGame*, Square) { ++illegal; };
    SendMouse(board, QEvent::MouseButtonRelease, Centre(B4), Qt::LeftButton, {});
    EXPECT_EQ(illegal, 1); // Black is to move now
    EXPECT_EQ(board->PieceAt(B2), 'P');
}
