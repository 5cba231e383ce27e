#pragma once
// The small signal kit the sound generator builds its effects from: mono signals of doubles
// at 44100 Hz, damped sinusoidal modes, a reproducible noise source, two-pole filters,
// envelopes and level tools. Everything is deterministic: the same calls give the same
// samples on every run.

#include <cstdint>
#include <vector>

#include "WaveFile.h"

namespace sounds {

inline constexpr int kRate = 44100;
using TSignal = std::vector<double>;

TSignal Silence(double seconds);
std::size_t FrameAt(double seconds);

// A reproducible white-noise source (xorshift), uniform in [-1, 1).
class TNoise {
  public:
    explicit TNoise(std::uint64_t seed) : State(seed ? seed : 0x9E3779B97F4A7C15ULL) {}
    double Next();

  private:
    std::uint64_t State;
};

// A two-pole filter in direct form I (the usual audio cookbook forms).
class TBiquad {
  public:
    static TBiquad LowPass(double frequency, double q);
    static TBiquad HighPass(double frequency, double q);
    static TBiquad BandPass(double frequency, double q);
    double Process(double x);
    void Run(TSignal& signal);

  private:
    // A design of the audio cookbook from its numerator; all share the denominator.
    static TBiquad Design(double w, double alpha, double b0, double b1, double b2);
    double B0 = 1, B1 = 0, B2 = 0, A1 = 0, A2 = 0;
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
};

// One resonance of a struck body: a sine that starts at its peak level after a short
// raised-cosine attack and dies away exponentially.
struct TMode {
    double Frequency;   // Hz
    double Gain;        // peak level
    double Decay;       // seconds for the level to fall by 1/e
    double Phase = 0.0; // radians
};

// Adds the modes into signal from time start on, each with the given attack in seconds.
void AddModes(TSignal& signal, double start, const std::vector<TMode>& modes, double attack);

// Adds a short burst of filtered noise (the contact of a strike): level, length in seconds,
// band centre and width given by the band-pass filter's q.
void AddNoiseBurst(TSignal& signal, double start, double level, double length, double centre,
                   double q, std::uint64_t seed);

// Raised-cosine fades over the first and last given seconds.
void FadeIn(TSignal& signal, double seconds);
void FadeOut(TSignal& signal, double seconds);
// Removes any DC offset and the lowest rumble with a gentle high-pass.
void RemoveDc(TSignal& signal, double corner = 30.0);
// A soft early-reflection reverb (a few feedback combs and all-passes), mixed in at level wet.
void AddRoom(TSignal& signal, double wet, double size);

double Peak(const TSignal& signal);
double Rms(const TSignal& signal);
// Scales the signal so that its peak is the given level (1.0 = full scale).
void NormalizePeak(TSignal& signal, double level);
// Scales the signal so that its RMS over the loud part (while it is within 20 dB of its
// peak envelope) reaches level, but never lets the peak pass maxPeak.
void NormalizeLoudness(TSignal& signal, double level, double maxPeak);

// The signal as a 16-bit mono PCM WAV file at kRate.
inline std::vector<std::uint8_t> WaveFileOf(const TSignal& signal) {
    return WaveFileBytes(signal, kRate);
}

} // namespace sounds
