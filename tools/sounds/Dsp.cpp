#include "Dsp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sounds {

namespace {
constexpr double kPi = std::numbers::pi;
} // namespace

TSignal Silence(double seconds) {
    return TSignal(FrameAt(seconds), 0.0);
}

std::size_t FrameAt(double seconds) {
    return static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * kRate));
}

double TNoise::Next() {
    State ^= State << 13;
    State ^= State >> 7;
    State ^= State << 17;
    return static_cast<double>(State >> 11) / static_cast<double>(1ULL << 52) - 1.0;
}

TBiquad TBiquad::Design(double w, double alpha, double b0, double b1, double b2) {
    const double a0 = 1 + alpha;
    TBiquad f;
    f.B0 = b0 / a0;
    f.B1 = b1 / a0;
    f.B2 = b2 / a0;
    f.A1 = -2 * std::cos(w) / a0;
    f.A2 = (1 - alpha) / a0;
    return f;
}

namespace {
double AngularStep(double frequency) {
    return 2 * kPi * frequency / kRate;
}
} // namespace

TBiquad TBiquad::LowPass(double frequency, double q) {
    const double w = AngularStep(frequency);
    const double alpha = std::sin(w) / (2 * q);
    return Design(w, alpha, (1 - std::cos(w)) / 2, 1 - std::cos(w), (1 - std::cos(w)) / 2);
}

TBiquad TBiquad::HighPass(double frequency, double q) {
    const double w = AngularStep(frequency);
    const double alpha = std::sin(w) / (2 * q);
    return Design(w, alpha, (1 + std::cos(w)) / 2, -(1 + std::cos(w)), (1 + std::cos(w)) / 2);
}

TBiquad TBiquad::BandPass(double frequency, double q) {
    const double w = AngularStep(frequency);
    const double alpha = std::sin(w) / (2 * q);
    return Design(w, alpha, alpha, 0, -alpha);
}

double TBiquad::Process(double x) {
    const double y = B0 * x + B1 * X1 + B2 * X2 - A1 * Y1 - A2 * Y2;
    X2 = X1;
    X1 = x;
    Y2 = Y1;
    Y1 = y;
    return y;
}

void TBiquad::Run(TSignal& signal) {
    for (double& s : signal)
        s = Process(s);
}

void AddModes(TSignal& signal, double start, const std::vector<TMode>& modes, double attack) {
    const std::size_t first = FrameAt(start);
    for (const TMode& m : modes) {
        const double step = 2 * kPi * m.Frequency / kRate;
        // Stop once the mode has fallen 100 dB below its peak.
        const std::size_t last = std::min(signal.size(), first + FrameAt(m.Decay * std::log(1e5)));
        for (std::size_t i = first; i < last; ++i) {
            const double t = static_cast<double>(i - first) / kRate;
            const double rise = t < attack ? 0.5 - 0.5 * std::cos(kPi * t / attack) : 1.0;
            signal[i] +=
                m.Gain * rise * std::exp(-t / m.Decay) * std::sin(m.Phase + step * (i - first));
        }
    }
}

void AddNoiseBurst(TSignal& signal, double start, double level, double length, double centre,
                   double q, std::uint64_t seed) {
    TNoise noise(seed);
    TBiquad band = TBiquad::BandPass(centre, q);
    const std::size_t first = FrameAt(start);
    const std::size_t count = FrameAt(length);
    for (std::size_t k = 0; k < count + FrameAt(0.01) && first + k < signal.size(); ++k) {
        // A half-sine window over the burst, then the filter's own ring-out.
        const double window = k < count ? std::sin(kPi * static_cast<double>(k) / count) : 0.0;
        signal[first + k] += level * band.Process(window * noise.Next());
    }
}

void FadeIn(TSignal& signal, double seconds) {
    const std::size_t n = std::min(signal.size(), FrameAt(seconds));
    for (std::size_t i = 0; i < n; ++i)
        signal[i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / n);
}

void FadeOut(TSignal& signal, double seconds) {
    const std::size_t n = std::min(signal.size(), FrameAt(seconds));
    for (std::size_t i = 0; i < n; ++i)
        signal[signal.size() - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / n);
}

void RemoveDc(TSignal& signal, double corner) {
    TBiquad high = TBiquad::HighPass(corner, std::numbers::sqrt2 / 2);
    high.Run(signal);
}

void AddRoom(TSignal& signal, double wet, double size) {
    // Schroeder's arrangement: parallel combs into series all-passes. The delays are
    // mutually prime sample counts so the echoes don't line up into a pitch.
    constexpr int combDelays[] = {1116, 1188, 1277, 1356};
    constexpr int allPassDelays[] = {225, 556};
    const TSignal dry = signal;
    TSignal wetSignal(signal.size(), 0.0);
    for (int delay : combDelays) {
        const auto d = static_cast<std::size_t>(delay * size);
        TSignal line(d, 0.0);
        double damp = 0;
        for (std::size_t i = 0; i < dry.size(); ++i) {
            const double out = line[i % d];
            damp = 0.6 * out + 0.4 * damp; // high frequencies die sooner
            line[i % d] = dry[i] + 0.78 * damp;
            wetSignal[i] += out / 4;
        }
    }
    for (int delay : allPassDelays) {
        const auto d = static_cast<std::size_t>(delay * size);
        TSignal line(d, 0.0);
        for (std::size_t i = 0; i < wetSignal.size(); ++i) {
            const double buffered = line[i % d];
            const double in = wetSignal[i];
            line[i % d] = in + 0.5 * buffered;
            wetSignal[i] = buffered - 0.5 * in;
        }
    }
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] = dry[i] + wet * wetSignal[i];
}

double Peak(const TSignal& signal) {
    double peak = 0;
    for (double s : signal)
        peak = std::max(peak, std::abs(s));
    return peak;
}

double Rms(const TSignal& signal) {
    double sum = 0;
    for (double s : signal)
        sum += s * s;
    return signal.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(signal.size()));
}

void NormalizePeak(TSignal& signal, double level) {
    const double peak = Peak(signal);
    if (peak <= 0) return;
    for (double& s : signal)
        s *= level / peak;
}

void NormalizeLoudness(TSignal& signal, double level, double maxPeak) {
    const std::size_t window = FrameAt(0.010);
    std::vector<double> energies;
    for (std::size_t start = 0; start + window <= signal.size(); start += window) {
        double sum = 0;
        for (std::size_t i = start; i < start + window; ++i)
            sum += signal[i] * signal[i];
        energies.push_back(sum / window);
    }
    if (energies.empty()) return;
    const double loudest = *std::max_element(energies.begin(), energies.end());
    double sum = 0;
    int count = 0;
    for (double e : energies) {
        if (e >= loudest * 0.01) { // within 20 dB
            sum += e;
            ++count;
        }
    }
    const double rms = std::sqrt(sum / count);
    const double peak = Peak(signal);
    if (rms <= 0 || peak <= 0) return;
    const double gain = std::min(level / rms, maxPeak / peak);
    for (double& s : signal)
        s *= gain;
}

} // namespace sounds
