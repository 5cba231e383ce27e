// The engine against RefEngine, the square-by-square transcription of the same algorithms,
// on positions from seeded random games and on random boards of arbitrary pieces: the same
// lists in the same order with the same scores, the same PlayMove answers and boards, the
// same attacks, evaluation and perft counts, and the same iterations, nodes and lines.

#include <bit>
#include <random>

#include "EngineTestSupport.h"

using namespace enginetest;

namespace {

constexpr const char* Starts[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
};

// Positions from random play plus random boards, all as game input.
std::vector<TEngineInput> Positions(unsigned seed, int games, int junk, unsigned density = 15) {
    std::mt19937 rng(seed);
    std::vector<TEngineInput> out;
    auto e = std::make_unique<TChessEngine>();
    for (int g = 0; g < games; ++g) {
        e->LoadPosition(Fen(Starts[g % 5]));
        RandomWalk(*e, rng, static_cast<int>(rng() % 60));
        out.push_back(InputOf(*e));
    }
    for (int j = 0; j < junk; ++j)
        out.push_back(RandomJunk(rng, density));
    return out;
}

struct TPair {
    std::unique_ptr<TChessEngine> Fast = std::make_unique<TChessEngine>();
    std::unique_ptr<RefEngine> Ref = std::make_unique<RefEngine>(*Fast);

    void Load(const TEngineInput& in) {
        Fast->LoadPosition(in);
        Ref->Load(in);
    }
    bool SameBoard() const {
        return std::memcmp(Fast->Colour, Ref->Colour, sizeof Ref->Colour) == 0 &&
               std::memcmp(Fast->Piece, Ref->Piece, sizeof Ref->Piece) == 0 &&
               Fast->Side == Ref->Side && Fast->XSide == Ref->XSide &&
               Fast->CastleRights == Ref->CastleRights && Fast->EnPassantSq == Ref->EnPassantSq &&
               Fast->Ply == Ref->Ply && Fast->BoardConsistent();
    }
    std::vector<std::pair<std::uint32_t, int>> Lists(bool captures) {
        if (captures)
            Fast->GenerateCaptures(), Ref->Generate(true);
        else
            Fast->GenerateMoves(), Ref->Generate(false);
        std::vector<std::pair<std::uint32_t, int>> a, b;
        auto word = [](TEngineMove m) { return std::bit_cast<std::uint32_t>(m); };
        for (int i = Fast->FirstMove[Fast->Ply]; i < Fast->MoveEnd[Fast->Ply]; ++i)
            a.emplace_back(word(Fast->MoveStack[i].Move), Fast->MoveStack[i].Score);
        for (int i = Ref->FirstMove[Ref->Ply]; i < Ref->MoveEnd[Ref->Ply]; ++i)
            b.emplace_back(word(Ref->MoveStack[i].Move), Ref->MoveStack[i].Score);
        EXPECT_EQ(a, b);
        return a;
    }
};

} // namespace

TEST(EngineReference, BoardGenerationAttacksAndEvaluationAgree) {
    std::mt19937 rng(99);
    TPair p;
    int positions = 0;
    for (const TEngineInput& in : Positions(2024, 150, 400)) {
        p.Load(in);
        ASSERT_TRUE(p.SameBoard());
        // The same history on both sides, so quiet scores differ from move to move.
        for (int f = 0; f < 64; ++f)
            for (int t = 0; t < 64; ++t)
                p.Fast->History[f][t] = p.Ref->History[f][t] = rng() % 50;
        for (int side = 0; side < 2; ++side) {
            ASSERT_EQ(p.Fast->InCheck(side), p.Ref->InCheck(side));
            for (int sq = 0; sq < 64; ++sq)
                ASSERT_EQ(p.Fast->Attacked(sq, side), p.Ref->Attacked(sq, side)) << sq;
        }
        p.Fast->BuildPieceSquareTables();
        p.Ref->BuildPieceSquareTables();
        ASSERT_EQ(std::memcmp(p.Fast->PieceSquare, p.Ref->PieceSquare, sizeof p.Ref->PieceSquare),
                  0);
        ASSERT_EQ(p.Fast->Evaluate(), p.Ref->Evaluate());
        p.Lists(true);
        const auto moves = p.Lists(false);
        for (const auto& [w, score] : moves) {
            const TEngineMove m = std::bit_cast<TEngineMove>(w);
            const bool ok = p.Fast->PlayMove(m);
            ASSERT_EQ(ok, p.Ref->PlayMove(m)) << EngineMoveText(m);
            ASSERT_TRUE(p.SameBoard()) << EngineMoveText(m);
            if (!ok) continue;
            ASSERT_EQ(p.Fast->Evaluate(), p.Ref->Evaluate());
            p.Fast->UndoMove();
            p.Ref->UndoMove();
            ASSERT_TRUE(p.SameBoard());
        }
        ++positions;
    }
    EXPECT_EQ(positions, 550);
}

TEST(EngineReference, PerftCountsAgree) {
    TPair p;
    for (const TEngineInput& in : Positions(77, 60, 120)) {
        p.Load(in);
        for (int d = 1; d <= 3; ++d)
            ASSERT_EQ(p.Fast->Perft(d), p.Ref->Perft(d)) << d;
        std::vector<std::pair<TEngineMove, std::uint64_t>> split;
        p.Fast->Divide(2, split);
        std::uint64_t total = 0;
        for (auto& [m, n] : split)
            total += n;
        ASSERT_EQ(total, p.Ref->Perft(2));
    }
}

TEST(EngineReference, SearchIterationsNodesAndLinesAgree) {
    TPair p;
    int searched = 0;
    // A random board full of queens grows a quiescence tree too large for the plain
    // version: the boards searched here are sparse, and get depth 2.
    for (TEngineInput in : Positions(5, 30, 30, 3)) {
        in.SearchDepth = searched >= 30 ? 2 : 3 + (searched % 3 == 0);
        std::vector<std::pair<int, std::int64_t>> fast;
        p.Fast->OnIteration = [&](int, int score, std::int64_t n) { fast.emplace_back(score, n); };
        p.Fast->Think(in);
        p.Ref->Think(in);
        ASSERT_EQ(fast, p.Ref->Iterations) << searched;
        ASSERT_EQ(p.Fast->PVLength[0], p.Ref->PVLength[0]);
        for (int j = 0; j < p.Ref->PVLength[0]; ++j)
            ASSERT_EQ(p.Fast->PV[0][j], p.Ref->PV[0][j]);
        ASSERT_EQ(p.Fast->BestMove(), p.Ref->PV[0][0]);
        ASSERT_TRUE(p.SameBoard());
        for (const auto& [score, n] : fast) {
            EXPECT_GE(score, -TChessEngine::Infinity);
            EXPECT_LE(score, TChessEngine::Infinity);
        }
        ++searched;
    }
}
