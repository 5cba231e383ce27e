// The search thread's cycle without a window toolkit: the snapshot taken at each resume,
// the move handed over with squares 1..64, a hand-over dropped when the abort came first,
// and cycles that do not search when the computer is not to move.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "ChessThread.h"

using namespace std::chrono_literals;

namespace {

const char* const kStart = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

struct ChessThreadProtocol : ::testing::Test {
    TCallQueue Window;
    TChessThread Thread;
    TBoardSnapshot Board; // what the fake board holds
    int Reads = 0, Cycles = 0;
    std::vector<std::pair<int, int>> Moves;

    void SetUp() override {
        std::memcpy(Board.Input.Board, kStart, 64);
        Board.Input.SearchDepth = 1;
        Thread.SetPostFunction(Window.Poster());
        Thread.ReadBoard = [this](TBoardSnapshot& s) {
            ++Reads;
            s = Board;
        };
        Thread.MoveCallback = [this](int from, int to) {
            Moves.emplace_back(from, to);
            return true;
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
            Window.WaitForCall(5ms);
            Window.RunPending();
        }
        return true;
    }
};

} // namespace

TEST_F(ChessThreadProtocol, SearchesTheSnapshotAndHandsOverBoardSquares) {
    Board.ComputerPlaysWhite = true;
    Thread.Resume();
    ASSERT_TRUE(RunCycle());
    EXPECT_EQ(Reads, 1);
    ASSERT_EQ(Moves.size(), 1u);
    // A White opening move: from rank 2 or 1 (squares 49..64) to ranks 3 or 4 (33..48).
    EXPECT_GE(Moves[0].first, 49);
    EXPECT_LE(Moves[0].first, 64);
    EXPECT_GE(Moves[0].second, 33);
    EXPECT_LE(Moves[0].second, 48);
    EXPECT_FALSE(Thread.ThinkingFlag);

    // Black to move now, still only White is the computer's: a cycle without a search.
    Board.Input.WhiteToMove = false;
    Thread.Resume();
    ASSERT_TRUE(RunCycle());
    EXPECT_EQ(Reads, 2);
    EXPECT_EQ(Moves.size(), 1u);
}

TEST_F(ChessThreadProtocol, AHandOverThatArrivesAfterTheAbortIsDropped) {
    Board.ComputerPlaysWhite = true;
    Thread.Resume();
    ASSERT_TRUE(Window.WaitForCall(10s)); // the move is on its way
    Thread.AbortSearch = true;
    ASSERT_TRUE(RunCycle());
    EXPECT_TRUE(Moves.empty());
    EXPECT_TRUE(Thread.Suspended());
}

TEST_F(ChessThreadProtocol, AnAbortedSearchHandsNothingOverAndStopsPromptly) {
    Board.ComputerPlaysWhite = true;
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
