// The strong search's evaluation and its two weight sets: the trace the tuner fits gives the
// evaluation back term by term, both sets score a position and its colour-mirrored twin
// alike, the pawn cache gives what a fresh evaluation finds, and the classic set, which the
// measured weaker levels play with, still searches exactly as when those levels were measured.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>

#include "StrongEval.h"
#include "StrongEvalTrace.h"
#include "StrongMoveGen.h"
#include "StrongSearch.h"

using namespace strong;

namespace {

const char* const Positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "6k1/5ppp/8/8/8/8/1P3PPP/6K1 b - - 0 1",
    "8/8/4k3/8/8/8/3NK3/2B5 w - - 0 1",            // no pawns: a small advantage scaled down
    "2kr3r/ppq2ppp/2n1b3/3pP3/3P4/P1PB1N2/2Q2PPP/R4RK1 b - - 3 17",
    "1k6/1P6/1K6/8/8/8/8/8 w - - 0 1",
};

// The position with colours swapped and the board turned upside down.
std::string Mirrored(const std::string& fen) {
    std::string board = fen.substr(0, fen.find(' '));
    std::string rest = fen.substr(fen.find(' ') + 1);
    std::string ranks[8];
    int r = 0;
    for (const char c : board) {
        if (c == '/') ++r;
        else ranks[r] += std::isalpha(static_cast<unsigned char>(c)) ? static_cast<char>(std::isupper(c) ? std::tolower(c) : std::toupper(c)) : c;
    }
    std::string out;
    for (int i = 7; i >= 0; --i)
        out += ranks[i] + (i ? "/" : "");
    const char side = rest[0] == 'w' ? 'b' : 'w';
    std::string castling = rest.substr(2, rest.find(' ', 2) - 2);
    for (char& c : castling)
        if (c != '-') c = static_cast<char>(std::isupper(c) ? std::tolower(c) : std::toupper(c));
    std::sort(castling.begin(), castling.end()); // "KQkq" order after the swap
    return out + " " + side + " " + (castling == "-" ? "-" : castling) + " - 0 1";
}

} // namespace

TEST(StrongEval, TheTraceGivesTheEvaluationBackAndMirrorsScoreAlike) {
    for (const TEvalSet set : {TEvalSet::Classic, TEvalSet::Tuned}) {
        const TEvalWeights& w = set == TEvalSet::Tuned ? TunedWeights : ClassicWeights;
        for (const char* fen : Positions) {
            TPosition pos, twin;
            ASSERT_TRUE(pos.SetFen(fen)) << fen;
            ASSERT_TRUE(twin.SetFen(Mirrored(fen))) << Mirrored(fen);
            TEvalTrace trace(w);
            const int white = EvaluateWhite(pos, set, trace);
            EXPECT_EQ(white, pos.Side == White ? Evaluate(pos, set) : -Evaluate(pos, set)) << fen;
            EXPECT_NEAR(TracedScore(trace, w), white, 3.0) << fen;
            EXPECT_EQ(Evaluate(pos, set), Evaluate(twin, set)) << fen;
        }
    }
}

TEST(StrongEval, WhatThePawnCacheKeepsIsWhatAFreshEvaluationFinds) {
    // Random games, so that the same pawns come back with the kings elsewhere and with the
    // other weight set; the traced evaluation never uses the cache.
    std::mt19937 random(5);
    for (int game = 0; game < 30; ++game) {
        TPosition pos;
        for (int ply = 0; ply < 120; ++ply) {
            TMoveList legal;
            GenerateLegal(pos, legal);
            if (legal.Size == 0) break;
            for (const TEvalSet set : {TEvalSet::Classic, TEvalSet::Tuned}) {
                TEvalTrace trace(set == TEvalSet::Tuned ? TunedWeights : ClassicWeights);
                const int fresh = EvaluateWhite(pos, set, trace);
                const int cached = pos.Side == White ? Evaluate(pos, set) : -Evaluate(pos, set);
                ASSERT_EQ(cached, fresh) << pos.Fen();
            }
            // Kings and pieces move more often than pawns.
            Move m = legal.Moves[random() % legal.Size];
            for (int tries = 0; tries < 3 && TypeOf(pos.Board[FromSq(m)]) == Pawn; ++tries)
                m = legal.Moves[random() % legal.Size];
            pos.DoMove(m);
        }
    }
}

TEST(StrongEval, TheClassicSetSearchesAsWhenTheLevelsWereMeasured) {
    // Nodes and moves of the search that measured the ladder's levels.
    struct TCase {
        const char* Fen;
        int Depth;
        std::int64_t Nodes;
        const char* Best;
    };
    const TCase cases[] = {
        {"r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3", 9, 35799, "g8f6"},
        {"r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9", 9, 45738, "c4d5"},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 12, 356424, "b4c4"},
    };
    for (const TCase& c : cases) {
        TTranspositionTable tt(4);
        TStrongSearch search(tt);
        TPosition pos;
        ASSERT_TRUE(pos.SetFen(c.Fen));
        TSearchLimits limits;
        limits.Depth = c.Depth;
        const Move best = search.Go(pos, limits);
        EXPECT_EQ(search.Nodes, c.Nodes) << c.Fen;
        EXPECT_EQ(TPosition::MoveText(best), c.Best) << c.Fen;
    }
}
