#pragma once
// How the evaluation can be followed term by term: it adds each weight times a count, and a
// trace given to it records the counts per side, which is what the tuner fits the weights to.
// The search evaluates with TNoTrace, which the compiler removes.

#include "StrongPosition.h"
#include "StrongWeights.h"

namespace strong {

struct TNoTrace {
    static constexpr bool On = false;
    void Count(const TPair*, int, double) {}
};

// The counts of one position: per weight, White's minus Black's; and what the evaluation
// does not count by weights (the scale of a pawnless side's small advantage).
struct TEvalTrace {
    static constexpr bool On = true;
    explicit TEvalTrace(const TEvalWeights& w) : Base(&w.Material[0]) {}
    void Count(const TPair* weight, int colour, double n) {
        Counts[weight - Base] += colour == White ? n : -n;
    }
    const TPair* Base;
    double Counts[WeightCount] = {};
    int Phase = 0;     // 0 to 24
    int Scale = 8;     // the blended score is multiplied by Scale / 8
};

// The evaluation the trace gives back with the weights it was taken with: the blended sum of
// each weight times its count, scaled, plus the move in hand. It differs from the evaluation
// only by the rounding of the evaluation's divisions.
inline double TracedScore(const TEvalTrace& trace, const TEvalWeights& w) {
    const TPair* base = &w.Material[0];
    const int tempo = static_cast<int>(&w.Tempo - base);
    double mg = 0, eg = 0;
    for (int i = 0; i < WeightCount; ++i)
        if (i != tempo) {
            mg += trace.Counts[i] * base[i].Mg;
            eg += trace.Counts[i] * base[i].Eg;
        }
    const double phase = trace.Phase / 24.0;
    return (mg * phase + eg * (1 - phase)) * trace.Scale / 8 + trace.Counts[tempo] * base[tempo].Mg;
}

// The evaluation with the given set, from White's side, recording into the trace. The
// search's Evaluate is this with TNoTrace, turned to the side to move.
int EvaluateWhite(const TPosition& pos, TEvalSet set, TEvalTrace& trace);

} // namespace strong
