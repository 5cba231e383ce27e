// zel_tune: fits the strong search's tuned evaluation weights to positions with game results
// (from zel_selfplay), and writes them as engine/strong/StrongTunedWeights.h.
//
// The evaluation is linear in its weights once the position is known: the trace of each
// position gives, per weight, how often it counts for White minus for Black. The expected
// score of a position is a logistic curve of its evaluation; the weights minimise the mean
// squared difference between that and the game's result (by descent with momentum on the whole
// set at each step, or by Adam), with a small pull toward the starting weights so that rare
// terms stay sensible.
//
// A position may carry the score a search gave it; then the target is the result blended with
// that score's expected result (--lambda, the result's share, 1 by default).
//
// zel_tune [--epochs N] [--rate R] [--pull P] [--adam] [--lambda L] [--freeze GROUP]...
//          [--start classic|tuned]
//          [--check FILE]...
//          --out FILE positions.txt...

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "PositionLine.h"
#include "StrongEvalTrace.h"
#include "StrongWeightNames.h"

using namespace strong;

namespace {

struct TFeature {
    int Index;
    float Count;
};

struct TSample {
    std::vector<TFeature> Features;
    float Phase;  // middle-game share, 0 to 1
    float Scale;  // 1 or 1/8
    float Result; // the expected score from White's side: the result, or blended with the search's
};

constexpr int TempoIndex = offsetof(TEvalWeights, Tempo) / sizeof(TPair);
int Mismatches = 0;
double Lambda = 1.0; // the share of the game's result in the target; the rest is the score's

std::vector<TSample> Load(const std::vector<std::string>& files, TEvalSet start) {
    std::vector<TSample> out;
    const TEvalWeights& w = start == TEvalSet::Tuned ? TunedWeights : ClassicWeights;
    TPosition pos;
    for (const auto& name : files) {
        std::ifstream in(name);
        std::string line;
        while (std::getline(in, line)) {
            const auto read = ReadPositionLine(line, pos);
            if (!read) continue;
            const double result = read->Result;
            // The search's score, when the line has one, blends into the target.
            const double target =
                read->Score ? Lambda * result + (1 - Lambda) / (1.0 + std::pow(10.0, -*read->Score / 400.0))
                            : result;
            TEvalTrace trace(w);
            const int score = EvaluateWhite(pos, start, trace);
            TSample s;
            for (int i = 0; i < WeightCount; ++i)
                if (trace.Counts[i] != 0) s.Features.push_back({i, static_cast<float>(trace.Counts[i])});
            s.Phase = trace.Phase / 24.0f;
            s.Scale = trace.Scale / 8.0f;
            s.Result = static_cast<float>(target);
            // The trace must give the evaluation back (but for the rounding of its divisions).
            if (std::abs(TracedScore(trace, w) - score) > 3) ++Mismatches;
            out.push_back(std::move(s));
        }
    }
    return out;
}

double Eval(const TSample& s, const std::vector<double>& mg, const std::vector<double>& eg) {
    double m = 0, e = 0, tempo = 0;
    for (const auto& f : s.Features) {
        if (f.Index == TempoIndex) {
            tempo = f.Count * mg[f.Index];
            continue;
        }
        m += f.Count * mg[f.Index];
        e += f.Count * eg[f.Index];
    }
    return (m * s.Phase + e * (1 - s.Phase)) * s.Scale + tempo;
}

double Sigmoid(double eval, double k) {
    return 1.0 / (1.0 + std::pow(10.0, -k * eval / 400.0));
}

double Error(const std::vector<TSample>& set, const std::vector<double>& mg,
             const std::vector<double>& eg, double k) {
    double sum = 0;
    for (const auto& s : set) {
        const double d = s.Result - Sigmoid(Eval(s, mg, eg), k);
        sum += d * d;
    }
    return sum / set.size();
}

// The curve's steepness that fits the starting weights best.
double FitK(const std::vector<TSample>& set, const std::vector<double>& mg, const std::vector<double>& eg) {
    double lo = 0.2, hi = 3.0;
    for (int i = 0; i < 40; ++i) {
        const double a = lo + (hi - lo) / 3, b = hi - (hi - lo) / 3;
        if (Error(set, mg, eg, a) < Error(set, mg, eg, b)) hi = b;
        else lo = a;
    }
    return (lo + hi) / 2;
}

void Write(const std::string& path, const std::vector<double>& mg, const std::vector<double>& eg,
           std::size_t samples, double k, double before, double after) {
    std::ofstream out(path);
    out << "#pragma once\n"
           "// Written by zel_tune (tools/evaltune/retune.sh): the evaluation's weights fitted to\n"
           "// positions of self-play games. Included by StrongWeights.h only; do not edit by hand.\n";
    char line[200];
    std::snprintf(line, sizeof line,
                  "// %zu positions, their targets the game's result times %.2f plus the search's\n"
                  "// score times %.2f; error %.6f before, %.6f after (K %.3f).\n",
                  samples, Lambda, 1 - Lambda, before, after, k);
    out << line << "\nnamespace strong {\n\ninline constexpr TWeightVector TunedTable = {{\n";
    for (const auto& group : WeightNames()) {
        out << "    // " << group.Name << "\n";
        for (int i = 0; i < group.Size; ++i) {
            const int j = group.First + i;
            std::snprintf(line, sizeof line, "%s{%d, %d},", i % 8 == 0 ? "    " : " ",
                          static_cast<int>(std::lround(mg[j])), static_cast<int>(std::lround(eg[j])));
            out << line;
            if (i % 8 == 7 || i + 1 == group.Size) out << "\n";
        }
    }
    out << "}};\n\n} // namespace strong\n";
    int listed = 0;
    for (const auto& group : WeightNames())
        listed += group.Size;
    if (listed != WeightCount) std::fprintf(stderr, "the names cover %d of %d weights\n", listed, WeightCount);
}

} // namespace

int main(int argc, char** argv) {
    int epochs = 2000;
    double rate = 1.0, pull = 1e-7;
    bool adam = false;
    std::vector<std::string> frozen; // groups of weights left as they start, by name prefix
    TEvalSet start = TEvalSet::Classic;
    std::string outPath = "StrongTunedWeights.h";
    std::vector<std::string> files, checks;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--epochs" && i + 1 < argc) epochs = std::atoi(argv[++i]);
        else if (a == "--rate" && i + 1 < argc) rate = std::atof(argv[++i]);
        else if (a == "--pull" && i + 1 < argc) pull = std::atof(argv[++i]);
        else if (a == "--adam") adam = true;
        else if (a == "--lambda" && i + 1 < argc) Lambda = std::atof(argv[++i]);
        else if (a == "--freeze" && i + 1 < argc) frozen.push_back(argv[++i]);
        else if (a == "--start" && i + 1 < argc) start = std::string(argv[++i]) == "tuned" ? TEvalSet::Tuned : TEvalSet::Classic;
        else if (a == "--out" && i + 1 < argc) outPath = argv[++i];
        else if (a == "--check" && i + 1 < argc) checks.push_back(argv[++i]);
        else files.push_back(a);
    }
    const std::vector<TSample> set = Load(files, start);
    // Positions of other games, not fitted: their error shows whether the fit generalises.
    const std::vector<TSample> check = Load(checks, start);
    if (set.empty()) {
        std::fprintf(stderr, "no positions\n");
        return 2;
    }
    const TEvalWeights& w = start == TEvalSet::Tuned ? TunedWeights : ClassicWeights;
    const TPair* base = &w.Material[0];
    std::vector<double> mg(WeightCount), eg(WeightCount);
    for (int i = 0; i < WeightCount; ++i) {
        mg[i] = base[i].Mg;
        eg[i] = base[i].Eg;
    }
    const std::vector<double> mg0 = mg, eg0 = eg;
    std::vector<bool> fixed(WeightCount, false);
    for (const auto& group : WeightNames())
        for (const auto& prefix : frozen)
            if (std::string(group.Name).rfind(prefix, 0) == 0)
                for (int i = 0; i < group.Size; ++i)
                    fixed[group.First + i] = true;
    const double k = FitK(set, mg, eg);
    const double before = Error(set, mg, eg, k);
    std::fprintf(stderr, "%zu positions (%d whose trace differs from the evaluation), K %.3f, error %.6f\n",
                 set.size(), Mismatches, k, before);
    double bestError = check.empty() ? before : Error(check, mg, eg, k);
    std::vector<double> bestMg = mg, bestEg = eg;
    int bestEpoch = 0;
    std::fprintf(stderr, "on the check positions %.6f\n", bestError);
    // Adam on the mean squared error.
    std::vector<double> m1(2 * WeightCount), m2(2 * WeightCount), grad(2 * WeightCount);
    const double b1 = 0.9, b2 = 0.999;
    const double ln10 = std::log(10.0);
    for (int epoch = 1; epoch <= epochs; ++epoch) {
        std::fill(grad.begin(), grad.end(), 0.0);
        for (const auto& s : set) {
            const double p = Sigmoid(Eval(s, mg, eg), k);
            // d(error)/d(eval), the factor of every weight's count.
            const double g = -2 * (s.Result - p) * p * (1 - p) * k * ln10 / 400.0;
            for (const auto& f : s.Features) {
                if (f.Index == TempoIndex) {
                    grad[f.Index] += g * f.Count;
                    continue;
                }
                grad[f.Index] += g * f.Count * s.Phase * s.Scale;
                grad[WeightCount + f.Index] += g * f.Count * (1 - s.Phase) * s.Scale;
            }
        }
        // A square and its mirror across the board's middle files share their value.
        const int squares = offsetof(TEvalWeights, Square) / sizeof(TPair);
        for (int half = 0; half < 2; ++half)
            for (int j = squares; j < squares + 6 * 64; ++j)
                if ((j - squares) % 8 < 4) {
                    const int mirror = j + 7 - 2 * ((j - squares) % 8);
                    const double sum = grad[half * WeightCount + j] + grad[half * WeightCount + mirror];
                    grad[half * WeightCount + j] = grad[half * WeightCount + mirror] = sum / 2;
                }
        for (int i = 0; i < 2 * WeightCount; ++i) {
            const int j = i % WeightCount;
            if (j == offsetof(TEvalWeights, Material[King]) / sizeof(TPair)) continue;
            if (i >= WeightCount && j == TempoIndex) continue;
            if (fixed[j]) continue;
            double& x = i < WeightCount ? mg[j] : eg[j];
            const double x0 = i < WeightCount ? mg0[j] : eg0[j];
            const double gi = grad[i] / set.size() + 2 * pull * (x - x0);
            if (adam) {
                m1[i] = b1 * m1[i] + (1 - b1) * gi;
                m2[i] = b2 * m2[i] + (1 - b2) * gi * gi;
                const double mh = m1[i] / (1 - std::pow(b1, epoch)), vh = m2[i] / (1 - std::pow(b2, epoch));
                x -= rate * mh / (std::sqrt(vh) + 1e-8);
            } else {
                // Plain descent with momentum: a weight that counts in few positions moves
                // little, so that it is not fitted to the noise of those few.
                m1[i] = b1 * m1[i] + gi;
                x -= rate * m1[i];
            }
        }
        if (epoch % 20 == 0 || epoch == epochs) {
            // The weights kept are those with the least error on the check positions.
            const double e = check.empty() ? Error(set, mg, eg, k) : Error(check, mg, eg, k);
            if (e < bestError) {
                bestError = e;
                bestMg = mg;
                bestEg = eg;
                bestEpoch = epoch;
            }
            if (epoch % 100 == 0 || epoch == epochs)
                std::fprintf(stderr, "epoch %d: error %.6f, on the check positions %.6f\n", epoch,
                             Error(set, mg, eg, k), check.empty() ? 0.0 : e);
        }
    }
    mg = bestMg;
    eg = bestEg;
    std::fprintf(stderr, "kept the weights of epoch %d\n", bestEpoch);
    const double after = Error(set, mg, eg, k);
    Write(outPath, mg, eg, set.size(), k, before, after);
    std::fprintf(stderr, "written %s: error %.6f -> %.6f\n", outPath.c_str(), before, after);
    return 0;
}
