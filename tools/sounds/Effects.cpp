#include "Effects.h"

#include <cmath>
#include <numbers>

namespace sounds {

namespace {

// The levels every effect is matched to: RMS over its loud part, and the peak it may reach.
constexpr double kLoudness = 0.125; // about -18 dBFS
constexpr double kMaxPeak = 0.63;   // -4 dBFS: room for the music playing beneath

// A tuned bar or bell: partials as ratios to the note with their own gains and decays.
struct TPartial {
    double Ratio, Gain, Decay;
};

void Strike(TSignal& signal, double start, double frequency, double level,
            const std::vector<TPartial>& partials, double attack, double detune = 0.0) {
    std::vector<TMode> modes;
    double phase = 0.3;
    for (const TPartial& p : partials) {
        modes.push_back({frequency * p.Ratio, level * p.Gain, p.Decay, phase});
        // A second, slightly mistuned copy gives the slow beating of a real bar or bell.
        if (detune > 0)
            modes.push_back({frequency * p.Ratio + detune, level * p.Gain * 0.35, p.Decay, phase});
        phase += 1.1;
    }
    AddModes(signal, start, modes, attack);
}

double Note(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void Finish(TSignal& signal, double fadeIn, double fadeOut) {
    RemoveDc(signal);
    FadeIn(signal, fadeIn);
    FadeOut(signal, fadeOut);
    NormalizeLoudness(signal, kLoudness, kMaxPeak);
}

// One wooden contact: body thump, the piece's own ring and the noise of the touch.
void WoodHit(TSignal& signal, double start, double level, double brightness, double pitch,
             std::uint64_t seed) {
    AddModes(signal, start,
             {{190 * pitch, 0.45 * level, 0.020, 0.0},
              {740 * pitch, 0.60 * level, 0.011, 0.7},
              {1230 * pitch, 0.36 * level * brightness, 0.008, 1.9},
              {1900 * pitch, 0.22 * level * brightness, 0.0055, 0.4},
              {2840 * pitch, 0.12 * level * brightness * brightness, 0.0035, 2.6}},
             0.0009);
    AddNoiseBurst(signal, start, 0.9 * level * brightness, 0.0016, 2600 * brightness, 0.9, seed);
}

} // namespace

TSignal MoveClick() {
    TSignal s = Silence(0.120);
    WoodHit(s, 0.002, 1.0, 0.8, 1.0, 11);
    TBiquad soft = TBiquad::LowPass(5200, 0.7); // the felt under the piece takes the edge off
    soft.Run(s);
    AddRoom(s, 0.05, 0.45);
    Finish(s, 0.001, 0.040);
    return s;
}

TSignal CaptureKnock() {
    TSignal s = Silence(0.300);
    WoodHit(s, 0.002, 1.0, 1.35, 1.12, 21);
    WoodHit(s, 0.072, 0.55, 1.1, 0.94, 22); // the struck piece knocks against the board
    TBiquad edge = TBiquad::LowPass(8000, 0.7);
    edge.Run(s);
    AddRoom(s, 0.07, 0.5);
    Finish(s, 0.001, 0.080);
    return s;
}

TSignal PromotionBell() {
    // A hand bell: fundamental, its twelfth and the inharmonic partials of the bell's rim.
    const std::vector<TPartial> bell = {{1.0, 1.0, 0.95},   {2.0, 0.22, 0.45},  {3.0, 0.45, 0.55},
                                        {4.16, 0.16, 0.22}, {5.43, 0.10, 0.14}, {6.8, 0.05, 0.08}};
    TSignal s = Silence(1.9);
    Strike(s, 0.002, Note(84), 0.5, bell, 0.0015, 0.7);  // C6
    Strike(s, 0.150, Note(91), 0.32, bell, 0.0015, 0.9); // G6, answered on a smaller bell
    AddNoiseBurst(s, 0.002, 0.05, 0.002, 5000, 1.2, 31);
    AddRoom(s, 0.16, 0.8);
    Finish(s, 0.001, 0.45);
    return s;
}

TSignal CheckAlert() {
    // A soft metal bar: the bar's fourth partial sits two octaves up, the tenth far above.
    const std::vector<TPartial> bar = {{1.0, 1.0, 0.55}, {4.0, 0.20, 0.12}, {10.0, 0.04, 0.03}};
    TSignal s = Silence(0.95);
    Strike(s, 0.002, Note(76), 0.5, bar, 0.002, 0.0);  // E5
    Strike(s, 0.160, Note(83), 0.55, bar, 0.002, 0.0); // B5
    // The bar's slow tremolo.
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] *= 1.0 - 0.12 * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * 5.5 * i / kRate));
    AddRoom(s, 0.12, 0.7);
    Finish(s, 0.001, 0.30);
    return s;
}

TSignal MateFigure() {
    // A wooden bar tuned so its fourth partial lies two octaves up; lower bars ring longer.
    TSignal s = Silence(2.0);
    const int notes[] = {81, 76, 72, 69, 57}; // A5 E5 C5 A4, and the low A3 to close
    const double times[] = {0.002, 0.17, 0.34, 0.51, 0.51};
    const double levels[] = {0.40, 0.42, 0.45, 0.50, 0.30};
    for (int k = 0; k < 5; ++k) {
        const double ring = k >= 3 ? 1.0 : 0.45;
        const std::vector<TPartial> bar = {
            {1.0, 1.0, 0.55 * ring}, {3.93, 0.18, 0.08 * ring}, {9.2, 0.05, 0.02}};
        Strike(s, times[k], Note(notes[k]), levels[k], bar, 0.003, 0.0);
    }
    TBiquad warm = TBiquad::LowPass(4500, 0.7);
    warm.Run(s);
    AddRoom(s, 0.15, 0.8);
    Finish(s, 0.001, 0.55);
    return s;
}

TSignal DrawChord() {
    // C, F and G over a low C: a suspended chord that leans neither to major nor to minor.
    const std::vector<TPartial> chime = {{1.0, 1.0, 0.9}, {2.0, 0.25, 0.45}, {3.0, 0.08, 0.25}};
    TSignal s = Silence(1.7);
    const int notes[] = {60, 67, 72, 77};
    for (int k = 0; k < 4; ++k)
        Strike(s, 0.002 + 0.025 * k, Note(notes[k]), k == 0 ? 0.35 : 0.28, chime, 0.02, 0.5);
    TBiquad warm = TBiquad::LowPass(5000, 0.7);
    warm.Run(s);
    AddRoom(s, 0.2, 0.9);
    Finish(s, 0.001, 0.5);
    return s;
}

} // namespace sounds
