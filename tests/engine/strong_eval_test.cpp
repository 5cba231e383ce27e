// The strong search's evaluation, its two weight sets and its net: the trace the tuner fits gives the
// evaluation back term by term, both sets score a position and its colour-mirrored twin
// alike, the pawn cache gives what a fresh evaluation finds, and the classic set, which the
// measured weaker levels play with, still searches exactly as when those levels were measured.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "StrongEval.h"
#include "StrongEvalTrace.h"
#include "StrongMoveGen.h"
#include "StrongNet.h"
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

namespace {

// The bytes of a net file holding the given integer weights.
std::vector<unsigned char> NetFile(const TNetWeights& w, int hidden = NetHidden) {
    std::vector<unsigned char> out = {'Z', 'E', 'L', 'N', 'E', 'T', '1', 0};
    const auto put = [&](std::int64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xff));
    };
    put(hidden, 4);
    for (const auto* part : {&w.W1, &w.B1, &w.W2})
        for (const std::int16_t v : *part) put(v, 2);
    for (const std::int32_t v : w.P) put(v, 4);
    put(w.B2, 4);
    return out;
}

} // namespace

TEST(StrongNet, AFileIsReadOnlyWhenItIsANetOfTheRightShape) {
    TNetWeights w = TNetWeights::Empty();
    w.W1[5] = -7;
    w.B1[NetHidden - 1] = 300;
    w.W2[NetHidden] = 1234;
    w.P[NetInputs - 1] = -100000;
    w.B2 = -99999;
    const std::vector<unsigned char> good = NetFile(w);
    TNetWeights read;
    ASSERT_TRUE(ReadNet(good.data(), good.size(), read));
    EXPECT_EQ(read.W1, w.W1);
    EXPECT_EQ(read.B1, w.B1);
    EXPECT_EQ(read.W2, w.W2);
    EXPECT_EQ(read.P, w.P);
    EXPECT_EQ(read.B2, w.B2);

    std::vector<unsigned char> bad = good;
    bad[0] = 'X';
    EXPECT_FALSE(ReadNet(bad.data(), bad.size(), read)) << "another magic";
    EXPECT_FALSE(ReadNet(good.data(), good.size() - 1, read)) << "cut short";
    bad = good;
    bad.push_back(0);
    EXPECT_FALSE(ReadNet(bad.data(), bad.size(), read)) << "too long";
    const std::vector<unsigned char> other = NetFile(w, NetHidden / 2);
    EXPECT_FALSE(ReadNet(other.data(), other.size(), read)) << "another hidden size";
}

TEST(StrongNet, EachSideSeesItsOwnPiecesFirstAndTheBoardFromItsSide) {
    // One unit counts the viewer's own queens, the other side's unit weighs against: the
    // side to move with the only queen is a net's full unit ahead, whoever it is.
    TNetWeights w = TNetWeights::Empty();
    for (int sq = 0; sq < 64; ++sq)
        w.W1[NetFeature(White, MakePiece(White, Queen), sq) * NetHidden] = NetQA;
    w.W2[0] = NetQB;
    w.W2[NetHidden] = -NetQB;
    TPosition pos;
    ASSERT_TRUE(pos.SetFen("4k3/8/8/8/8/8/8/3QK3 w - - 0 1"));
    EXPECT_EQ(EvaluateNet(pos, w), NetScale);
    ASSERT_TRUE(pos.SetFen("4k3/8/8/8/8/8/8/3QK3 b - - 0 1"));
    EXPECT_EQ(EvaluateNet(pos, w), -NetScale);
    ASSERT_TRUE(pos.SetFen("3qk3/8/8/8/8/8/8/4K3 b - - 0 1"));
    EXPECT_EQ(EvaluateNet(pos, w), NetScale);

    // Black sees the board turned: its king on e8 is on its own first rank's e-file. (A net
    // keeps its weights once it has evaluated, so this is another one.)
    TNetWeights kingNet = TNetWeights::Empty();
    kingNet.W1[NetFeature(White, MakePiece(White, King), 4) * NetHidden] = NetQA; // own king on e1
    kingNet.W2[0] = NetQB;
    ASSERT_TRUE(pos.SetFen("4k3/8/8/8/8/8/8/4K3 b - - 0 1"));
    EXPECT_EQ(EvaluateNet(pos, kingNet), NetScale) << "Black's king on e8 is its own e1";
    ASSERT_TRUE(pos.SetFen("3k4/8/8/8/8/8/8/4K3 b - - 0 1"));
    EXPECT_EQ(EvaluateNet(pos, kingNet), 0);

    // The inputs' own values count for the side to move's view and against the other's.
    TNetWeights knightNet = TNetWeights::Empty();
    for (int sq = 0; sq < 64; ++sq)
        knightNet.P[NetFeature(White, MakePiece(White, Knight), sq)] = NetQA * NetQB / 4;
    ASSERT_TRUE(pos.SetFen("4k3/8/8/8/8/8/8/1N2K3 w - - 0 1"));
    EXPECT_EQ(EvaluateNet(pos, knightNet), NetScale / 4);
    ASSERT_TRUE(pos.SetFen("4k3/8/8/8/8/8/8/1N2K3 b - - 0 1"));
    EXPECT_EQ(EvaluateNet(pos, knightNet), -NetScale / 4);
}

TEST(StrongNet, TheShippedNetScoresMirrorsAlikeAndKnowsMaterial) {
    const TNetWeights& shipped = BuiltInNet();
    EXPECT_TRUE(std::any_of(shipped.W1.begin(), shipped.W1.end(), [](std::int16_t w) { return w != 0; }))
        << "the net compiled in was not read";
    for (const char* fen : Positions) {
        TPosition pos, twin;
        ASSERT_TRUE(pos.SetFen(fen));
        ASSERT_TRUE(twin.SetFen(Mirrored(fen)));
        EXPECT_EQ(Evaluate(pos, TEvalSet::Net), Evaluate(twin, TEvalSet::Net)) << fen;
    }
    // The start position without one side's queen, either side to move.
    TPosition pos;
    ASSERT_TRUE(pos.SetFen("rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"));
    EXPECT_GT(Evaluate(pos, TEvalSet::Net), 400);
    ASSERT_TRUE(pos.SetFen("rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"));
    EXPECT_LT(Evaluate(pos, TEvalSet::Net), -400);
    ASSERT_TRUE(pos.SetFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"));
    EXPECT_LT(std::abs(Evaluate(pos, TEvalSet::Net)), 80);
}

TEST(StrongNet, UnitsBroughtUpToDateMoveByMoveAreThoseCountedAfresh) {
    // Random games from positions with castling, en passant and promotions at hand, every
    // legal move tried at every ply, with null moves between, as the search plays them; a
    // position set up from its FEN is counted from nothing.
    const char* starts[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
        "4k3/1P4P1/8/8/8/8/1p4p1/4K3 w - - 0 1",
    };
    std::mt19937 random(11);
    // A net of random weights, so that every input counts.
    TNetWeights net = TNetWeights::Empty();
    for (auto* part : {&net.W1, &net.B1, &net.W2})
        for (std::int16_t& v : *part) v = static_cast<std::int16_t>(static_cast<int>(random() % 201) - 100);
    for (std::int32_t& v : net.P) v = static_cast<int>(random() % 20001) - 10000;
    const auto sameAsFresh = [&](const TPosition& pos) {
        TPosition fresh;
        return fresh.SetFen(pos.Fen()) && EvaluateNet(pos, net) == EvaluateNet(fresh, net);
    };
    for (const char* start : starts)
        for (int game = 0; game < 6; ++game) {
            TPosition pos;
            ASSERT_TRUE(pos.SetFen(start));
            for (int ply = 0; ply < 60; ++ply) {
                ASSERT_TRUE(sameAsFresh(pos)) << pos.Fen();
                TMoveList legal;
                GenerateLegal(pos, legal);
                if (legal.Size == 0) break;
                if (random() % 8 == 0 && !pos.InCheck()) {
                    pos.DoNull();
                    ASSERT_TRUE(sameAsFresh(pos)) << "null move to " << pos.Fen();
                    pos.TakeBackNull();
                }
                for (const Move m : legal) {
                    pos.DoMove(m);
                    ASSERT_TRUE(sameAsFresh(pos)) << TPosition::MoveText(m) << " to " << pos.Fen();
                    pos.TakeBack();
                }
                pos.DoMove(legal.Moves[random() % legal.Size]);
            }
        }
}
