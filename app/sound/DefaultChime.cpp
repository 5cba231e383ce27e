#include "DefaultChime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "WaveFile.h"

namespace {

constexpr int kRate = 44100;
constexpr double kLength = 0.55; // seconds

// One struck note: a few partials of a small glass chime, the upper ones dying sooner.
void AddNote(std::vector<double>& out, double start, double frequency, double level) {
    struct TPartial {
        double Ratio, Gain, Decay;
    };
    constexpr TPartial partials[] = {{1.0, 1.0, 0.22}, {2.0, 0.18, 0.10}, {2.76, 0.12, 0.06}};
    const auto first = static_cast<std::size_t>(start * kRate);
    for (std::size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / kRate;
        const double attack = std::min(1.0, t / 0.004); // no click at the stroke
        double sample = 0;
        for (const TPartial& p : partials)
            sample += p.Gain * std::exp(-t / p.Decay) *
                      std::sin(2 * std::numbers::pi * frequency * p.Ratio * t);
        out[i] += level * attack * sample;
    }
}

std::vector<std::uint8_t> BuildWave() {
    std::vector<double> samples(static_cast<std::size_t>(kLength * kRate), 0.0);
    AddNote(samples, 0.0, 1318.5, 0.30);  // E6
    AddNote(samples, 0.09, 1760.0, 0.26); // A6
    // Fade the tail to silence over the last 60 ms.
    const std::size_t fade = kRate * 60 / 1000;
    for (std::size_t k = 0; k < fade; ++k)
        samples[samples.size() - 1 - k] *= static_cast<double>(k) / fade;
    return WaveFileBytes(samples, kRate);
}

} // namespace

const std::vector<std::uint8_t>& DefaultChimeWave() {
    static const std::vector<std::uint8_t> wave = BuildWave();
    return wave;
}
