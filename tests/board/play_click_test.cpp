// Playing by clicks and by keys: picking up, re-picking, refused targets, Escape, and the
// arrow keys in both orientations.

#include <gtest/gtest.h>

#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "render_support.h"

namespace {

using Events = std::vector<std::string>;

class ClickTest : public BoardInWindowTest {
  protected:
    void SetUp() override {
        MakeBoard();
        b->SetAnimateMoves(false);
        b->SetClickToMove(true);
        b->OnIllegalMove = [this](TChessGame*, Square q) { log.push_back("illegal " + Name(q)); };
        b->OnLegalMove = [this](TChessGame*, Square x, Square y) {
            log.push_back("legal " + Name(x) + Name(y));
        };
        host->show();
    }
    static std::string Name(Square q) { return QString(SquareName(q)).toLower().toStdString(); }
    void Click(Square q) {
        SendMouse(b, QEvent::MouseButtonPress, Centre(*b, q), Qt::LeftButton, Qt::LeftButton);
        SendMouse(b, QEvent::MouseButtonRelease, Centre(*b, q), Qt::LeftButton, {});
    }
    void Key(Qt::Key k) { QTest::keyClick(b, k); }

    Events log;
};

} // namespace

TEST_F(ClickTest, PickRepickPutDownAndPlay) {
    Click(E2);
    EXPECT_EQ(b->PickedSquare(), E2);
    EXPECT_TRUE(log.empty());
    // A refused target reports the piece and leaves it held.
    Click(E5);
    EXPECT_EQ(log, (Events{"illegal e2"}));
    EXPECT_EQ(b->PickedSquare(), E2);
    // Another piece of the side to move is picked instead; the same piece is put down.
    Click(G1);
    EXPECT_EQ(b->PickedSquare(), G1);
    Click(G1);
    EXPECT_EQ(b->PickedSquare(), None);
    Click(G1);
    Key(Qt::Key_Escape);
    EXPECT_EQ(b->PickedSquare(), None);

    Click(G1);
    Click(F3);
    EXPECT_EQ(log.back(), "legal g1f3");
    EXPECT_EQ(b->PieceAt(F3), 'N');
    EXPECT_EQ(b->PickedSquare(), None);
    Click(D7);
    Click(D5);
    Click(F3);
    Click(F5);
    EXPECT_EQ(log.back(), "illegal f3");
    Click(E5);
    EXPECT_EQ(log.back(), "legal f3e5");
    // A White piece while Black is to move is not picked up.
    Click(E1);
    EXPECT_EQ(log.back(), "illegal e1");
    EXPECT_EQ(b->PickedSquare(), None);
    // A capture by clicks.
    Click(B8);
    Click(C6);
    Click(E5);
    Click(C6);
    EXPECT_EQ(log.back(), "legal e5c6");
    EXPECT_EQ(b->PieceAt(C6), 'N');
}

TEST_F(ClickTest, TheComputersPiecesAreNotThePersonsWhileItThinks) {
    b->SetKeyboardPlay(true);
    b->SetComputerPlaysBlack(true);
    Click(E2);
    Click(E4);
    // The built-in engine hands its move over through this thread's events, which have not
    // run yet: the computer is thinking.
    ASSERT_TRUE(b->ComputerThinking());
    log.clear();
    Click(E7);
    EXPECT_EQ(b->PickedSquare(), None);
    b->SetFocusSquare(E7);
    Key(Qt::Key_Return);
    EXPECT_EQ(b->PickedSquare(), None);
    EXPECT_EQ(log, (Events{"illegal e7", "illegal e7"}));
    ASSERT_TRUE(QTest::qWaitFor([this] { return b->WhiteToMove(); }, 20000));
    EXPECT_FALSE(b->ComputerThinking());
    Click(D2);
    EXPECT_EQ(b->PickedSquare(), D2);
}

TEST_F(ClickTest, ClickOnAPieceOfTheOtherSideWithoutAPickIsARefusedDragAsBefore) {
    Click(E7);
    EXPECT_EQ(b->PickedSquare(), None);
    EXPECT_EQ(log, (Events{"illegal e7"}));
    b->SetClickToMove(false);
    log.clear();
    Click(E2);
    EXPECT_EQ(b->PickedSquare(), None);
    EXPECT_EQ(log, (Events{"illegal e2"}));
}

TEST_F(ClickTest, DraggingStillWorksAndTakesOverAPick) {
    Click(B1);
    const QPoint from = Centre(*b, E2), to = Centre(*b, E4);
    SendMouse(b, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseButtonRelease, to, Qt::LeftButton, {});
    EXPECT_EQ(log, (Events{"legal e2e4"}));
    EXPECT_EQ(b->PickedSquare(), None);
}

TEST_F(ClickTest, DragOverHandlerDecidesLikeADrop) {
    int asked = 0;
    // A handler that accepts everything lets the rules refuse; it is asked once per click.
    b->OnDragOver = [&](TChessBrd*, QObject*, int, int, TDragState, bool& accept) {
        ++asked;
        accept = true;
    };
    Click(E2);
    Click(E5);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(log, (Events{"illegal e2"}));
    Click(E4);
    EXPECT_EQ(log.back(), "legal e2e4");
}

TEST_F(ClickTest, KeyboardPlayInBothOrientations) {
    b->SetClickToMove(false);
    b->SetKeyboardPlay(true);
    b->SetFocusSquare(E2);
    Key(Qt::Key_Up);
    EXPECT_EQ(b->FocusSquare(), E3);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down); // stays on the edge
    EXPECT_EQ(b->FocusSquare(), E1);
    Key(Qt::Key_Left);
    EXPECT_EQ(b->FocusSquare(), D1);

    b->SetFocusSquare(E2);
    Key(Qt::Key_Return);
    EXPECT_EQ(b->PickedSquare(), E2);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Key(Qt::Key_Space);
    EXPECT_EQ(log, (Events{"legal e2e4"}));

    // White on top: up on the screen is towards the first rank, left towards the h-file.
    b->SetWhiteOnTop(true);
    b->SetFocusSquare(E7);
    Key(Qt::Key_Up);
    EXPECT_EQ(b->FocusSquare(), E6);
    Key(Qt::Key_Left);
    EXPECT_EQ(b->FocusSquare(), F6);
    b->SetFocusSquare(E7);
    Key(Qt::Key_Enter);
    EXPECT_EQ(b->PickedSquare(), E7);
    Key(Qt::Key_Escape);
    EXPECT_EQ(b->PickedSquare(), None);
    Key(Qt::Key_Space);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Key(Qt::Key_Space);
    EXPECT_EQ(log.back(), "legal e7e5");
}
