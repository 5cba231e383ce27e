// Move animation: the overlay's path and pacing, and which moves are animated.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <memory>
#include <string>
#include <vector>

#include "render_support.h"

namespace {

// The board at (-7, -7) on its window, as the main window lays it out.
class AnimateTest : public BoardInWindowTest {
  protected:
    void SetUp() override {
        MakeBoard(400);
        b->move(-7, -7);
        b->AnimationStepHook = [this](int x, int y) {
            steps.emplace_back(x, y);
            overlayAt = Overlay()->isVisible() ? Overlay()->pos() : QPoint(-1, -1);
        };
        host->show();
    }
    QWidget* Overlay() const {
        for (QWidget* w : host->findChildren<QWidget*>())
            if (w != b) return w;
        return nullptr;
    }
    void Move(Square from, Square to) {
        steps.clear();
        ASSERT_TRUE(b->MakeMove(from, to));
    }

    std::vector<QPoint> steps;
    QPoint overlayAt;
};

} // namespace

TEST_F(AnimateTest, KnightGoesAlongItsRowThenItsColumn) {
    Move(B1, C3);
    ASSERT_EQ(steps.size(), 41u + 81u);
    for (int i = 0; i <= 40; ++i)
        ASSERT_EQ(steps[std::size_t(i)], QPoint(64 + i, 304));
    for (int i = 0; i <= 80; ++i)
        ASSERT_EQ(steps[std::size_t(41 + i)], QPoint(104, 304 - i));
    EXPECT_EQ(overlayAt, QPoint(104 - 7, 224 - 7)); // in its window's coordinates
    EXPECT_FALSE(Overlay()->isVisible());
}

TEST_F(AnimateTest, OtherPiecesSlideStraight) {
    b->SetPosition(std::string(56, ' ') + "R   K  k");
    Move(A1, A8);
    ASSERT_EQ(steps.size(), 281u);
    for (std::size_t i = 0; i < steps.size(); ++i)
        ASSERT_EQ(steps[i], QPoint(24, 304 - int(i)));
    // A diagonal: one pixel along both axes per step.
    b->SetPosition(std::string(56, ' ') + "Q   K  k");
    b->SetWhiteToMove(true);
    Move(A1, H8);
    EXPECT_EQ(steps.size(), 281u);
    EXPECT_EQ(steps[100], QPoint(124, 204));
    // Every step of a delayed slide lasts more than the delay.
    b->SetAnimationDelay(2);
    QElapsedTimer t;
    t.start();
    Move(H1, G1); // out of the queen's check
    EXPECT_EQ(steps.size(), 41u);
    EXPECT_GE(t.elapsed(), 41 * 2);
}

TEST_F(AnimateTest, OnlyMovesTheUserDidNotJustDropAreAnimated) {
    b->SetAnimateMoves(false);
    Move(E2, E4);
    EXPECT_TRUE(steps.empty());
    b->SetAnimateMoves(true);
    const QPoint from = Centre(*b, E7), to = Centre(*b, E5);
    SendMouse(b, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseButtonRelease, to, Qt::LeftButton, {});
    ASSERT_EQ(b->PieceAt(E5), 'p');
    EXPECT_TRUE(steps.empty());
    // The same move made again by code is not animated either.
    ASSERT_TRUE(b->StepBack());
    Move(E7, E5);
    EXPECT_TRUE(steps.empty());

    // A move made while the user drags ends the drag's overlay and slides nothing; the
    // drag's next drag-over brings the overlay back.
    SendMouse(b, QEvent::MouseButtonPress, Centre(*b, B2), Qt::LeftButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseMove, Centre(*b, B3), Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(Overlay()->isVisible());
    Move(G1, F3);
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(Overlay()->isVisible());
    SendMouse(b, QEvent::MouseMove, Centre(*b, B4), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Overlay()->isVisible());
    SendMouse(b, QEvent::MouseButtonRelease, Centre(*b, B4), Qt::LeftButton, {});
    EXPECT_EQ(b->PieceAt(B2), 'P'); // Black is to move now: refused
}
