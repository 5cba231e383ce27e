// Times the engine's search and the plain transcription's on the same positions. Both run
// on this thread, one after the other per position with the order swapped every round, and
// are measured in this thread's CPU time, so that other work on the machine distorts the
// ratio as little as possible.

#include "BenchCompare.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <utility>
#include <vector>

#include "BenchPositions.h"
#include "ChessEngine.h"
#include "EngineFen.h"
#include "RefEngine.h"

namespace bench {
namespace {

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// What one search leaves behind: (score, nodes) per iteration and the final line.
struct TOutcome {
    std::vector<std::pair<int, std::int64_t>> Iterations;
    std::vector<TEngineMove> Line;
    friend bool operator==(const TOutcome&, const TOutcome&) = default;
};

struct TTimed {
    TOutcome Outcome;
    double Seconds = 0;
};

TTimed RunOurs(TChessEngine& engine, const TEngineInput& in) {
    TTimed t;
    engine.OnIteration = [&](int, int score, std::int64_t nodes) {
        t.Outcome.Iterations.emplace_back(score, nodes);
    };
    const double t0 = CpuSeconds();
    engine.Think(in);
    t.Seconds = CpuSeconds() - t0;
    engine.OnIteration = nullptr;
    t.Outcome.Line.assign(engine.PV[0], engine.PV[0] + engine.PVLength[0]);
    return t;
}

TTimed RunReference(enginetest::RefEngine& ref, const TEngineInput& in) {
    TTimed t;
    const double t0 = CpuSeconds();
    ref.Think(in);
    t.Seconds = CpuSeconds() - t0;
    t.Outcome.Iterations = ref.Iterations;
    t.Outcome.Line.assign(ref.PV[0], ref.PV[0] + ref.PVLength[0]);
    return t;
}

struct TSet {
    int Depth;
    int Count;
};

} // namespace

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool RunCompare(int rounds, int onlyDepth) {
    constexpr int all = static_cast<int>(std::size(SearchFens));
    const TSet sets[] = {{5, all}, {6, DeepSearchCount}};
    // A search starts from what the previous one left (the line it follows first), so the
    // pair is made once and kept for the whole run: they see the same searches, whatever
    // else the benchmark has searched before, and "compare5 compare6" compares like with like.
    static const auto engineOwned = std::make_unique<TChessEngine>();
    static const auto ref = std::make_unique<enginetest::RefEngine>(*engineOwned);
    TChessEngine& engine = *engineOwned;
    bool same = true;
    std::printf("Search beside the plain transcription (CPU time, %d rounds)\n", rounds);
    for (const TSet& set : sets) {
        if (onlyDepth != 0 && set.Depth != onlyDepth) continue;
        std::vector<double> ratios;
        double oursTotal = 0, refTotal = 0;
        for (int round = 0; round < rounds; ++round) {
            double ours = 0, theirs = 0;
            for (int i = 0; i < set.Count; ++i) {
                TEngineInput in{};
                EngineInputFromFen(SearchFens[i], in);
                in.SearchDepth = set.Depth;
                TTimed a, b;
                if (round % 2 == 0) {
                    a = RunOurs(engine, in);
                    b = RunReference(*ref, in);
                } else {
                    b = RunReference(*ref, in);
                    a = RunOurs(engine, in);
                }
                ours += a.Seconds;
                theirs += b.Seconds;
                if (round == 0 && !(a.Outcome == b.Outcome)) {
                    same = false;
                    std::printf("  DIFFERENT at depth %d: position %d  %s\n", set.Depth, i + 1,
                                SearchFens[i]);
                }
            }
            ratios.push_back(theirs / ours);
            oursTotal += ours;
            refTotal += theirs;
            std::printf("  depth %d, %2d positions, round %d: ours %.3f s, plain %.3f s, "
                        "ratio %.2f\n",
                        set.Depth, set.Count, round + 1, ours, theirs, theirs / ours);
            std::fflush(stdout);
        }
        std::printf("depth %d: median ratio %.2f (ours %.3f s, plain %.3f s per round)%s\n",
                    set.Depth, Median(ratios), oursTotal / rounds, refTotal / rounds,
                    same ? ", identical output" : "");
    }
    std::printf("\n");
    return same;
}

} // namespace bench
