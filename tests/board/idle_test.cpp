// While nobody's computer is to move, and after a game has ended, the board costs no CPU:
// the search thread sleeps instead of cycling.

#include <gtest/gtest.h>

#include <ctime>

#include "BoardTestSupport.h"

namespace {

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

// CPU time the whole process uses over two seconds of idling with the event loop running.
double IdleCpuMs() {
    const double before = ProcessCpuMs();
    PumpFor(2000);
    return ProcessCpuMs() - before;
}

struct Idle : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }
    TCountingBoard Board;
    void SetUp() override {
        Board.SetAnimateMoves(false);
        Board.PaintBoard(); // first paint: the computer starts
    }
};

} // namespace

TEST_F(Idle, WhileItIsTheHumansTurn) {
    Board.SetComputerPlaysBlack(true);
    Board.SetSearchDepth(2);
    ASSERT_TRUE(Board.PlayerMove(E2, E4));
    ASSERT_TRUE(PumpUntil([&] { return Board.WhiteToMove(); }));
    EXPECT_LT(IdleCpuMs(), 50.0);
}

TEST_F(Idle, AfterCheckmateWithTheComputerOnBothSides) {
    // Back-rank mate in one; afterwards the mated side is the computer's and has no move.
    std::string p(64, ' ');
    p[H8 - 1] = 'k';
    p[G7 - 1] = 'p';
    p[H7 - 1] = 'p';
    p[A1 - 1] = 'R';
    p[G1 - 1] = 'K';
    Board.SetPositionText(QString::fromStdString(p));
    Board.SetSearchDepth(3);
    bool mated = false;
    Board.OnMate = [&](TChessGame*, Square, Square) { mated = true; };
    Board.SetComputerPlaysWhite(true);
    Board.SetComputerPlaysBlack(true);
    ASSERT_TRUE(PumpUntil([&] { return mated; }));
    PumpFor(100); // the mated side's one refused attempt
    EXPECT_LT(IdleCpuMs(), 50.0);
    EXPECT_LE(Board.Refused, 1);
}

TEST_F(Idle, WithNoComputerPlaying) {
    EXPECT_LT(IdleCpuMs(), 50.0);
}
