// The helpers of a search on more than one thread: each searches a copy of the position
// without limits into the shared table, one iteration ahead every other helper, until the
// search it helps ends.

#include "StrongSearch.h"

#include <algorithm>

namespace strong {

TStrongSearch::~TStrongSearch() {
    StopHelpers();
}

void TStrongSearch::StartHelpers(const TPosition& pos) {
    // No more threads than the processors can run at once: a search against the clock would
    // only share its time with its own helpers.
    static const int processors =
        std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const int wanted = IsHelper ? 0 : std::clamp(Options.Threads, 1, std::min(processors, 64)) - 1;
    while (static_cast<int>(Helpers.size()) < wanted) {
        Helpers.push_back(std::make_unique<TStrongSearch>(TT));
        Helpers.back()->IsHelper = true;
        Helpers.back()->DepthSkew = static_cast<int>(Helpers.size()) % 2;
    }
    TSearchLimits endless;
    endless.Infinite = true;
    for (int i = 0; i < wanted; ++i) {
        TStrongSearch& h = *Helpers[i];
        h.Options = Options;
        h.Eval = Eval;
        h.Stop.store(false);
        h.PublishedNodes.store(0);
        h.HelperResult = NoMove;
        HelperThreads.emplace_back(
            [&h, endless, copy = pos]() mutable { h.HelperResult = h.Go(copy, endless); });
    }
}

void TStrongSearch::StopHelpers() {
    for (std::size_t i = 0; i < HelperThreads.size(); ++i)
        Helpers[i]->Stop.store(true);
    for (std::thread& t : HelperThreads)
        t.join();
    HelperThreads.clear();
}

Move TStrongSearch::DeepestHelpersMove(Move best) {
    const std::size_t started = HelperThreads.size();
    StopHelpers(); // the join makes the helpers' results visible here
    for (std::size_t i = 0; i < started; ++i) {
        const TStrongSearch& h = *Helpers[i];
        if (h.HelperResult != NoMove && h.CompletedDepth > CompletedDepth && h.LastScore >= LastScore) {
            best = h.HelperResult;
            CompletedDepth = h.CompletedDepth;
            LastScore = h.LastScore;
        }
    }
    return best;
}

std::int64_t TStrongSearch::AllNodes() const {
    std::int64_t n = Nodes;
    for (std::size_t i = 0; i < HelperThreads.size(); ++i)
        n += Helpers[i]->PublishedNodes.load(std::memory_order_relaxed);
    return n;
}

} // namespace strong
