// The UCI front: the handshake and its options, positions and moves, the limits of "go",
// "stop" during "go infinite" answered at once, and garbage answered without a crash.

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <mutex>
#include <sstream>
#include <streambuf>
#include <thread>

#include "UciSession.h"

namespace {

// An output the test reads while the search thread writes to it.
class TSharedBuffer : public std::stringbuf {
  public:
    std::string Text() {
        std::lock_guard lock(Mutex);
        return str();
    }

  protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::lock_guard lock(Mutex);
        return std::stringbuf::xsputn(s, n);
    }
    int overflow(int c) override {
        std::lock_guard lock(Mutex);
        return std::stringbuf::overflow(c);
    }

  private:
    std::recursive_mutex Mutex;
};

struct TUciFixture : ::testing::Test {
    TSharedBuffer Buffer;
    std::ostream Out{&Buffer};
    TUciSession Session{Out};

    bool WaitFor(const std::string& text, int millis = 5000) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(millis);
        while (std::chrono::steady_clock::now() < until) {
            if (Buffer.Text().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    std::string BestMove() {
        const std::string t = Buffer.Text();
        const auto at = t.rfind("bestmove ");
        return at == std::string::npos ? "" : t.substr(at + 9, t.find('\n', at) - at - 9);
    }
};

} // namespace

TEST_F(TUciFixture, HandshakeListsTheLevelsAndStrengthOptions) {
    Session.Handle("uci");
    const std::string t = Buffer.Text();
    EXPECT_NE(t.find("id name Chess Zel\n"), std::string::npos);
    EXPECT_NE(t.find("option name Level type combo default Expert 2300 var Beginner 500"),
              std::string::npos);
    EXPECT_NE(t.find("option name UCI_LimitStrength type check default false\n"), std::string::npos);
    EXPECT_NE(t.find("option name UCI_Elo type spin"), std::string::npos);
    EXPECT_NE(t.find("option name Threads type spin default 0 min 0 max 64\n"), std::string::npos);
    EXPECT_NE(t.find("option name MoveTimeMax type spin default 0 min 0 max 86400000\n"), std::string::npos);
    EXPECT_TRUE(t.ends_with("uciok\n"));
    Session.Handle("isready");
    EXPECT_TRUE(Buffer.Text().ends_with("readyok\n"));
}

TEST_F(TUciFixture, SearchesThePositionAfterTheMovesAndReportsItsLines) {
    Session.Handle("position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 f3g5 d7d5 e4d5 f6d5");
    // White takes on f7 (or plays d4): the test only asks for a legal move and the info.
    Session.Handle("go depth 5");
    ASSERT_TRUE(WaitFor("bestmove "));
    const std::string t = Buffer.Text();
    EXPECT_NE(t.find("info depth 5 "), std::string::npos);
    EXPECT_NE(t.find(" score cp "), std::string::npos);
    EXPECT_NE(t.find(" nps "), std::string::npos);
    EXPECT_NE(t.find(" pv "), std::string::npos);
    strong::TPosition p;
    for (const char* m : {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6", "f3g5", "d7d5", "e4d5", "f6d5"})
        p.DoMove(p.ParseMove(m));
    EXPECT_NE(p.ParseMove(BestMove()), strong::NoMove) << BestMove();
}

TEST_F(TUciFixture, FenPositionsAndMateScores) {
    Session.Handle("position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1");
    Session.Handle("go depth 4");
    ASSERT_TRUE(WaitFor("bestmove "));
    EXPECT_EQ(BestMove(), "d1d8");
    EXPECT_NE(Buffer.Text().find("score mate 1 "), std::string::npos);
    // Black is mated: no move to give.
    Session.Handle("position fen 3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1");
    Session.Handle("go depth 2");
    Session.WaitForSearch();
    EXPECT_EQ(BestMove(), "0000");
}

TEST_F(TUciFixture, StopDuringGoInfiniteAnswersAtOnce) {
    // With a helper thread, which stops too.
    Session.Handle("setoption name Threads value 2");
    Session.Handle("position startpos");
    Session.Handle("go infinite");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Buffer.Text().find("bestmove"), std::string::npos) << "no answer before stop";
    const auto start = std::chrono::steady_clock::now();
    Session.Handle("stop");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_FALSE(BestMove().empty());
    strong::TPosition p;
    EXPECT_NE(p.ParseMove(BestMove()), strong::NoMove);
    // A second stop, and a stop with no search, change nothing.
    Session.Handle("stop");
    EXPECT_EQ(Buffer.Text().find("bestmove"), Buffer.Text().rfind("bestmove"));
}

TEST_F(TUciFixture, GoInfiniteWithADepthStillWaitsForStop) {
    Session.Handle("position startpos");
    Session.Handle("go infinite depth 2");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(Buffer.Text().find("bestmove"), std::string::npos);
    Session.Handle("stop");
    EXPECT_FALSE(BestMove().empty());
}

TEST_F(TUciFixture, ClockAndMoveTimeAreKept) {
    // The processor time of the whole program, not the wall clock: a loaded machine may keep
    // the search waiting past its time, but only a search that runs past it uses more.
    const auto cpuMillis = [] { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
    Session.Handle("position startpos moves d2d4");
    double start = cpuMillis();
    Session.Handle("go movetime 150");
    ASSERT_TRUE(WaitFor("bestmove "));
    EXPECT_LT(cpuMillis() - start, 500);
    start = cpuMillis();
    Session.Handle("go wtime 60000 btime 2000 winc 0 binc 100");
    ASSERT_TRUE(WaitFor("bestmove ", 3000));
    EXPECT_LT(cpuMillis() - start, 1000) << "Black has 2 s on its clock";
    // A move time with room above it: the room bounds the move (the program's processor
    // time, within twice the room).
    Session.Handle("setoption name Threads value 1");
    Session.Handle("setoption name MoveTimeMax value 300");
    Session.Handle("position startpos moves e2e4 c7c5 g1f3");
    start = cpuMillis();
    Session.Handle("go movetime 100");
    ASSERT_TRUE(WaitFor("bestmove ", 3000));
    EXPECT_LT(cpuMillis() - start, 600);
}

TEST_F(TUciFixture, LevelsAndEloChooseTheWeakerPlayers) {
    Session.Handle("setoption name Level value Beginner 500");
    Session.Handle("position startpos");
    Session.Handle("go movetime 1000");
    ASSERT_TRUE(WaitFor("bestmove "));
    Session.Handle("setoption name UCI_LimitStrength value true");
    Session.Handle("setoption name UCI_Elo value 1350");
    Session.Handle("position startpos moves e2e4");
    Session.Handle("go depth 20");
    Session.WaitForSearch();
    EXPECT_EQ(BestMove().size(), 4u);
    Session.Handle("setoption name Level value No such level");
    EXPECT_NE(Buffer.Text().find("info string no level No such level"), std::string::npos);
}

TEST_F(TUciFixture, GarbageIsAnsweredWithoutACrash) {
    const std::string longLine(5000, 'a');
    const std::string lines[] = {
        "", "   ", "\t\r", "xyzzy", "go nonsense", "stop", "position", "position fen",
        "position fen 8/8/8/8/8/8/8/8 w - - 0 1", "position fen rnbqkbnr/pppppppp/8 w",
        "position startpos moves e2e5 e7e5", "position startpos moves", "position moves e2e4",
        "go depth -5", "go depth 99999999999999999999", "go movetime", "go wtime -1 btime x",
        "setoption", "setoption name", "setoption name Hash value -3", "setoption name Hash value 1",
        "setoption name UCI_Elo value 1e9", "setoption name Threads value 9999", "setoption value Level", "isready",
        "position fen 4k3/8/8/8/8/8/8/4K3 w - - 0 1 moves e1e2 e8e7 e2e1", "go depth 3",
        longLine, "go infinite", "ucinewgame", "go nodes 0", "quit"};
    bool running = true;
    for (const std::string& l : lines)
        running = Session.Handle(l);
    EXPECT_FALSE(running) << "quit ends the session";
    EXPECT_NE(Buffer.Text().find("readyok"), std::string::npos);
    EXPECT_NE(Buffer.Text().find("info string illegal move e2e5"), std::string::npos);
}

TEST(UciSession, RunReadsUntilQuitAndEndsARunningSearch) {
    std::ostringstream out;
    std::istringstream in("uci\nposition startpos\ngo infinite\nquit\nisready\n");
    {
        TUciSession session(out);
        session.Run(in);
    }
    EXPECT_NE(out.str().find("bestmove "), std::string::npos);
    EXPECT_EQ(out.str().find("readyok"), std::string::npos) << "nothing read after quit";
}
