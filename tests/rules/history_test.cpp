// History stepping, the move list and games that begin with Black's half-move.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kBlackLine(14, ' ');

Lines MoveList(const TChessGame& game) {
    Lines list;
    game.GetMoveList(list);
    return list;
}

// Counts the repaints stepping asks for.
class RedrawGame : public TChessGame {
  public:
    std::vector<std::string> OldTexts;

  protected:
    void RedrawChanged(const std::string& old) override { OldTexts.push_back(old); }
};

TEST(History, StepBackAndForwardThroughTwoHalfMoves) {
    RedrawGame game;
    const std::string start = game.Position();
    ASSERT_TRUE(Play(game, {"e2e4"}));
    const std::string afterE4 = game.Position();
    ASSERT_TRUE(Play(game, {"e7e5"}));
    const std::string afterE5 = game.Position();
    EventLog log;
    log.Attach(game);

    ASSERT_TRUE(game.StepBack());
    EXPECT_EQ(game.Position(), afterE4);
    EXPECT_FALSE(game.WhiteToMove());
    EXPECT_EQ(game.EnPassant(), E3);
    EXPECT_EQ(game.CurrentMove(), 1);
    EXPECT_EQ(game.OldTexts, Lines{afterE5});
    ASSERT_TRUE(game.StepBack());
    EXPECT_EQ(game.Position(), start);
    EXPECT_TRUE(game.WhiteToMove());
    EXPECT_EQ(game.EnPassant(), None);
    EXPECT_FALSE(game.StepBack());
    EXPECT_EQ(game.Position(), start);

    ASSERT_TRUE(game.StepForward());
    ASSERT_TRUE(game.StepForward());
    EXPECT_EQ(game.Position(), afterE5);
    EXPECT_EQ(game.CurrentMove(), 2);
    EXPECT_FALSE(game.StepForward());
    EXPECT_TRUE(log.Lines.empty()) << "stepping raises no event";
    EXPECT_EQ(game.HistoryLastMove(), 2);
    EXPECT_TRUE(game.HistoryLastWhite());
}

TEST(History, NothingToStepWithoutMoves) {
    TChessGame game;
    EXPECT_FALSE(game.StepBack());
    EXPECT_FALSE(game.StepForward());
    EXPECT_TRUE(game.EngineHalted()) << "a refused step has halted the computer all the same";
    EXPECT_FALSE(game.GotoHalfMove(0, true));
    EXPECT_FALSE(game.GotoHalfMove(5, true));
}

TEST(History, SteppingRestoresRightsAndEnPassant) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "e7e5", "e1e2"}));
    EXPECT_FALSE(game.CastlingAllowed().Contains(WhiteKingSide));
    ASSERT_TRUE(game.StepBack());
    EXPECT_TRUE(game.CastlingAllowed().Contains(WhiteKingSide));
    EXPECT_EQ(game.EnPassant(), E6);
    EXPECT_TRUE(game.IsLegalMove(E1, E2));
}

TEST(History, MoveListTexts) {
    TChessGame game;
    EXPECT_TRUE(MoveList(game).empty());
    ASSERT_TRUE(Play(game, {"e2e4"}));
    EXPECT_EQ(MoveList(game), Lines{"1. E2-E4"});
    ASSERT_TRUE(Play(game, {"e7e5"}));
    EXPECT_EQ(MoveList(game), (Lines{"1. E2-E4", kBlackLine + "E7-E5"}));

    // The list always runs to the end of the history, and it is appended to.
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(game.StepBack());
    Lines list{"kept"};
    game.GetMoveList(list);
    EXPECT_EQ(list, (Lines{"kept", "1. E2-E4", kBlackLine + "E7-E5"}));

    // Castling lists the king's move; move numbers grow past one digit.
    TChessGame longer;
    ASSERT_TRUE(Play(longer, {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6", "e1g1",
                              "f8c5", "a2a3", "a7a6", "b2b3", "b7b6", "c2c3", "h7h6",
                              "h2h3", "g7g6", "a3a4", "a6a5", "b3b4", "a5b4"}));
    const Lines lines = MoveList(longer);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[6], "4. E1-G1");
    EXPECT_EQ(lines[18], "10. B3-B4");
    EXPECT_EQ(lines[19], kBlackLine + "A5-B4");
}

TEST(History, AMoveFromASteppedBackPositionCutsTheOldLine) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "e7e5", "g1f3", "b8c6"}));
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(Play(game, {"d2d4"}));
    EXPECT_EQ(MoveList(game), (Lines{"1. E2-E4", kBlackLine + "E7-E5", "2. D2-D4"}));
    EXPECT_FALSE(game.StepForward());
    EXPECT_EQ(game.HistoryLastMove(), 2);
    EXPECT_FALSE(game.HistoryLastWhite());
}

TEST(History, NewGameEmptiesTheListButKeepsTheRecords) {
    TChessGame game;
    game.SetPromotionPiece('r');
    ASSERT_TRUE(Play(game, {"g1f3", "g8f6", "b1c3", "b8c6", "e2e4", "e7e5", "d2d4", "d7d5"}));
    int paints = 0;
    game.OnPaint = [&](TChessGame*) { ++paints; };
    game.NewGame();
    EXPECT_EQ(paints, 1);
    EXPECT_TRUE(MoveList(game).empty());
    EXPECT_EQ(game.MoveHistory(4, false).NewSq, D5);
    EXPECT_EQ(game.PromotionPiece(), 'r');
    EXPECT_TRUE(game.WhiteToMove());
    EXPECT_EQ(game.CurrentMove(), 1);
    EXPECT_FALSE(game.StepForward()) << "the old records are no longer part of the game";
    // ResetGame alone does not repaint.
    game.ResetGame();
    EXPECT_EQ(paints, 1);
}

TEST(History, AGameBlackBegins) {
    // An earlier game leaves its records behind, White's first among them.
    TChessGame game;
    ASSERT_TRUE(Play(game, {"d2d4", "d7d5", "c2c4"}));
    game.NewGame();
    game.SetPosition(Board({"rnbqkbnr", "pppppppp", "        ", "        ", "    P   ", "        ",
                            "PPPP PPP", "RNBQKBNR"}));
    game.SetWhiteToMove(false);
    ASSERT_TRUE(Play(game, {"e7e5", "g1f3"}));

    // White's first record holds nothing of the earlier game.
    const MoveInfo& first = game.MoveHistory(1, true);
    EXPECT_TRUE(first.Position.empty());
    EXPECT_EQ(first.OldSq, None);
    EXPECT_EQ(first.NewSq, None);
    EXPECT_TRUE(first.Castling.Empty());
    EXPECT_EQ(MoveList(game), (Lines{"1. ...", kBlackLine + "E7-E5", "2. G1-F3"}));

    // Stepping stops at Black's first position instead of copying an empty record.
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(game.StepBack());
    EXPECT_FALSE(game.WhiteToMove());
    EXPECT_EQ(game.PieceAt(E4), 'P');
    EXPECT_EQ(game.PieceAt(E7), 'p');
    const std::string blackFirst = game.Position();
    EXPECT_FALSE(game.StepBack());
    EXPECT_FALSE(game.GotoHalfMove(1, true));
    EXPECT_EQ(game.Position(), blackFirst);
    EXPECT_FALSE(game.WhiteToMove());
    EXPECT_EQ(game.CurrentMove(), 1);
    ASSERT_TRUE(game.StepForward());
    ASSERT_TRUE(game.StepForward());
    EXPECT_FALSE(game.StepForward());
}

TEST(History, TheSideToMoveWrittenOverMidGame) {
    // Black moves twice in a row: White's record in between had no half-move of its own
    // and lists as dots, with its position still reachable by stepping.
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "e7e5"}));
    const std::string afterE5 = game.Position();
    game.SetWhiteToMove(false);
    ASSERT_TRUE(Play(game, {"d7d5"}));
    EXPECT_EQ(MoveList(game),
              (Lines{"1. E2-E4", kBlackLine + "E7-E5", "2. ...", kBlackLine + "D7-D5"}));
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(game.StepBack());
    EXPECT_EQ(game.Position(), afterE5);
    EXPECT_TRUE(game.WhiteToMove());
}

} // namespace
