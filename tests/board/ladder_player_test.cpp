// The strong search playing the computer's side at a level of the ladder, on its own worker
// thread: its move reaches the board in time and with the promotion piece, an answer the
// game has left behind never lands, and two weak levels play a whole game without a stall.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <thread>

#include "BoardTestSupport.h"
#include "LadderPlayer.h"

namespace {

int LevelNamed(const char* name) {
    const int level = strong::LevelByName(name);
    EXPECT_GE(level, 0) << name;
    return level;
}

struct LadderPlayer : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }

    TCountingBoard Board;
    TLadderPlayer Player{Board}; // destroyed before the board

    void SetUp() override {
        Board.SetAnimateMoves(false);
        Board.PaintBoard();
        Board.SetHostPlayer(&Player);
        Board.SetCustomEngine(true);
    }
    void TearDown() override {
        Board.StopThinking();
        Board.SetCustomEngine(false);
        Board.SetHostPlayer(nullptr);
    }
};

} // namespace

TEST_F(LadderPlayer, AnswersTheComputersSideInItsTimeAndPromotesWithItsPiece) {
    Player.SetLevel(LevelNamed("Expert 2300"));
    Player.MoveMs = 500;
    Player.MaxMoveMs = 1000;
    Board.SetComputerPlaysBlack(true);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(Board.PlayerMove(E2, E4));
    EXPECT_TRUE(Board.ComputerThinking());
    ASSERT_TRUE(PumpUntil([&] { return Board.WhiteToMove(); }, 5000));
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_FALSE(Board.ComputerThinking());
    EXPECT_FALSE(Player.Engaged());

    // White's pawn one step from queening with nothing to stop it: the computer, now
    // White, makes it a queen, not the piece a promotion would otherwise default to.
    Board.SetComputerPlaysBlack(false);
    std::string placement(64, ' ');
    placement[H8 - 1] = 'k';
    placement[A7 - 1] = 'P';
    placement[E1 - 1] = 'K';
    Board.SetPosition(placement);
    Board.SetWhiteToMove(true);
    Board.SetComputerPlaysWhite(true);
    ASSERT_TRUE(PumpUntil([&] { return !Board.WhiteToMove(); }, 5000));
    EXPECT_EQ(Board.PieceAt(A8), 'Q');
}

TEST_F(LadderPlayer, AnAnswerFoundBeforeANewGameNeverLandsInIt) {
    Player.SetLevel(LevelNamed("Strong club 1850"));
    Player.Nodes = 2000;
    Board.SetComputerPlaysBlack(true);
    ASSERT_TRUE(Board.PlayerMove(E2, E4));
    // The worker finishes and posts its move, which the window thread has not run yet.
    QElapsedTimer clock;
    clock.start();
    while (Player.Thinking() && clock.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_FALSE(Player.Thinking());
    Board.NewGame();
    PumpFor(300);
    EXPECT_EQ(Board.PieceAt(E2), 'P');
    EXPECT_TRUE(Board.WhiteToMove());
    EXPECT_FALSE(Board.ComputerThinking());
    // The new game goes on.
    ASSERT_TRUE(Board.PlayerMove(D2, D4));
    ASSERT_TRUE(PumpUntil([&] { return Board.WhiteToMove(); }, 5000));
}

TEST_F(LadderPlayer, TwoBeginnersPlayAGameToItsEndLegally) {
    Player.SetLevel(LevelNamed("Beginner 500"));
    Player.Nodes = 5000;
    int moves = 0;
    Board.OnLegalMove = [&](TChessGame*, Square, Square) { ++moves; };
    // A mate or a draw ends the game only where it is heard, as in the window.
    Board.OnMate = [](TChessGame*, Square, Square) {};
    Board.OnDraw = [](TChessGame*) {};
    Board.SetComputerPlaysBlack(true);
    Board.SetComputerPlaysWhite(true);
    Board.StartComputerMove();
    // Each move comes within the player's second; no move is refused (a refused one would
    // stall the game).
    int seen = 0;
    while (!Board.GameEnded() && moves < 600) {
        ASSERT_TRUE(PumpUntil([&] { return moves > seen || Board.GameEnded(); }, 3000))
            << "stalled after " << moves << " moves in " << Board.Position() << " "
            << Board.WhiteToMove() << " castling " << int(Board.CastlingAllowed().Bits) << " ep "
            << int(Board.EnPassant()) << " engaged " << Player.Engaged();
        seen = moves;
    }
    EXPECT_TRUE(Board.GameEnded()) << moves << " moves";
    PumpFor(100);
    EXPECT_FALSE(Player.Engaged());
}

// The search is given the game, not only its last position: it sees a repetition coming
// and the piece a pawn became, and after stepping back only the moves up to there.
TEST_F(LadderPlayer, TheSearchKnowsTheGameBehindThePosition) {
    for (auto [from, to] : {std::pair{G1, F3}, {G8, F6}, {F3, G1}, {F6, G8}, {G1, F3}, {G8, F6}})
        ASSERT_TRUE(Board.MakeMove(from, to));
    strong::TPosition pos;
    ASSERT_TRUE(PositionOf(GameLineOf(Board), pos));
    EXPECT_EQ(pos.GamePly(), 6);
    EXPECT_TRUE(pos.IsRepetition()); // the position after 1. Nf3 Nf6, seen again
    ASSERT_TRUE(Board.StepBack());
    ASSERT_TRUE(Board.StepBack());
    const TGameLine back = GameLineOf(Board);
    EXPECT_EQ(back.Moves, (std::vector<std::string>{"g1f3", "g8f6", "f3g1", "f6g8"}));
    ASSERT_TRUE(PositionOf(back, pos));
    EXPECT_TRUE(pos.IsRepetition()); // the start position again

    // A position set up in the middle of the game does not follow from its moves: the
    // search gets that position alone.
    const std::string setUp = Placement({{H8, 'k'}, {A7, 'P'}, {E1, 'K'}, {H2, 'r'}});
    Board.SetPosition(setUp);
    Board.SetWhiteToMove(true);
    ASSERT_TRUE(PositionOf(GameLineOf(Board), pos));
    EXPECT_EQ(pos.Fen(), "7k/P7/8/8/8/8/7r/4K3 w - - 0 1");

    // A new game from it, with a pawn about to promote: the line names the knight it became.
    Board.NewGame();
    Board.SetPosition(setUp);
    Board.SetWhiteToMove(true);
    ASSERT_TRUE(Board.MakeMove(A7, A8, 'N'));
    ASSERT_TRUE(Board.MakeMove(H8, G8));
    const TGameLine line = GameLineOf(Board);
    EXPECT_EQ(line.Moves, (std::vector<std::string>{"a7a8n", "h8g8"}));
    ASSERT_TRUE(PositionOf(line, pos));
    EXPECT_EQ(pos.GamePly(), 2);
    EXPECT_EQ(pos.Fen().substr(0, pos.Fen().find(' ')), "N5k1/8/8/8/8/8/7r/4K3");
}

TEST_F(LadderPlayer, PlaysToItsClockInPlaceOfItsLongestMove) {
    // The full strength would think as long as a move may take; with a second and a half
    // left on its clock it answers in a fraction of that.
    Player.SetLevel(static_cast<int>(strong::Ladder().size()) - 1);
    Player.MoveMs = Player.MaxMoveMs = 60000;
    int asked = 0;
    Player.ClockLimits = [&asked](strong::TSearchLimits& limits) {
        ++asked;
        limits.Time[strong::White] = 60000;
        limits.Time[strong::Black] = 1500;
        return true;
    };
    Board.SetComputerPlaysBlack(true);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(Board.PlayerMove(E2, E4));
    ASSERT_TRUE(PumpUntil([&] { return Board.WhiteToMove(); }, 20000));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(asked, 1);
}
