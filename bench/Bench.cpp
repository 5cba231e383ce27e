// Measures the engine: perft speed on the fixed positions beside Debian's stockfish run on
// the same positions, search time to depth 5 on the search set, the latency of an abort set
// from another thread during a depth-8 search, and the search signature.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "BenchCompare.h"
#include "BenchPositions.h"
#include "ChessEngine.h"
#include "EngineFen.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

TEngineInput Input(const char* fen, int depth) {
    TEngineInput in{};
    if (!EngineInputFromFen(fen, in)) std::fprintf(stderr, "bad FEN: %s\n", fen);
    in.SearchDepth = depth;
    return in;
}

struct TCount {
    std::uint64_t Nodes = 0;
    double Seconds = 0;
};

// Debian installs stockfish in /usr/games, which is not always on PATH.
const char* StockfishPath() {
    return access("/usr/games/stockfish", X_OK) == 0 ? "/usr/games/stockfish" : "stockfish";
}

// Runs stockfish's perft and times it from its "readyok" (after start-up) to its count.
bool StockfishPerft(const char* fen, int depth, TCount& out) {
    const std::string command = std::string("printf 'uci\\nisready\\nposition fen ") + fen +
                                "\\ngo perft " + std::to_string(depth) + "\\nquit\\n' | " +
                                StockfishPath() + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char line[512];
    Clock::time_point t0 = Clock::now();
    bool found = false;
    while (std::fgets(line, sizeof line, pipe)) {
        if (std::strncmp(line, "readyok", 7) == 0) t0 = Clock::now();
        if (std::strncmp(line, "Nodes searched:", 15) == 0) {
            out.Seconds = SecondsSince(t0);
            out.Nodes = std::strtoull(line + 15, nullptr, 10);
            found = true;
        }
    }
    pclose(pipe);
    return found;
}

void RunPerft(TChessEngine& engine) {
    std::printf("Perft (ours beside stockfish on the same positions)\n");
    std::printf("%-10s %5s %12s %8s %8s %12s %8s %8s %7s\n", "position", "depth", "nodes", "sec",
                "Mnps", "sf nodes", "sf sec", "sf Mnps", "ratio");
    TCount ours, theirs;
    bool haveStockfish = true;
    for (const bench::TPerftCase& c : bench::PerftCases) {
        engine.LoadPosition(Input(c.Fen, 1));
        const Clock::time_point t0 = Clock::now();
        const std::uint64_t n = engine.Perft(c.Depth);
        const double s = SecondsSince(t0);
        ours.Nodes += n;
        ours.Seconds += s;
        TCount sf;
        const bool ok = StockfishPerft(c.Fen, c.Depth, sf);
        haveStockfish = haveStockfish && ok;
        theirs.Nodes += sf.Nodes;
        theirs.Seconds += sf.Seconds;
        std::printf("%-10s %5d %12llu %8.3f %8.1f %12llu %8.3f %8.1f %7.3f%s\n", c.Name, c.Depth,
                    static_cast<unsigned long long>(n), s, n / s / 1e6,
                    static_cast<unsigned long long>(sf.Nodes), sf.Seconds,
                    ok ? sf.Nodes / sf.Seconds / 1e6 : 0.0,
                    ok ? (n / s) / (sf.Nodes / sf.Seconds) : 0.0,
                    n == c.Nodes ? "" : "  WRONG COUNT");
    }
    std::printf("%-10s %5s %12llu %8.3f %8.1f %12llu %8.3f %8.1f %7.3f\n", "total", "",
                static_cast<unsigned long long>(ours.Nodes), ours.Seconds,
                ours.Nodes / ours.Seconds / 1e6, static_cast<unsigned long long>(theirs.Nodes),
                theirs.Seconds, haveStockfish ? theirs.Nodes / theirs.Seconds / 1e6 : 0.0,
                haveStockfish ? (ours.Nodes / ours.Seconds) / (theirs.Nodes / theirs.Seconds)
                              : 0.0);
    if (!haveStockfish) std::printf("(stockfish not found: no comparison)\n");
    std::printf("\n");
}

void RunSearch(TChessEngine& engine) {
    constexpr int depth = 5;
    std::printf("Search to depth %d\n", depth);
    std::printf("%3s %10s %8s %8s %6s  %s\n", "#", "nodes", "sec", "knps", "best", "position");
    std::vector<double> times;
    std::int64_t totalNodes = 0;
    double totalSeconds = 0;
    int index = 0;
    for (const char* fen : bench::SearchFens) {
        std::int64_t nodes = 0;
        engine.OnIteration = [&](int, int, std::int64_t n) { nodes += n; };
        const Clock::time_point t0 = Clock::now();
        engine.Think(Input(fen, depth));
        const double s = SecondsSince(t0);
        times.push_back(s);
        totalNodes += nodes;
        totalSeconds += s;
        std::printf("%3d %10lld %8.4f %8.0f %6s  %s\n", ++index, static_cast<long long>(nodes), s,
                    nodes / s / 1e3, EngineMoveText(engine.BestMove()).c_str(), fen);
    }
    engine.OnIteration = nullptr;
    std::printf("total %lld nodes in %.3f s (%.0f knps); median %.4f s, slowest %.4f s\n\n",
                static_cast<long long>(totalNodes), totalSeconds, totalNodes / totalSeconds / 1e3,
                bench::Median(times), *std::max_element(times.begin(), times.end()));
}

void RunAbortLatency(TChessEngine& engine) {
    std::printf("Abort latency during a depth-8 search\n");
    const char* fens[] = {bench::SearchFens[9], bench::SearchFens[6], bench::SearchFens[14]};
    const int delaysMs[] = {30, 120, 400};
    double worst = 0;
    for (const char* fen : fens) {
        for (int delay : delaysMs) {
            engine.AbortSearch.store(false);
            std::atomic<bool> done{false};
            Clock::time_point returned;
            std::thread searcher([&] {
                engine.Think(Input(fen, 8));
                returned = Clock::now();
                done.store(true);
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            const Clock::time_point set = Clock::now();
            engine.AbortSearch.store(true);
            searcher.join();
            const bool finishedFirst = returned < set;
            const double ms =
                finishedFirst ? 0
                              : std::chrono::duration<double, std::milli>(returned - set).count();
            worst = std::max(worst, ms);
            std::printf("  after %4d ms: %s%.3f ms\n", delay,
                        finishedFirst ? "(search had finished) " : "", ms);
        }
    }
    engine.AbortSearch.store(false);
    std::printf("worst %.3f ms\n\n", worst);
}

void RunSignature(TChessEngine& engine) {
    std::int64_t nodes = 0;
    std::string moves;
    for (const char* fen : bench::SearchFens) {
        engine.OnIteration = [&](int d, int, std::int64_t n) {
            if (d == bench::SignatureDepth) nodes += n;
        };
        engine.Think(Input(fen, bench::SignatureDepth));
        moves += EngineMoveText(engine.BestMove()) + " ";
    }
    engine.OnIteration = nullptr;
    std::printf("Signature (depth %d): %lld nodes\n  %s\n", bench::SignatureDepth,
                static_cast<long long>(nodes), moves.c_str());
}

} // namespace

int main(int argc, char** argv) {
    auto engine = std::make_unique<TChessEngine>();
    // A number among the arguments sets the comparison's rounds.
    int rounds = 5;
    int parts = 0;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] >= '0' && argv[i][0] <= '9')
            rounds = std::max(1, std::atoi(argv[i]));
        else
            ++parts;
    }
    auto wanted = [&](const char* part) {
        for (int i = 1; i < argc; ++i)
            if (std::strcmp(argv[i], part) == 0) return true;
        return parts == 0;
    };
    if (wanted("perft")) RunPerft(*engine);
    if (wanted("search")) RunSearch(*engine);
    bool same = true;
    if (wanted("compare")) same = bench::RunCompare(rounds);
    for (int depth : {5, 6})
        if (parts > 0 && wanted(("compare" + std::to_string(depth)).c_str()))
            same = bench::RunCompare(rounds, depth) && same;
    if (wanted("abort")) RunAbortLatency(*engine);
    if (wanted("signature")) RunSignature(*engine);
    return same ? 0 : 1;
}
