// The ladder of levels: its table, the weak levels' controlled weakness (threats overlooked
// at a share of positions, never a piece thrown away by its own move), and a game between
// the two weakest levels that the rules accept move by move and that never stalls.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "ChessGame.h"
#include "Ladder.h"
#include "StrongMoveGen.h"
#include "StrongSee.h"

using namespace strong;

TEST(Ladder, RisesFromAFirstGameToFullStrengthInLabelledSteps) {
    const auto& levels = Ladder();
    ASSERT_GE(levels.size(), 8u);
    EXPECT_LE(levels.front().Elo, 600);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const std::string name = levels[i].Name;
        EXPECT_TRUE(name.ends_with(" " + std::to_string(levels[i].Elo))) << name;
        if (i > 0) {
            EXPECT_GT(levels[i].Elo, levels[i - 1].Elo) << name;
            EXPECT_LE(levels[i].Elo - levels[i - 1].Elo, 250) << name;
        }
    }
    // The five plain levels keep their depths 1 to 5, in order.
    int plain = 0;
    for (const TLevel& l : levels) {
        if (l.PlainDepth) {
            EXPECT_EQ(l.PlainDepth, ++plain) << l.Name;
        }
    }
    EXPECT_EQ(plain, 5);
    EXPECT_EQ(LevelNearestElo(0), 0);
    EXPECT_EQ(LevelNearestElo(4000), static_cast<int>(levels.size()) - 1);
    // A level is found by its words, whatever its number: a choice stored under an earlier
    // label survives a new measurement.
    EXPECT_EQ(LevelByName("beginner 500"), 0);
    EXPECT_EQ(LevelByName("Beginner"), 0);
    EXPECT_EQ(LevelByName("Beginner 1"), 0);
    EXPECT_EQ(LevelByName("Strong club 9999"), LevelByName("strong club"));
    EXPECT_EQ(LevelByName("Expert 2050"), static_cast<int>(levels.size()) - 1);
    // Levels no longer offered: their stored labels go to the level nearest their number.
    EXPECT_EQ(LevelByName("Club 1600"), LevelNearestElo(1600));
    EXPECT_EQ(levels[LevelByName("Improver 1150")].Name, std::string("Novice 1100"));
    EXPECT_EQ(levels[LevelByName("Candidate 1900")].Name, std::string("Strong club 1850"));
    EXPECT_EQ(LevelByName("Club"), -1);
    EXPECT_EQ(LevelByName("Begin"), -1);
    EXPECT_EQ(LevelByName(""), -1);
    EXPECT_EQ(LevelByName("500"), -1);
    EXPECT_EQ(LevelByName(" 500"), -1);
    EXPECT_EQ(LevelByName("Club 99999999999"), -1);
}

TEST(Ladder, BeginnerOverlooksAThreatSometimesAndExpertNever) {
    // Black's knight on d5 is attacked by a pawn; moving it away keeps the piece.
    const char* fen = "4k3/pp6/8/3n4/2P5/8/PP6/4K3 b - - 0 1";
    TTranspositionTable tt(1);
    TLevelPlayer player(tt);
    TSearchLimits limits;
    limits.MoveTime = 1000;
    int saved = 0;
    constexpr int Trials = 60;
    for (int seed = 0; seed < Trials; ++seed) {
        player.Seed(static_cast<unsigned>(seed));
        TPosition pos;
        ASSERT_TRUE(pos.SetFen(fen));
        const Move m = player.Choose(pos, 0, limits);
        ASSERT_NE(m, NoMove);
        if (FromSq(m) == 35 /* d5 */) ++saved;
        EXPECT_GT(See(pos, m), -150) << "never to a square where the piece is lost";
    }
    EXPECT_GT(saved, Trials / 4) << "the beginner sees most threats";
    EXPECT_LT(saved, Trials) << "but not every one";
    TPosition pos;
    pos.SetFen(fen);
    TSearchLimits depth;
    depth.Depth = 6;
    EXPECT_EQ(FromSq(player.Choose(pos, static_cast<int>(Ladder().size()) - 1, depth)), 35);
}

TEST(Ladder, EveryLevelSearchesWithItsOwnOptionsAndWeightsWhateverPlayedBefore) {
    // The measured levels keep the search and the evaluation they were measured with, also
    // when the same player played another level before (a hint, then the game's own level).
    const auto& levels = Ladder();
    TTranspositionTable tt(1);
    TLevelPlayer player(tt);
    TSearchLimits limits;
    limits.Depth = 2;
    const auto expectOwn = [&](int i) {
        EXPECT_EQ(player.Search.Options, levels[i].Options)
            << levels[i].Name;
        EXPECT_EQ(player.Search.EvalSet(), levels[i].Eval) << levels[i].Name;
    };
    TPosition pos;
    // Settings left by a full-strength search elsewhere on the same search.
    player.Search.Options = TSearchOptions::Full();
    player.Search.UseEval(TEvalSet::Tuned);
    for (int i = 0; i < static_cast<int>(levels.size()); ++i) {
        if (levels[i].PlainDepth) continue;
        player.Choose(pos, i, limits);
        expectOwn(i);
        player.Search.Options = TSearchOptions::Full();
        player.Search.UseEval(TEvalSet::Tuned);
        player.Choose(pos, static_cast<int>(levels.size()) - 1, limits);
        expectOwn(static_cast<int>(levels.size()) - 1);
    }
}

TEST(Ladder, BeginnerGameIsLegalAndNeverStalls) {
    TTranspositionTable tt(4);
    TLevelPlayer players[2] = {TLevelPlayer(tt), TLevelPlayer(tt)};
    players[0].Seed(1);
    players[1].Seed(2);
    TChessGame game;
    TPosition pos;
    TSearchLimits limits;
    limits.MoveTime = 1000;
    int plies = 0;
    bool over = false;
    game.OnMate = [&](TChessGame*, Square, Square) { over = true; };
    game.OnStaleMate = [&](TChessGame*, Square, Square) { over = true; };
    game.OnDraw = [&](TChessGame*) { over = true; };
    for (; plies < 300 && !over && !pos.IsFiftyMoves(); ++plies) {
        const auto start = std::chrono::steady_clock::now();
        const Move m = players[pos.Side].Choose(pos, pos.Side == White ? 0 : 1, limits);
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
        ASSERT_NE(m, NoMove) << pos.Fen();
        // The rules number squares from a8 = 1.
        const auto from = static_cast<Square>((FromSq(m) ^ 56) + 1);
        const auto to = static_cast<Square>((ToSq(m) ^ 56) + 1);
        if (KindOf(m) == KindPromotion) game.SetPromotionPiece("nbrq"[PromoType(m) - Knight]);
        ASSERT_TRUE(game.MakeMove(from, to)) << TPosition::MoveText(m) << " in " << pos.Fen();
        pos.DoMove(m);
        // Both boards agree square by square.
        const std::string rules = game.Position();
        for (int sq = 0; sq < 64; ++sq) {
            const char expected = pos.Board[sq] == NoPiece ? ' ' : "PNBRQKpnbrqk"[pos.Board[sq]];
            ASSERT_EQ(rules[sq ^ 56], expected) << "square " << sq << " after " << pos.Fen();
        }
    }
    EXPECT_GT(plies, 10);
    TMoveList legal;
    GenerateLegal(pos, legal);
    EXPECT_EQ(over, legal.Size == 0 || pos.IsRepetition() || pos.InsufficientMaterial() ||
                        plies == 300 || pos.IsFiftyMoves());
}
