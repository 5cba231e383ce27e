// The end of a game: which positions are over, the moves refused after the end, a game
// marked over by its record, the announcement of a position put on the board, and a king
// that is never taken.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

TEST(GameOver, EachEndOfTheRulesIsTold) {
    TChessGame game;
    EXPECT_EQ(game.GameOver(), TGameOver::None);
    Place(game, "Kg6 Qg7 kh8", false);
    EXPECT_EQ(game.GameOver(), TGameOver::Mate);
    Place(game, "Kg6 Qf7 kh8", false);
    EXPECT_EQ(game.GameOver(), TGameOver::StaleMate);
    Place(game, "Ka1 Nb1 ka8", true);
    EXPECT_EQ(game.GameOver(), TGameOver::NoMatingMaterial);
    Place(game, "Ka1 Rb1 ka8", true);
    EXPECT_EQ(game.GameOver(), TGameOver::None);
    game.NewGame();
    ASSERT_TRUE(Play(game, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"}));
    EXPECT_EQ(game.GameOver(), TGameOver::Threefold);
    ASSERT_TRUE(game.StepBack());
    EXPECT_EQ(game.GameOver(), TGameOver::None);
}

TEST(GameOver, NoSideMovesAfterADrawByMaterialUntilItStepsBack) {
    // The last black piece taken: a draw, although the rules still judge moves legal.
    TChessGame game;
    Place(game, "Ka1 Nb1 ka8 rb2", true);
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.PlayerMove(A1, B2));
    EXPECT_EQ(log.Names(), (Lines{"LegalMove", "Capture", "NoMatingMaterial", "Draw", "Paint"}));
    EXPECT_EQ(game.GameOver(), TGameOver::NoMatingMaterial);
    EXPECT_TRUE(game.IsLegalMove(A8, B7));
    EXPECT_FALSE(game.PlayerMove(A8, B7));
    EXPECT_EQ(game.PieceAt(A8), 'k');
    EXPECT_FALSE(game.WhiteToMove());
    // Stepped back before the capture, the game goes on.
    ASSERT_TRUE(game.StepBack());
    EXPECT_EQ(game.GameOver(), TGameOver::None);
    EXPECT_TRUE(game.PlayerMove(B1, C3));
}

TEST(GameOver, AMarkedGameTakesThePersonsMoveAndEndsWithIt) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "e7e5"}));
    game.MarkGameOver();
    EXPECT_EQ(game.GameOver(), TGameOver::Marked);
    // A refused move keeps the mark; a move made takes it away.
    EXPECT_FALSE(game.PlayerMove(E4, E5));
    EXPECT_EQ(game.GameOver(), TGameOver::Marked);
    EXPECT_TRUE(game.PlayerMove(G1, F3));
    EXPECT_EQ(game.GameOver(), TGameOver::None);
    // So do a step through the history and a new game.
    game.MarkGameOver();
    ASSERT_TRUE(game.StepBack());
    EXPECT_EQ(game.GameOver(), TGameOver::None);
    game.MarkGameOver();
    game.NewGame();
    EXPECT_EQ(game.GameOver(), TGameOver::None);
    // The rules' own end is told before a mark.
    Place(game, "Ka1 Nb1 ka8", true);
    game.MarkGameOver();
    EXPECT_EQ(game.GameOver(), TGameOver::NoMatingMaterial);
}

TEST(GameOver, APlacedPositionIsAnnouncedAsAMoveIntoItWouldBe) {
    struct Case {
        const char* Pieces;
        bool WhiteToMove;
        Lines Events;
        bool Ended;
    };
    const Case cases[] = {
        {"Kg6 Qg7 kh8", false, {"Check 0 0", "Mate 0 0"}, true},
        {"Kg6 Qf7 kh8", false, {"StaleMate 0 0", "Draw"}, true},
        {"Ka1 Bb1 ka8", true, {"NoMatingMaterial", "Draw"}, true},
        {"Ke1 Qe2 ke8", false, {"Check 0 0"}, false},
        {"Ke1 Qd1 ke8", true, {}, false},
    };
    for (const Case& c : cases) {
        TChessGame game;
        Place(game, c.Pieces, c.WhiteToMove);
        EventLog log;
        log.Attach(game);
        game.AnnouncePosition();
        EXPECT_EQ(log.Lines, c.Events) << c.Pieces;
        EXPECT_EQ(game.GameEnded(), c.Ended) << c.Pieces;
        // Nothing of the game changes.
        EXPECT_EQ(game.WhiteToMove(), c.WhiteToMove) << c.Pieces;
        EXPECT_EQ(game.HistoryLastMove(), 1) << c.Pieces;
    }
}

TEST(GameOver, AKingIsNeverTaken) {
    // Black stands in check with White to move, as a position put on the board by code may.
    TChessGame game;
    Place(game, "Ke1 Qd1 kd8 pa7", true);
    EXPECT_FALSE(game.IsLegalMove(D1, D8));
    EXPECT_FALSE(game.MakeMove(D1, D8));
    EXPECT_EQ(game.PieceAt(D8), 'k');
    EXPECT_TRUE(game.HasLegalMove());
    // The same for Black's pieces and for a king next to the other.
    Place(game, "Ke1 kd2 re8", false);
    EXPECT_FALSE(game.IsLegalMove(E8, E1));
    EXPECT_FALSE(game.IsLegalMove(D2, E1));
}
