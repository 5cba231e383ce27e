// Many short games with random interleavings of the game-changing operations while the
// computer thinks: no crash, no deadlock, and no computer move while the game is halted.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "BoardTestSupport.h"

namespace {

// Aborts the run when the window thread stops making progress (a deadlock).
class TWatchdog {
  public:
    TWatchdog()
        : FThread([this] {
              int quiet = 0;
              while (!FDone) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
                  quiet = FBeat.exchange(false) ? 0 : quiet + 1;
                  if (quiet > 600) {
                      std::fprintf(stderr, "no progress for 60 s: deadlock\n");
                      std::abort();
                  }
              }
          }) {}
    ~TWatchdog() {
        FDone = true;
        FThread.join();
    }
    void Beat() { FBeat = true; }

  private:
    std::atomic<bool> FDone{false};
    std::atomic<bool> FBeat{true};
    std::thread FThread;
};

const char* const kPositions[] = {
    "init",
    "       k      pp                                        R     K ",  // mate in one
    "       k               n                                  B     K", // minor pieces
    "K       q                                                       k", // little left
};

struct Stress : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }

    TCountingBoard Board;
    std::mt19937 Rng{12345};
    bool Halted = false;     // a game-changing operation halted the computer
    bool InTestMove = false; // the test itself is making a move
    int HaltedMoves = 0;     // moves made while halted: must stay 0
    int Operations = 0;

    void SetUp() override {
        Board.SetAnimateMoves(false);
        Board.PaintBoard();
        Board.OnMakeMove = [this](Square, Square, bool ok) {
            if (ok && Halted && !InTestMove) ++HaltedMoves;
        };
        // Game-end handlers sometimes start a new game from inside the event.
        Board.OnMate = [this](TChessGame*, Square, Square) { MaybeRestartInside(); };
        Board.OnDraw = [this](TChessGame*) { MaybeRestartInside(); };
    }

    void MaybeRestartInside() {
        if (Rng() % 2 == 0) Board.NewGame();
    }

    bool Chance(int n) { return int(Rng() % 100) < n; }

    void Halt(const std::function<void()>& op) {
        op();
        Halted = true;
        EXPECT_FALSE(Board.Thinking());
    }

    void Restart(const std::function<void()>& op) {
        Halted = false;
        op();
    }

    void HumanMove() {
        const auto moves = LegalMoves(Board);
        if (moves.empty()) return;
        const auto [a, b] = moves[Rng() % moves.size()];
        Halted = false; // PlayerMove hands the turn on
        InTestMove = true;
        Board.PlayerMove(a, b);
        InTestMove = false;
    }

    void RandomOperation() {
        ++Operations;
        switch (Rng() % 12) {
        case 0:
            Halt([&] { Board.StopThinking(); });
            break;
        case 1:
            Halt([&] { Board.StepBack(); });
            break;
        case 2:
            Halt([&] { Board.StepForward(); });
            break;
        case 3:
            Halt([&] { Board.NewGame(); });
            break;
        case 4:
            Halt([&] { Board.SetPositionText(kPositions[Rng() % std::size(kPositions)]); });
            break;
        case 5:
            Halt([&] { Board.SetWhiteToMove(Chance(50)); });
            break;
        case 6:
            Restart([&] { Board.SetComputerPlaysWhite(Chance(70)); });
            break;
        case 7:
            Restart([&] { Board.SetComputerPlaysBlack(Chance(70)); });
            break;
        case 8:
            Restart([&] { Board.StartComputerMove(); });
            break;
        case 9:
            HumanMove();
            break;
        case 10:
            Board.SetSearchDepth(1 + int(Rng() % 2));
            break;
        default:
            Board.SetThinkingPriority(Chance(50) ? tpLower : tpNormal);
            break;
        }
    }
};

} // namespace

TEST_F(Stress, RandomOperationsWhileTheComputerThinks) {
    TWatchdog watchdog;
    for (int game = 0; game < 200; ++game) {
        Halt([&] { Board.NewGame(); });
        Board.SetSearchDepth(1);
        Restart([&] {
            Board.SetComputerPlaysWhite(Chance(70));
            Board.SetComputerPlaysBlack(Chance(70));
        });
        const int start = Board.Made;
        for (int step = 0; step < 25 && Board.Made - start < 40; ++step) {
            PumpFor(int(Rng() % 5));
            RandomOperation();
            watchdog.Beat();
        }
        ASSERT_EQ(HaltedMoves, 0) << "game " << game;
    }
    Board.StopThinking();
    EXPECT_FALSE(Board.Thinking());
    RecordProperty("MovesMade", Board.Made);
    RecordProperty("Operations", Operations);
    EXPECT_GT(Board.Made, 1000); // the computer did play meanwhile
}
