// History stepping, the move list and games that begin with Black's half-move.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

const std::string kBlack(14, ' ');

Lines MoveList(const TChessGame& game) {
    Lines list;
    game.GetMoveList(list);
    return list;
}

struct RedrawGame : TChessGame {
    Lines OldTexts;
    void RedrawChanged(const std::string& old) override { OldTexts.push_back(old); }
};

TEST(History, StepBackAndForward) {
    RedrawGame game;
    const std::string start = game.Position();
    EXPECT_FALSE(game.StepBack());
    EXPECT_FALSE(game.StepForward());
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
    EXPECT_FALSE(game.StepBack());
    EXPECT_EQ(MoveList(game), (Lines{"1. E2-E4", kBlack + "E7-E5"})) << "the whole history";

    ASSERT_TRUE(game.StepForward());
    ASSERT_TRUE(game.StepForward());
    EXPECT_EQ(game.Position(), afterE5);
    EXPECT_EQ(game.CurrentMove(), 2);
    EXPECT_FALSE(game.StepForward());
    EXPECT_TRUE(log.Lines.empty()) << "stepping raises no event";
    EXPECT_TRUE(game.EngineHalted());
}

TEST(History, SteppingRestoresRights) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "e7e5", "e1e2"}));
    ASSERT_TRUE(game.StepBack());
    EXPECT_EQ(game.CastlingAllowed(), CastleSet::All());
    EXPECT_EQ(game.EnPassant(), E6);
}

TEST(History, MoveListTexts) {
    TChessGame game;
    Lines list{"kept"};
    game.GetMoveList(list);
    EXPECT_EQ(list, Lines{"kept"});
    ASSERT_TRUE(
        Play(game, {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6", "e1g1", "f8c5", "a2a3", "a7a6",
                    "b2b3", "b7b6", "c2c3", "h7h6", "h2h3", "g7g6", "a3a4", "a6a5", "b3b4"}));
    const Lines lines = MoveList(game);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "1. E2-E4");
    EXPECT_EQ(lines[1], kBlack + "E7-E5");
    EXPECT_EQ(lines[6], "4. E1-G1");
    EXPECT_EQ(lines[18], "10. B3-B4");
}

TEST(History, AMoveFromASteppedBackPositionCutsTheOldLine) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "e7e5", "g1f3", "b8c6"}));
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(Play(game, {"d2d4"}));
    EXPECT_EQ(MoveList(game), (Lines{"1. E2-E4", kBlack + "E7-E5", "2. D2-D4"}));
    EXPECT_FALSE(game.StepForward());
}

TEST(History, NewGameEmptiesTheListButKeepsRecordsAndPromotionPiece) {
    TChessGame game;
    game.SetPromotionPiece('r');
    ASSERT_TRUE(Play(game, {"g1f3", "g8f6", "b1c3", "b8c6", "e2e4", "e7e5", "d2d4", "d7d5"}));
    int paints = 0;
    game.OnPaint = [&](TChessGame*) { ++paints; };
    game.ResetGame();
    EXPECT_EQ(paints, 0);
    game.NewGame();
    EXPECT_EQ(paints, 1);
    EXPECT_TRUE(MoveList(game).empty());
    EXPECT_EQ(game.MoveHistory(4, false).NewSq, D5);
    EXPECT_EQ(game.PromotionPiece(), 'r');
    EXPECT_FALSE(game.StepForward());
}

TEST(History, AGameBlackBegins) {
    // An earlier game leaves its records behind, White's first among them.
    TChessGame game;
    ASSERT_TRUE(Play(game, {"d2d4", "d7d5", "c2c4"}));
    game.NewGame();
    ASSERT_TRUE(Play(game, {"e2e4"}));
    game.NewGame();
    game.SetWhiteToMove(false);
    ASSERT_TRUE(Play(game, {"e7e5", "g1f3"}));

    const MoveInfo& first = game.MoveHistory(1, true);
    EXPECT_TRUE(first.Position.empty());
    EXPECT_EQ(first.OldSq, None);
    EXPECT_EQ(first.NewSq, None);
    EXPECT_TRUE(first.Castling.Empty());
    EXPECT_EQ(MoveList(game), (Lines{"1. ...", kBlack + "E7-E5", "2. G1-F3"}));

    // Stepping stops at Black's first position instead of copying the empty record.
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(game.StepBack());
    const std::string blackFirst = game.Position();
    EXPECT_FALSE(game.StepBack());
    EXPECT_FALSE(game.GotoHalfMove(1, true));
    EXPECT_EQ(game.Position(), blackFirst);
    EXPECT_FALSE(game.WhiteToMove());
    ASSERT_TRUE(game.StepForward());
    ASSERT_TRUE(game.StepForward());
    EXPECT_FALSE(game.StepForward());
}

TEST(History, TheSideToMoveWrittenOverMidGame) {
    // Black moves twice in a row: White's record between had no half-move of its own.
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "e7e5"}));
    const std::string afterE5 = game.Position();
    game.SetWhiteToMove(false);
    ASSERT_TRUE(Play(game, {"d7d5"}));
    EXPECT_EQ(MoveList(game), (Lines{"1. E2-E4", kBlack + "E7-E5", "2. ...", kBlack + "D7-D5"}));
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(game.StepBack());
    EXPECT_EQ(game.Position(), afterE5);
    EXPECT_TRUE(game.WhiteToMove());
}

} // namespace
