// The strong search's speed: every position of the search set searched to a fixed number of
// nodes with the strongest level's settings, timed in the processor time of the searching
// thread, which other work on the machine changes less than the clock on the wall. It prints
// the nodes a second of each round, their median, and the moves found, so that two builds
// can be compared (bench/strong-speed-compare.sh runs two of them in turn): the same moves
// mean the same search, and the ratio of the speeds is then the gain.
//
//   zel_strong_speed [nodes per position, 300000 by default] [rounds, 3 by default]
//                    [threads, the level's own by default]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "BenchPositions.h"
#include "Ladder.h"
#include "StrongSearch.h"

using namespace strong;

namespace {

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    const std::int64_t nodes = argc > 1 ? std::max(1000LL, std::atoll(argv[1])) : 300000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const int threads = argc > 3 ? std::max(1, std::atoi(argv[3])) : 0;
    const TLevel& top = Ladder().back();
    std::vector<double> speeds;
    std::string moves;
    for (int round = 0; round < rounds; ++round) {
        TTranspositionTable tt(16);
        TStrongSearch search(tt);
        search.UseEval(top.Eval);
        search.Options = top.Options;
        if (threads) search.Options.Threads = threads;
        std::int64_t searched = 0;
        double seconds = 0;
        moves.clear();
        for (const char* fen : bench::SearchFens) {
            TPosition pos;
            if (!pos.SetFen(fen)) {
                std::fprintf(stderr, "bad FEN: %s\n", fen);
                return 2;
            }
            search.NewGame();
            TSearchLimits limits;
            limits.Nodes = nodes;
            const double t0 = ThreadSeconds();
            const Move best = search.Go(pos, limits);
            seconds += ThreadSeconds() - t0;
            searched += search.Nodes;
            moves += TPosition::MoveText(best) + " ";
        }
        speeds.push_back(static_cast<double>(searched) / seconds);
        std::printf("round %d: %lld nodes in %.2f s of processor time, %.0f nodes a second\n",
                    round + 1, static_cast<long long>(searched), seconds, speeds.back());
    }
    std::sort(speeds.begin(), speeds.end());
    std::printf("median %.0f nodes a second\nmoves %s\n", speeds[speeds.size() / 2], moves.c_str());
    return 0;
}
