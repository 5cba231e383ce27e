// Feeds arbitrary bytes to the tuner's reader of position lines, and every position it accepts
// to the evaluation with its trace: the trace must give the evaluation back (but for the
// rounding of its divisions) with either weight set; the net must score it inside the
// bounds of a score that is not a mate.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "PositionLine.h"
#include "StrongEval.h"
#include "StrongEvalTrace.h"

using namespace strong;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    TPosition pos;
    if (!ReadPositionLine(line, pos)) return 0;
    for (const TEvalSet set : {TEvalSet::Classic, TEvalSet::Tuned}) {
        const TEvalWeights& w = set == TEvalSet::Tuned ? TunedWeights : ClassicWeights;
        TEvalTrace trace(w);
        const int white = EvaluateWhite(pos, set, trace);
        if (white != (pos.Side == White ? Evaluate(pos, set) : -Evaluate(pos, set))) std::abort();
        if (std::abs(TracedScore(trace, w) - white) > 3) std::abort();
    }
    if (std::abs(Evaluate(pos, TEvalSet::Net)) >= MateBound) std::abort();
    return 0;
}
