// The strong search's board: move generation counted against the published perft numbers,
// the Zobrist key kept by make and take back equal to the key of the same position read
// afresh, FEN in and out, and the draws the search must see (repetition, fifty moves, dead
// material).

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "StrongMoveGen.h"
#include "StrongMovePicker.h"
#include "StrongSee.h"

using namespace strong;

namespace {

TPosition At(const char* fen) {
    TPosition p;
    EXPECT_TRUE(p.SetFen(fen)) << fen;
    return p;
}

void Play(TPosition& p, std::initializer_list<const char*> moves) {
    for (const char* text : moves) {
        const Move m = p.ParseMove(text);
        ASSERT_NE(m, NoMove) << text << " in " << p.Fen();
        p.DoMove(m);
    }
}

} // namespace

TEST(StrongBoard, PerftMatchesPublishedCounts) {
    struct {
        const char* Fen;
        int Depth;
        std::uint64_t Count;
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 197281},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 97862},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, 674624},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 62379},
        {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3, 89890},
    };
    for (const auto& c : cases) {
        TPosition p = At(c.Fen);
        EXPECT_EQ(Perft(p, c.Depth), c.Count) << c.Fen;
        EXPECT_EQ(p.Fen().substr(0, 20), std::string(c.Fen).substr(0, 20)) << "taken back exactly";
    }
}

TEST(StrongBoard, KeyAfterMovesEqualsKeyOfTheSamePositionReadAfresh) {
    std::mt19937 random(7);
    for (int game = 0; game < 20; ++game) {
        TPosition p;
        for (int ply = 0; ply < 80; ++ply) {
            TMoveList legal;
            GenerateLegal(p, legal);
            if (legal.Size == 0) break;
            p.DoMove(legal.Moves[random() % legal.Size]);
            TPosition fresh = At(p.Fen().c_str());
            ASSERT_EQ(fresh.Hash(), p.Hash()) << p.Fen();
            for (int set = 0; set < 2; ++set) {
                ASSERT_EQ(fresh.PsqMg[set], p.PsqMg[set]);
                ASSERT_EQ(fresh.PsqEg[set], p.PsqEg[set]);
            }
            ASSERT_EQ(fresh.Phase, p.Phase);
        }
    }
}

TEST(StrongBoard, QuiescenceOffersEveryQuietCheckThatKeepsThePiece) {
    // Random games from positions rich in pins, discoveries and castling; in each position,
    // the legal quiet moves the quiescence picker hands out are exactly the quiet checks (by
    // the board's own judgement, which the move played then confirms) that do not lose the
    // piece.
    const char* starts[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "5k2/8/8/8/8/8/8/4K2R w K - 0 1",      // castling gives check
        "4k3/8/8/4N3/8/8/4R3/1B2K3 w - - 0 1", // a knight uncovers a rook
        "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9",
    };
    std::mt19937 random(11);
    TOrderingTables tables;
    tables.Clear();
    int checks = 0;
    for (const char* start : starts) {
        for (int game = 0; game < 12; ++game) {
            TPosition p = At(start);
            for (int ply = 0; ply < 60; ++ply) {
                TMoveList legal;
                GenerateLegal(p, legal);
                if (legal.Size == 0) break;
                if (!p.InCheck()) {
                    std::vector<Move> expected, offered;
                    TMoveList quiet;
                    GenerateQuiet(p, quiet);
                    for (const Move m : quiet) {
                        const bool gives = p.GivesCheck(m);
                        if (KindOf(m) != KindCastle) {
                            p.DoMove(m);
                            ASSERT_EQ(p.InCheck(), gives) << p.Fen();
                            p.TakeBack();
                        }
                        if (KindOf(m) != KindPromotion && gives && See(p, m) >= 0 && p.IsLegal(m))
                            expected.push_back(m);
                    }
                    TMovePicker picker(p, NoMove, tables, true);
                    for (Move m = picker.Next(); m != NoMove; m = picker.Next())
                        if (!IsNoisy(p, m) && p.IsLegal(m)) offered.push_back(m);
                    std::sort(expected.begin(), expected.end());
                    std::sort(offered.begin(), offered.end());
                    ASSERT_EQ(offered, expected) << p.Fen();
                    checks += static_cast<int>(expected.size());
                }
                p.DoMove(legal.Moves[random() % legal.Size]);
            }
        }
    }
    EXPECT_GT(checks, 200) << "the games gave few checks to compare";
}

TEST(StrongBoard, RejectsPositionsThatAreNotChess) {
    TPosition p;
    for (const char* bad : {"", "garbage", "8/8/8/8/8/8/8/8 w - - 0 1",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",
                            "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                            "k7/8/8/8/8/8/8/KP6/8 w - - 0 1", "P3k3/8/8/8/8/8/8/4K3 w - - 0 1",
                            // the side not to move is in check
                            "4k2R/8/8/8/8/8/8/4K3 w - - 0 1"}) {
        EXPECT_FALSE(p.SetFen(bad)) << bad;
        EXPECT_EQ(p.Fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    }
    EXPECT_TRUE(p.SetFen("4k3/8/8/8/8/8/8/4K2r w - - 0 1")) << "White in check, to move";
}

TEST(StrongBoard, RepetitionIsFoundOnlySinceTheLastIrreversibleMove) {
    TPosition p;
    Play(p, {"g1f3", "g8f6", "f3g1"});
    EXPECT_FALSE(p.IsRepetition());
    Play(p, {"f6g8"});
    EXPECT_TRUE(p.IsRepetition()) << "the start position again";
    Play(p, {"e2e4", "e7e5", "g1f3", "g8f6", "f3g1"});
    EXPECT_FALSE(p.IsRepetition());
    Play(p, {"f6g8"});
    EXPECT_TRUE(p.IsRepetition());
    // The same squares with the right to castle lost are another position.
    TPosition q = At("r3k3/8/8/8/8/8/8/4K2R w K - 0 1");
    Play(q, {"h1h2", "a8a7", "h2h1", "a7a8"});
    EXPECT_FALSE(q.IsRepetition());
    Play(q, {"h1h2", "a8a7", "h2h1", "a7a8"});
    EXPECT_TRUE(q.IsRepetition());
}

TEST(StrongBoard, FiftyMovesAndDeadMaterial) {
    TPosition p = At("4k3/8/8/8/8/8/8/R3K3 w - - 99 80");
    EXPECT_FALSE(p.IsFiftyMoves());
    Play(p, {"a1a2"});
    EXPECT_TRUE(p.IsFiftyMoves());
    EXPECT_TRUE(At("4k3/8/8/8/8/8/8/2B1K3 w - - 0 1").InsufficientMaterial());
    EXPECT_TRUE(At("4k3/8/8/8/8/8/8/4K1n1 w - - 0 1").InsufficientMaterial());
    EXPECT_FALSE(At("4k3/8/8/8/8/8/8/1NB1K3 w - - 0 1").InsufficientMaterial());
    EXPECT_FALSE(At("4k3/8/8/8/8/8/P7/4K3 w - - 0 1").InsufficientMaterial());
}

TEST(StrongBoard, EnPassantSquareOnlyWhenACaptureIsPossible) {
    TPosition p;
    Play(p, {"e2e4"});
    EXPECT_EQ(p.Fen(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    Play(p, {"d7d5", "e4e5", "f7f5"});
    EXPECT_NE(p.ParseMove("e5f6"), NoMove);
    EXPECT_EQ(p.ParseMove("e5d6"), NoMove) << "the chance has passed";
}
