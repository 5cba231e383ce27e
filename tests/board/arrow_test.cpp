// The arrow over the board, read back from the surface: nothing by default, drawn from one
// square to the other, kept whole when the squares under it are drawn again, and gone
// without a trace when taken away.

#include <gtest/gtest.h>

#include "render_support.h"

namespace {

class ArrowTest : public BoardInWindowTest {
  protected:
    void SetUp() override {
        MakeBoard();
        b->SetAnimateMoves(false);
        host->show();
        b->PaintBoard();
    }
    QRgb Middle(Square q) const {
        const QPoint p = Centre(*b, q);
        return At(*b, p.x(), p.y());
    }
    // The arrow's colour shows: green above red and blue.
    static bool Greenish(QRgb c) { return qGreen(c) > qRed(c) + 30 && qGreen(c) > qBlue(c) + 30; }
};

} // namespace

TEST_F(ArrowTest, NoneIsDrawnAfterConstruction) {
    EXPECT_EQ(b->Arrow(), std::make_pair(None, None));
    for (int q = A8; q <= H1; ++q)
        EXPECT_FALSE(Greenish(Middle(Square(q)))) << q;
}

TEST_F(ArrowTest, DrawnBetweenItsSquaresAndNowhereElse) {
    const QImage before = b->Surface().copy();
    b->SetArrow(A3, H3);
    EXPECT_EQ(b->Arrow(), std::make_pair(A3, H3));
    for (Square q : {B3, D3, G3})
        EXPECT_TRUE(Greenish(Middle(q))) << q;
    // Off the third rank the surface is as it was.
    for (Square q : {A4, D4, D2, H6}) {
        const QPoint p = Centre(*b, q);
        EXPECT_EQ(At(*b, p.x(), p.y()), before.pixel(p) | 0xFF000000u) << q;
    }
    // Turned round, the board's own sides are swapped and so is the arrow.
    b->SetWhiteOnTop(true);
    b->PaintBoard();
    EXPECT_TRUE(Greenish(Middle(D3)));
    EXPECT_FALSE(Greenish(Middle(D6)));
}

TEST_F(ArrowTest, StaysWholeWhenTheSquaresUnderItAreDrawnAgain) {
    b->SetArrow(A3, H3);
    // The pawn lands under the arrow, and the squares of the move are drawn again.
    ASSERT_TRUE(b->MakeMove(E2, E3));
    EXPECT_TRUE(Greenish(Middle(D3)));
    const QPoint beside = Centre(*b, E3) + QPoint(b->SizeOfSquare() / 2 - 2, 0);
    EXPECT_TRUE(Greenish(At(*b, beside.x(), beside.y())));
    // A step back through the history draws the squares again too.
    ASSERT_TRUE(b->StepBack());
    EXPECT_TRUE(Greenish(Middle(E3)));
    // A marker switched on under it.
    b->SetHighlightLastMove(true);
    ASSERT_TRUE(b->StepForward());
    EXPECT_TRUE(Greenish(Middle(F3)));
}

TEST_F(ArrowTest, TakenAwayWithoutATraceAndRefusedOffTheBoard) {
    const QImage before = b->Surface().copy();
    b->SetArrow(B1, F5);
    b->SetArrow(A3, H3);                // another arrow replaces it
    EXPECT_FALSE(Greenish(Middle(E4))); // on the first arrow's way only
    b->SetArrow(None, None);
    EXPECT_EQ(b->Surface(), before);
    // A square off the board or an arrow to its own square draws nothing.
    b->SetArrow(A3, A3);
    EXPECT_EQ(b->Arrow(), std::make_pair(None, None));
    b->SetArrow(Square(0), H3);
    EXPECT_EQ(b->Surface(), before);
}
