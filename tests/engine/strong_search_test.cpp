// The strong search: mates found and scored by their distance (also with a warm table),
// repetitions and the fifty-move rule seen inside the search, the limits and the game clock
// kept, helper threads that add to the search without changing its answer's rules, and a stop
// from another thread that ends the search, and its helpers, at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "StrongSearch.h"

using namespace strong;

namespace {

struct TSearcher {
    TTranspositionTable TT{4};
    TStrongSearch Search{TT};
    TPosition Pos;
    Move Go(const char* fen, TSearchLimits limits) {
        EXPECT_TRUE(Pos.SetFen(fen)) << fen;
        return Search.Go(Pos, limits);
    }
};

// The processor time of the calling thread, in milliseconds.
double ThreadMillis() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

TSearchLimits Depth(int d) {
    TSearchLimits l;
    l.Depth = d;
    return l;
}

} // namespace

TEST(StrongSearch, FindsMatesAndScoresThemByDistance) {
    TSearcher s;
    // Mate in one.
    EXPECT_EQ(TPosition::MoveText(s.Go("6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", Depth(4))), "d1d8");
    EXPECT_EQ(s.Search.LastScore, Mate - 1);
    // Mate in two, behind a quiet queen move (the search must not prune it away).
    EXPECT_EQ(TPosition::MoveText(
                  s.Go("2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1", Depth(12))),
              "g3g6");
    EXPECT_EQ(s.Search.LastScore, Mate - 3);
    // Mated: the losing side scores the distance negatively.
    s.Go("3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", Depth(3));
    EXPECT_EQ(s.Search.LastScore, -Mate);
}

TEST(StrongSearch, NoMoveInMateOrStalemate) {
    TSearcher s;
    EXPECT_EQ(s.Go("3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", Depth(3)), NoMove);
    EXPECT_EQ(s.Go("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", Depth(3)), NoMove);
}

TEST(StrongSearch, FiftyMoveRuleDrawsAWonEnding) {
    TSearcher s;
    // A rook up, but the 99th half-move without capture or pawn move: unless a mate comes
    // at once, the game is drawn.
    s.Go("8/8/8/4k3/8/8/8/R3K3 w - - 98 100", Depth(6));
    EXPECT_EQ(s.Search.LastScore, 0);
    s.Go("8/8/8/4k3/8/8/8/R3K3 w - - 0 100", Depth(6));
    EXPECT_GT(s.Search.LastScore, 300);
}

TEST(StrongSearch, RepetitionInTheGameHistoryCountsInTheSearch) {
    TSearcher s;
    // White is lost: a queen and a rook against a knight.
    const char* lost = "k7/8/8/4r3/3q4/8/8/1N5K w - - 0 1";
    s.Go(lost, Depth(6));
    EXPECT_LT(s.Search.LastScore, -800);
    // The same position after knight and king went there and back: going there again
    // repeats a position of the game, which the search scores as a draw.
    ASSERT_TRUE(s.Pos.SetFen(lost));
    for (const char* m : {"b1c3", "a8b8", "c3b1", "b8a8"})
        s.Pos.DoMove(s.Pos.ParseMove(m));
    const Move m = s.Search.Go(s.Pos, Depth(6));
    EXPECT_EQ(s.Search.LastScore, 0);
    EXPECT_EQ(TPosition::MoveText(m), "b1c3");
}

TEST(StrongSearch, PerpetualCheckInsideTheSearchIsADraw) {
    TSearcher s;
    // White is a queen and a rook down and mated unless it checks for ever: Qh5+ Kg8 Qe8+
    // Kh7 repeats. Only the repetition found inside the search scores it a draw.
    const Move m = s.Go("4Q3/pp4pk/8/8/8/1q6/2r2PPP/6K1 w - - 0 1", Depth(10));
    EXPECT_EQ(TPosition::MoveText(m), "e8h5");
    EXPECT_EQ(s.Search.LastScore, 0);
    // Black, to move in the same cycle, cannot escape it either.
    ASSERT_TRUE(s.Pos.SetFen("4Q3/pp4pk/8/8/8/1q6/2r2PPP/6K1 w - - 0 1"));
    s.Pos.DoMove(s.Pos.ParseMove("e8h5"));
    EXPECT_EQ(TPosition::MoveText(s.Search.Go(s.Pos, Depth(10))), "h7g8");
    EXPECT_EQ(s.Search.LastScore, 0);
}

TEST(StrongSearch, MateDistancesStayRightWithAWarmTableAsTheGameGoesOn) {
    // The table keeps what the first search learned; each later search reaches the same
    // positions at other plies and must still count the mate from its own root.
    TSearcher s;
    const char* fen = "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1";
    ASSERT_EQ(TPosition::MoveText(s.Go(fen, Depth(12))), "g3g6");
    EXPECT_EQ(s.Search.LastScore, Mate - 3);
    ASSERT_TRUE(s.Pos.SetFen(fen));
    s.Pos.DoMove(s.Pos.ParseMove("g3g6"));
    const Move reply = s.Search.Go(s.Pos, Depth(8));
    ASSERT_NE(reply, NoMove);
    EXPECT_EQ(s.Search.LastScore, -(Mate - 2)) << "mated after the reply and the mate";
    s.Pos.DoMove(reply);
    s.Search.Go(s.Pos, Depth(8));
    EXPECT_EQ(s.Search.LastScore, Mate - 1);
    // Searched again from the start with the warm table: still mate in two, not sooner.
    s.Go(fen, Depth(12));
    EXPECT_EQ(s.Search.LastScore, Mate - 3);
}

TEST(StrongSearch, TheStrongerOptionsKeepMatesDrawsAndReplayAfterANewGame) {
    // A stronger level's options learn from the searches they run (the evaluation's
    // correction, the captures' history): the exact scores stay exact, and after NewGame the
    // same search runs the same nodes again, which the match measurements rely on.
    TSearcher s;
    s.Search.Options = TSearchOptions::Full();
    EXPECT_EQ(TPosition::MoveText(
                  s.Go("2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1", Depth(12))),
              "g3g6");
    EXPECT_EQ(s.Search.LastScore, Mate - 3);
    EXPECT_EQ(TPosition::MoveText(s.Go("4Q3/pp4pk/8/8/8/1q6/2r2PPP/6K1 w - - 0 1", Depth(10))),
              "e8h5");
    EXPECT_EQ(s.Search.LastScore, 0);
    s.Go("8/8/8/4k3/8/8/8/R3K3 w - - 98 100", Depth(6));
    EXPECT_EQ(s.Search.LastScore, 0);
    const char* middleGame = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9";
    std::int64_t nodes[2] = {};
    Move moves[2] = {};
    for (int run = 0; run < 2; ++run) {
        s.Search.NewGame();
        for (const char* fen : {middleGame, "6k1/pp3ppp/4p3/8/2rP4/P3PK2/1P3PPP/2R5 w - - 0 25"}) {
            moves[run] = s.Go(fen, Depth(9));
            nodes[run] += s.Search.Nodes;
        }
    }
    EXPECT_EQ(nodes[0], nodes[1]);
    EXPECT_EQ(moves[0], moves[1]);
}

TEST(StrongSearch, AGameClockIsNeverOverrun) {
    TSearcher s;
    const char* fen = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8";
    struct TClock {
        int Time, Inc, MovesToGo;
    };
    // Little time left; the last move before the control; an increment larger than the
    // clock; a long control.
    for (const TClock c : {TClock{60, 0, 0}, TClock{400, 0, 1}, TClock{150, 5000, 0},
                           TClock{5000, 0, 2}, TClock{40, 0, 0}}) {
        TSearchLimits limits;
        limits.Time[White] = c.Time;
        limits.Inc[White] = c.Inc;
        limits.Time[Black] = 100000; // the opponent's clock does not count
        limits.MovesToGo = c.MovesToGo;
        // The search's own processor time: on a busy machine the wall clock also counts the
        // time the thread waited for a processor, which no search can help.
        const double start = ThreadMillis();
        EXPECT_NE(s.Go(fen, limits), NoMove);
        EXPECT_LT(ThreadMillis() - start, c.Time)
            << c.Time << " ms on the clock, " << c.Inc << " increment, " << c.MovesToGo << " to go";
    }
}

TEST(StrongSearch, KeepsNodeAndTimeLimits) {
    TSearcher s;
    TSearchLimits nodes;
    nodes.Nodes = 5000;
    s.Go("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", nodes);
    EXPECT_LE(s.Search.Nodes, 5001);
    TSearchLimits time;
    time.MoveTime = 200;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(s.Go("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", time), NoMove);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
    TSearchLimits clock;
    clock.Time[White] = 1000;
    clock.Inc[White] = 0;
    const auto start2 = std::chrono::steady_clock::now();
    s.Go("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", clock);
    EXPECT_LT(std::chrono::steady_clock::now() - start2, std::chrono::milliseconds(400))
        << "a second on the clock is not spent on one move";
}

TEST(StrongSearch, AMoveTimeWithRoomAboveItStaysInsideTheRoom) {
    TSearcher s;
    // A quiet opening, a middle game full of captures, and an ending where the best move
    // only shows deep: none passes the most a move may take.
    for (const char* fen : {"r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
                            "r1b2rk1/pp1nqppp/2p1pn2/3p4/2PP4/2NBPN2/PPQ2PPP/R3K2R w KQ - 0 10",
                            "8/8/1p1k4/1P6/2PK4/8/8/8 w - - 0 1"}) {
        TSearchLimits limits;
        limits.MoveTime = 100;
        limits.MoveTimeMax = 300;
        const double start = ThreadMillis();
        EXPECT_NE(s.Go(fen, limits), NoMove);
        EXPECT_LT(ThreadMillis() - start, 300) << fen;
    }
    // A most below the move time leaves the move time as it is.
    TSearchLimits exact;
    exact.MoveTime = 200;
    exact.MoveTimeMax = 50;
    const auto start = std::chrono::steady_clock::now();
    s.Go("r1b2rk1/pp1nqppp/2p1pn2/3p4/2PP4/2NBPN2/PPQ2PPP/R3K2R w KQ - 0 10", exact);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
}

TEST(StrongSearch, HelperThreadsKeepMatesDrawsAndTheNodeLimit) {
    TSearcher s;
    s.Search.Options.Threads = 3;
    EXPECT_EQ(TPosition::MoveText(
                  s.Go("2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1", Depth(12))),
              "g3g6");
    EXPECT_EQ(s.Search.LastScore, Mate - 3);
    s.Go("8/8/8/4k3/8/8/8/R3K3 w - - 98 100", Depth(8));
    EXPECT_EQ(s.Search.LastScore, 0) << "the fifty-move rule, whatever the helpers stored";
    // The limit counts the searching thread's nodes; the reports count the helpers' too
    // (however little of the processors a loaded machine leaves them).
    std::int64_t helpersReported = 0;
    s.Search.OnReport = [&](const TSearchReport& r) {
        EXPECT_GE(r.Nodes, s.Search.Nodes);
        helpersReported = std::max(helpersReported, r.Nodes - s.Search.Nodes);
    };
    TSearchLimits nodes;
    nodes.Nodes = 200000;
    const char* middleGame = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8";
    EXPECT_NE(s.Go(middleGame, nodes), NoMove);
    EXPECT_LE(s.Search.Nodes, 200001);
    EXPECT_GT(helpersReported, 0);
    // With no legal move no helper starts.
    EXPECT_EQ(s.Go("3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", Depth(3)), NoMove);
}

TEST(StrongSearch, StopFromAnotherThreadEndsTheSearchAtOnce) {
    // With either evaluation (the net keeps its units per searching thread), alone and with
    // a helper that must stop as well.
    for (const int threads : {1, 2}) {
        for (const TEvalSet set : {TEvalSet::Classic, TEvalSet::Net}) {
            TSearcher s;
            s.Search.UseEval(set);
            s.Search.Options.Threads = threads;
            TSearchLimits infinite;
            infinite.Infinite = true;
            s.Pos.SetFen("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8");
            Move best = NoMove;
            std::thread worker([&] { best = s.Search.Go(s.Pos, infinite); });
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            const auto stopAt = std::chrono::steady_clock::now();
            s.Search.Stop = true;
            worker.join();
            EXPECT_LT(std::chrono::steady_clock::now() - stopAt, std::chrono::milliseconds(50))
                << threads << " threads";
            EXPECT_NE(best, NoMove);
            EXPECT_NE(s.Pos.ParseMove(TPosition::MoveText(best)), NoMove) << "a legal move";
            EXPECT_EQ(s.Pos.Fen(), "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 1")
                << "the board taken back";
        }
    }
}
