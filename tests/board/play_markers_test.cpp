// Markers on the squares: the last move, the king in check, the legal targets of the piece
// held and the keyboard's focus square, read back from the board's surface.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <memory>
#include <set>

#include "render_support.h"

namespace {

const QRgb kLight = qRgb(0xC0, 0xC0, 0xC0);
const QRgb kDark = qRgb(0x80, 0x80, 0x80);

class MarkersTest : public BoardInWindowTest {
  protected:
    void SetUp() override {
        MakeBoard();
        b->SetAnimateMoves(false);
        host->show();
    }
    void Play(Square from, Square to) { ASSERT_TRUE(b->MakeMove(from, to)); }
    // A pixel of the square near its top-left corner, clear of any piece.
    QRgb Corner(Square q, int inset = 2) const {
        const QPoint p = b->SquareTopLeft(q) + QPoint(inset, inset);
        return At(*b, p.x(), p.y());
    }
    QRgb Middle(Square q) const {
        const QPoint p = Centre(*b, q);
        return At(*b, p.x(), p.y());
    }
    static QRgb Plain(Square q) { return IsLightSquare(q) ? kLight : kDark; }
    // The squares in which two surfaces differ.
    std::set<Square> ChangedSquares(const QImage& before) const {
        std::set<Square> changed;
        const QImage after = b->Surface();
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                if (after.pixel(x, y) != before.pixel(x, y)) changed.insert(b->SquareAtPoint(x, y));
        return changed;
    }

};

bool Yellowish(QRgb c, QRgb plain) {
    return qRed(c) > qBlue(c) + 30 && qRed(c) >= qRed(plain) - 8;
}

} // namespace

TEST_F(MarkersTest, NothingIsMarkedWithTheSwitchesOff) {
    Play(E2, E4);
    SendMouse(b, QEvent::MouseButtonPress, Centre(*b, G8), Qt::LeftButton, Qt::LeftButton);
    for (int q = A8; q <= H1; ++q)
        EXPECT_EQ(b->MarksAt(Square(q)), 0) << q;
    SendMouse(b, QEvent::MouseButtonRelease, Centre(*b, G8), Qt::LeftButton, {});
    EXPECT_EQ(Corner(E2), Plain(E2));
    EXPECT_EQ(Corner(E4), Plain(E4));
}

TEST_F(MarkersTest, LastMoveFollowsMovesHistoryAndOrientation) {
    b->SetHighlightLastMove(true);
    EXPECT_EQ(b->LastMoveSquares().first, None);
    Play(E2, E4);
    EXPECT_EQ(b->MarksAt(E2), TChessBrd::mkLastMove);
    EXPECT_EQ(b->MarksAt(E4), TChessBrd::mkLastMove);
    EXPECT_TRUE(Yellowish(Corner(E2), Plain(E2)));
    EXPECT_TRUE(Yellowish(Corner(E4), Plain(E4)));

    // Only the squares whose markers or pieces changed are repainted.
    const QImage before = b->Surface();
    Play(E7, E5);
    EXPECT_EQ(ChangedSquares(before), (std::set<Square>{E2, E4, E7, E5}));
    EXPECT_EQ(Corner(E2), Plain(E2));
    EXPECT_TRUE(Yellowish(Corner(E5), Plain(E5)));

    b->SetWhiteOnTop(true);
    EXPECT_TRUE(Yellowish(Corner(E7), Plain(E7)));
    EXPECT_TRUE(Yellowish(Corner(E5), Plain(E5)));
    EXPECT_EQ(Corner(E4), Plain(E4));

    ASSERT_TRUE(b->StepBack());
    EXPECT_EQ(b->LastMoveSquares(), std::make_pair(E2, E4));
    EXPECT_TRUE(Yellowish(Corner(E4), Plain(E4)));
    EXPECT_EQ(Corner(E7), Plain(E7));
    ASSERT_TRUE(b->StepBack());
    EXPECT_EQ(b->LastMoveSquares().first, None);
    EXPECT_EQ(Corner(E2), Plain(E2));
    ASSERT_TRUE(b->StepForward());
    EXPECT_TRUE(Yellowish(Corner(E2), Plain(E2)));

    b->NewGame();
    EXPECT_EQ(b->MarksAt(E2), 0);
    EXPECT_EQ(Corner(E2), Plain(E2));
}

TEST_F(MarkersTest, APositionSetWithBlackToMoveShowsNoMoveOfAnEarlierGame) {
    b->SetHighlightLastMove(true);
    Play(E2, E4);
    // The position after it set anew, Black to move: no half-move of this game led here.
    const QString after = b->PositionText();
    b->NewGame();
    b->SetPositionText(after);
    b->SetWhiteToMove(false);
    EXPECT_EQ(b->LastMoveSquares().first, None);
    Play(E7, E5);
    EXPECT_EQ(b->LastMoveSquares(), std::make_pair(E7, E5));
}

TEST_F(MarkersTest, KingInCheckGlowsUntilTheCheckIsOver) {
    b->SetHighlightCheck(true);
    Play(E2, E4);
    Play(F7, F6);
    Play(D1, H5);
    ASSERT_EQ(b->CheckedKing(), E8);
    EXPECT_EQ(b->MarksAt(E8), TChessBrd::mkCheck);
    // The glow is strongest in the middle; the left edge's middle is clear of the king.
    const QPoint edge = b->SquareTopLeft(E8) + QPoint(2, b->SizeOfSquare() / 2);
    const QRgb c = At(*b, edge.x(), edge.y());
    EXPECT_GT(qRed(c), qGreen(c) + 40);
    Play(G7, G6);
    EXPECT_EQ(b->CheckedKing(), None);
    EXPECT_EQ(b->MarksAt(E8), 0);
    EXPECT_EQ(At(*b, edge.x(), edge.y()), Plain(E8));
}

TEST_F(MarkersTest, LegalTargetsOfTheHeldPieceByClickAndByDrag) {
    b->SetShowLegalMoves(true);
    b->SetClickToMove(true);
    Play(E2, E4);
    Play(D7, D5);
    b->ActivateSquare(E4);
    EXPECT_EQ(b->MarksAt(E4), TChessBrd::mkPicked);
    EXPECT_EQ(b->MarksAt(E5), TChessBrd::mkTarget);
    EXPECT_EQ(b->MarksAt(D5), TChessBrd::mkCapture);
    EXPECT_EQ(b->MarksAt(F5), 0);
    // A dot in the middle of an empty target; a ring along the edges of a capture.
    EXPECT_LT(qGreen(Middle(E5)), qGreen(Plain(E5)) - 20);
    EXPECT_EQ(Corner(E5), Plain(E5));
    const QPoint ring = b->SquareTopLeft(D5) + QPoint(2, b->SizeOfSquare() / 2);
    EXPECT_LT(qGreen(At(*b, ring.x(), ring.y())), qGreen(Plain(D5)) - 20);
    EXPECT_NE(Corner(E4), Plain(E4));

    // Putting the piece down takes its markers away again.
    b->ActivateSquare(E4);
    EXPECT_EQ(b->MarksAt(E5), 0);
    EXPECT_EQ(Middle(E5), Plain(E5));

    // A press on a piece shows its targets for as long as the drag lasts.
    SendMouse(b, QEvent::MouseButtonPress, Centre(*b, G1), Qt::LeftButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseMove, Centre(*b, F3), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(b->MarksAt(F3), TChessBrd::mkTarget);
    EXPECT_EQ(b->MarksAt(H3), TChessBrd::mkTarget);
    EXPECT_EQ(b->MarksAt(E2), TChessBrd::mkTarget);
    SendMouse(b, QEvent::MouseButtonRelease, Centre(*b, F3), Qt::LeftButton, {});
    EXPECT_EQ(b->PieceAt(F3), 'N');
    for (int q = A8; q <= H1; ++q)
        EXPECT_EQ(b->MarksAt(Square(q)), 0) << q;
}

TEST_F(MarkersTest, FocusFrameOnlyWhileTheBoardHasTheFocus) {
    b->SetKeyboardPlay(true);
    EXPECT_EQ(b->focusPolicy(), Qt::StrongFocus);
    host->activateWindow();
    b->setFocus();
    QCoreApplication::processEvents();
    if (!b->hasFocus()) GTEST_SKIP() << "the platform gives no keyboard focus";
    EXPECT_EQ(b->FocusSquare(), E2);
    EXPECT_EQ(b->MarksAt(E2), TChessBrd::mkFocus);
    EXPECT_EQ(Corner(E2, 0), qRgb(30, 110, 255));
    b->SetFocusSquare(D2);
    EXPECT_EQ(Corner(E2, 0), Plain(E2));
    EXPECT_EQ(Corner(D2, 0), qRgb(30, 110, 255));
    // A disabled board shows none.
    b->setEnabled(false);
    EXPECT_EQ(Corner(D2, 0), Plain(D2));
    b->setEnabled(true);
    b->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(Corner(D2, 0), qRgb(30, 110, 255));
    b->clearFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(b->MarksAt(D2), 0);
    EXPECT_EQ(Corner(D2, 0), Plain(D2));
}

TEST_F(MarkersTest, SuggestionShowsForAWhile) {
    b->ShowSuggestion(G1, F3, 50);
    EXPECT_EQ(b->MarksAt(G1), TChessBrd::mkSuggest);
    EXPECT_EQ(b->MarksAt(F3), TChessBrd::mkSuggest);
    EXPECT_GT(qBlue(Corner(F3)), qRed(Corner(F3)) + 30);
    QElapsedTimer t;
    t.start();
    while (b->MarksAt(F3) != 0 && t.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(Corner(F3), Plain(F3));
}
