// Move counts of known positions, walked through MakeMove and StepBack. A pair of squares
// is one move here, so the positions are chosen where no promotion lies within reach.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

std::uint64_t Perft(TChessGame& game, int depth) {
    if (depth == 0) return 1;
    const int side = game.WhiteToMove() ? 1 : 0;
    std::uint64_t nodes = 0;
    for (int from = 1; from <= 64; ++from) {
        if (game.PieceColor(from) != side) continue;
        for (int to = 1; to <= 64; ++to) {
            const auto a = static_cast<Square>(from);
            const auto b = static_cast<Square>(to);
            if (!game.IsLegalMove(a, b)) continue;
            const std::string before = game.Position();
            EXPECT_TRUE(game.MakeMove(a, b));
            nodes += Perft(game, depth - 1);
            EXPECT_TRUE(game.StepBack());
            EXPECT_EQ(game.Position(), before);
        }
    }
    return nodes;
}

TEST(Perft, StartPosition) {
    TChessGame game;
    EXPECT_EQ(Perft(game, 1), 20u);
    EXPECT_EQ(Perft(game, 2), 400u);
    EXPECT_EQ(Perft(game, 3), 8902u);
}

TEST(Perft, CastlingPinsAndEnPassant) {
    // A crowded middle game with both sides able to castle either way.
    TChessGame game;
    game.SetPosition("r   k  rp ppqpb bn  pnp    PN    p  P     N  Q pPPPBBPPPR   K  R");
    EXPECT_EQ(Perft(game, 1), 48u);
    EXPECT_EQ(Perft(game, 2), 2039u);
    EXPECT_EQ(Perft(game, 3), 97862u);
}

} // namespace
