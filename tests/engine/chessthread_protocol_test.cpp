// The search thread's cycle without a window toolkit: the snapshot taken at each resume,
// the move handed over with squares 1..64 and its promotion piece, a hand-over dropped when
// the abort came first, and cycles that do not search when the board finds it is not the
// computer's turn.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <tuple>

#include "ChessThread.h"
#include "Square.h"

using namespace std::chrono_literals;

namespace {

const char* const kStart = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

struct ChessThreadProtocol : ::testing::Test {
    // The window thread's wake-up: the queue calls it when a call arrives in it empty.
    std::mutex M;
    std::condition_variable Cv;
    int Wakes = 0, WakesSeen = 0;
    TCallQueue Window{[this] {
        std::lock_guard lock(M);
        ++Wakes;
        Cv.notify_all();
    }};
    TChessThread Thread;
    TBoardSnapshot Board; // what the fake board holds
    int Reads = 0, Cycles = 0;
    std::vector<std::tuple<int, int, char>> Moves;

    // Waits until the thread has queued a call since the last wait.
    bool WaitForCall(std::chrono::milliseconds timeout) {
        std::unique_lock lock(M);
        const bool woken = Cv.wait_for(lock, timeout, [&] { return Wakes != WakesSeen; });
        WakesSeen = Wakes;
        return woken;
    }

    void SetUp() override {
        std::memcpy(Board.Input.Board, kStart, 64);
        Board.Input.SearchDepth = 1;
        Thread.SetPostFunction(Window.Poster());
        Thread.ReadBoard = [this](TBoardSnapshot& s) {
            ++Reads;
            s = Board;
        };
        Thread.MoveCallback = [this](int from, int to, char promotion) {
            Moves.emplace_back(from, to, promotion);
        };
        // Like the board: end every cycle parked.
        Thread.CycleEndCallback = [this] {
            ++Cycles;
            Thread.ThinkingFlag = false;
            Thread.Suspend();
        };
    }

    // Runs window-thread calls until the thread has parked at the end of a cycle.
    bool RunCycle() {
        const int cycles = Cycles;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (Cycles == cycles) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            WaitForCall(5ms);
            Window.RunPending();
        }
        return true;
    }
};

} // namespace

TEST_F(ChessThreadProtocol, SearchesTheSnapshotAndHandsOverBoardSquares) {
    Board.ComputersTurn = true;
    Thread.Resume();
    ASSERT_TRUE(RunCycle());
    EXPECT_EQ(Reads, 1);
    ASSERT_EQ(Moves.size(), 1u);
    // A White opening move: from rank 2 or 1 (squares 49..64) to ranks 3 or 4 (33..48).
    const auto [from, to, promotion] = Moves[0];
    EXPECT_GE(from, 49);
    EXPECT_LE(from, 64);
    EXPECT_GE(to, 33);
    EXPECT_LE(to, 48);
    EXPECT_EQ(promotion, 0);
    EXPECT_FALSE(Thread.ThinkingFlag);

    // Black to move now and the board says it is not the computer's turn: a cycle without
    // a search.
    Board.Input.WhiteToMove = false;
    Board.ComputersTurn = false;
    Thread.Resume();
    ASSERT_TRUE(RunCycle());
    EXPECT_EQ(Reads, 2);
    EXPECT_EQ(Moves.size(), 1u);
}

TEST_F(ChessThreadProtocol, AHandOverThatArrivesAfterTheAbortIsDropped) {
    Board.ComputersTurn = true;
    Thread.Resume();
    ASSERT_TRUE(WaitForCall(10s)); // the move is on its way
    Thread.AbortSearch = true;
    ASSERT_TRUE(RunCycle());
    EXPECT_TRUE(Moves.empty());
    EXPECT_TRUE(Thread.Suspended());
}

TEST_F(ChessThreadProtocol, AnAbortedSearchHandsNothingOverAndStopsPromptly) {
    Board.ComputersTurn = true;
    Board.Input.SearchDepth = 8; // seconds from the start position
    Thread.Resume();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!Thread.ThinkingFlag && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(Thread.ThinkingFlag);
    const auto t0 = std::chrono::steady_clock::now();
    Thread.AbortSearch = true;
    ASSERT_TRUE(RunCycle());
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 500ms);
    EXPECT_TRUE(Moves.empty());
}

TEST_F(ChessThreadProtocol, APromotionIsHandedOverWithItsPiece) {
    // White: king e1, pawn b7; Black: king h5. b7-b8 makes a queen, whatever else happens.
    std::string p(64, ' ');
    p[E1 - 1] = 'K', p[B7 - 1] = 'P', p[H5 - 1] = 'k';
    std::memcpy(Board.Input.Board, p.data(), 64);
    Board.Input.CastlingAllowed = 0;
    Board.Input.SearchDepth = 1; // the one iteration takes the queen at once
    Board.ComputersTurn = true;
    Thread.Resume();
    ASSERT_TRUE(RunCycle());
    ASSERT_EQ(Moves.size(), 1u);
    EXPECT_EQ(Moves[0], std::make_tuple(int(B7), int(B8), 'q'));

    // Black answers: the pawn would promote on rank 1, and so does its piece travel.
    p.assign(64, ' ');
    p[E8 - 1] = 'k', p[G2 - 1] = 'p', p[A4 - 1] = 'K';
    std::memcpy(Board.Input.Board, p.data(), 64);
    Board.Input.WhiteToMove = false;
    Thread.Resume();
    ASSERT_TRUE(RunCycle());
    ASSERT_EQ(Moves.size(), 2u);
    EXPECT_EQ(Moves[1], std::make_tuple(int(G2), int(G1), 'q'));
}
