#include "Passport.h"

#include "Chords.h"
#include "Midi.h"

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>

namespace sounds {

namespace {

constexpr int kTicksPerBeat = 480;
constexpr int kTicksPerBar = 4 * kTicksPerBeat;

// The harmony, one entry per bar of 4/4; two symbols share the bar by halves.
//   bars  0- 3  introduction, piano alone
//   bars  4-11  the theme on the flute, strings and bass enter
//   bars 12-19  the middle section, the cello sings, the flute answers
//   bars 20-27  the theme again, fuller, closing on the tonic
//   bars 28-31  coda over the minor subdominant; the last chord is held two bars
const char* const kHarmony[] = {
    "G",     "Cmaj7/G", "Em7", "D7sus4 D7",                                 // introduction
    "G",     "D/F#",    "Em",  "C",         "G/B", "Am7", "D7sus4 D7", "G", // theme
    "Em",    "C",       "G",   "D",         "Em",  "Am",  "C",         "D7",
    "G",     "D/F#",    "Em",  "C",         "G/B", "Am7", "D7sus4 D7", "G", // theme again
    "Cmaj7", "Cm6",     "G/B", "G",                                         // coda
};
constexpr int kBars = static_cast<int>(std::size(kHarmony));
constexpr int kLastBar = kBars - 1;

// Melodies as note names with durations in beats ("B5:1.5"; one beat when left out; "r" rests).
const char* const kTheme = "B5:1.5 A5:0.5 G5 D5 | A5:1.5 G5:0.5 F#5:2 | G5 B5 E6:1.5 D6:0.5 | "
                           "C6 B5:0.5 A5:0.5 G5:2 | D6:1.5 B5:0.5 G5 B5 | C6 A5 E5 G5 | "
                           "G5 A5 F#5 A5:0.5 C6:0.5 | B5:3 r";
const char* const kThemeClose = "B5:1.5 A5:0.5 G5 D5 | A5:1.5 G5:0.5 F#5:2 | G5 B5 E6:1.5 D6:0.5 | "
                                "C6 B5:0.5 A5:0.5 G5:2 | D6:1.5 B5:0.5 G5 B5 | C6 A5 E5 G5 | "
                                "G5 A5 F#5 E5:0.5 F#5:0.5 | G5:4";
const char* const kMiddle = "B3:1.5 E4:0.5 D4 B3 | C4:1.5 G3:0.5 E3:2 | D4 B3 G3 A3:0.5 B3:0.5 | "
                            "A3:3 F#3 | G3 B3 E4:1.5 F#4:0.5 | A4:1.5 G4:0.5 E4 C4 | "
                            "E4:1.5 D4:0.5 C4 G3 | D4 C4 A3 F#3";
const char* const kAnswer = "r:4 | r:4 | r:4 | r:4 | B5:4 | C6:2 A5:2 | G5:2 E5:2 | F#5:2 A5:2";
const char* const kCoda = "E6:2 D6:2 | Eb6:2 D6:2 | B5:4 | G5:8";

enum TChannel { kPiano, kStrings, kBass, kFlute, kCello, kHarp };

struct TVoiceSetup {
    TChannel Channel;
    int Program, Volume, Pan;
    const char* Name;
};
constexpr TVoiceSetup kVoices[] = {
    {kPiano, 0, 118, 58, "Piano"},       {kStrings, 48, 96, 76, "Strings"},
    {kBass, 43, 100, 64, "Double bass"}, {kFlute, 73, 110, 70, "Flute"},
    {kCello, 42, 112, 48, "Cello"},      {kHarp, 46, 92, 40, "Harp"},
};

// The music begins a moment after the file does, so that the setup events at tick 0 reach
// the synthesiser before the first notes.
constexpr std::uint32_t kLeadIn = kTicksPerBeat / 16;

std::uint32_t BarTick(int bar) {
    return kLeadIn + static_cast<std::uint32_t>(bar * kTicksPerBar);
}

int BarOf(std::uint32_t tick) {
    return static_cast<int>((tick - kLeadIn) / kTicksPerBar);
}

// A small, fixed unevenness of touch so that repeated notes don't sound machine-made.
int Touch(int index) {
    return (index * 37) % 9 - 4;
}

int NoteKey(const std::string& name) {
    if (name == "r") return 0;
    const TChord pitch = ParseChord(name.substr(0, name.size() - 1));
    const int octave = name.back() - '0';
    return 12 * (octave + 1) + pitch.Root;
}

// Writes a melody from tick start; returns the tick after its last note.
std::uint32_t WriteMelody(TMidiTrack& track, TChannel channel, std::uint32_t start,
                          const std::string& text, int velocity, int transpose = 0) {
    std::istringstream words(text);
    std::string word;
    std::uint32_t tick = start;
    int index = 0;
    while (words >> word) {
        if (word == "|") continue;
        const std::size_t colon = word.find(':');
        const double beats = colon == std::string::npos ? 1.0 : std::stod(word.substr(colon + 1));
        const auto length = static_cast<std::uint32_t>(std::lround(beats * kTicksPerBeat));
        const int key = NoteKey(word.substr(0, colon));
        if (key != 0) {
            // Longer notes lean a little louder; the breath between notes keeps it singing.
            const int accent = beats >= 2 ? 4 : (beats < 1 ? -5 : 0);
            track.Note(tick, length - length / 12, channel, key + transpose,
                       velocity + accent + Touch(index++));
        }
        tick += length;
    }
    return tick;
}

// The chords of one bar with their start ticks and lengths.
struct TSpan {
    TChord Chord;
    std::uint32_t Tick, Length;
};

std::vector<TSpan> Spans() {
    std::vector<TSpan> spans;
    for (int bar = 0; bar < kBars; ++bar) {
        std::istringstream words(kHarmony[bar]);
        std::vector<std::string> symbols;
        for (std::string s; words >> s;)
            symbols.push_back(s);
        const std::uint32_t length = kTicksPerBar / static_cast<std::uint32_t>(symbols.size());
        for (std::size_t i = 0; i < symbols.size(); ++i)
            spans.push_back({ParseChord(symbols[i]),
                             BarTick(bar) + static_cast<std::uint32_t>(i) * length,
                             bar == kLastBar ? 2 * kTicksPerBar : length});
    }
    return spans;
}

int SectionLevel(std::uint32_t tick) {
    const int bar = BarOf(tick);
    if (bar < 4) return 68;
    if (bar < 12) return 52;
    if (bar < 20) return 48;
    if (bar < 28) return 56;
    return 46;
}

// Broken chords in quavers: bass, fifth, octave, tenth, the twelfth at the top, and back.
void WritePiano(TMidiTrack& track, const std::vector<TSpan>& spans) {
    std::vector<int> upper;
    int index = 0;
    for (const TSpan& span : spans) {
        const TChord& c = span.Chord;
        const int bass = KeyInRange(c.Bass, 43);
        const int root = KeyInRange(c.Root, 43);
        const int colour = c.Tones.size() > 3 ? c.Tones[3] : c.Tones[2] + 12;
        const int pattern[] = {bass,
                               root + 7,
                               root + 12,
                               root + 12 + c.Tones[1],
                               root + 12 + colour,
                               root + 12 + c.Tones[1],
                               root + 12,
                               root + 7};
        // Change the pedal with the harmony: up just before, down just after.
        track.Control(span.Tick - 8, kPiano, 64, 0);
        track.Control(span.Tick + 30, kPiano, 64, 110);
        const int level = SectionLevel(span.Tick);
        if (span.Tick == BarTick(kLastBar)) {
            // The last chord rolled from the bottom and left to ring.
            const int keys[] = {43, 50, 55, 59, 62, 67, 71};
            for (int k = 0; k < 7; ++k)
                track.Note(span.Tick + 45 * k, span.Length - 45 * k, kPiano, keys[k],
                           level - 2 + Touch(index++));
            continue;
        }
        const int quavers = static_cast<int>(span.Length / (kTicksPerBeat / 2));
        for (int q = 0; q < quavers; ++q) {
            const int shape = q == 0 ? 8 : (q == 4 ? 3 : 0);
            track.Note(span.Tick + q * kTicksPerBeat / 2, kTicksPerBeat, kPiano, pattern[q % 8],
                       level + shape - 4 + Touch(index++));
        }
        // In the introduction and the coda the right hand adds the chord at the top.
        const int bar = BarOf(span.Tick);
        if (bar < 4 || bar >= 28) {
            upper = VoiceLead(c, upper, 2, 64, 76);
            for (int key : upper)
                track.Note(span.Tick + 10, span.Length - 20, kPiano, key,
                           level - 6 + Touch(index++));
        }
    }
    track.Control(BarTick(kBars + 1), kPiano, 64, 0);
}

// Held chords from the theme on, three voices and four when the theme returns, each chord
// swelling a little and settling.
void WriteStrings(TMidiTrack& track, const std::vector<TSpan>& spans) {
    std::vector<int> voices;
    for (const TSpan& span : spans) {
        const int bar = BarOf(span.Tick);
        if (bar < 4) continue;
        const int count = bar >= 20 ? 4 : 3;
        if (static_cast<int>(voices.size()) != count) voices.clear();
        voices = VoiceLead(span.Chord, voices, count, 55, count == 4 ? 79 : 74);
        for (int key : voices)
            track.Note(span.Tick, span.Length - 10, kStrings, key, bar >= 20 ? 54 : 48);
        if (bar == kLastBar) continue; // the closing fade shapes the last chord
        const int steps = static_cast<int>(span.Length / (kTicksPerBeat / 2));
        for (int i = 0; i < steps; ++i) {
            const double phase = static_cast<double>(i) / steps;
            const int expression = static_cast<int>(78 + 22 * std::sin(std::numbers::pi * phase));
            track.Control(span.Tick + i * kTicksPerBeat / 2, kStrings, 11, expression);
        }
    }
}

void WriteBass(TMidiTrack& track, const std::vector<TSpan>& spans) {
    int index = 0;
    for (const TSpan& span : spans) {
        if (span.Tick < BarTick(4)) continue;
        track.Note(span.Tick, span.Length - 40, kBass, KeyInRange(span.Chord.Bass, 36),
                   54 + Touch(index++));
    }
}

// A harp rolls up through the chord where a section begins.
void WriteHarp(TMidiTrack& track, const std::vector<TSpan>& spans) {
    int index = 0;
    for (const TSpan& span : spans) {
        const int bar = BarOf(span.Tick);
        if (span.Tick != BarTick(bar) || (bar != 4 && bar != 20 && bar != 28 && bar != kLastBar))
            continue;
        const TChord& c = span.Chord;
        std::vector<int> keys;
        for (int octave = 55; octave < 86; octave += 12)
            for (int tone : {0, c.Tones[1], c.Tones[2]})
                keys.push_back(KeyInRange(c.Root, octave) + tone);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const std::uint32_t at = span.Tick + static_cast<std::uint32_t>(k) * kTicksPerBeat / 4;
            track.Note(at, span.Tick + span.Length - at, kHarp, keys[k], 50 + Touch(index++));
        }
    }
}

TMidiTrack Conductor() {
    TMidiTrack track;
    track.Name(0, "Passport");
    track.TimeSignature(0, 4, 4);
    track.KeySignature(0, 1, false);
    track.Tempo(0, 72);
    // Broaden into the last chord.
    track.Tempo(BarTick(kLastBar - 1), 68);
    track.Tempo(BarTick(kLastBar - 1) + 2 * kTicksPerBeat, 63);
    track.Tempo(BarTick(kLastBar), 56);
    track.End(BarTick(kBars + 1) + 2 * kTicksPerBeat);
    return track;
}

// Every voice dies away together over the held last chord, so the piece ends in a breath
// rather than a cut: expression falls along a cosine from its level to near silence.
void WriteClosingFade(TMidiTrack& track, TChannel channel) {
    const std::uint32_t start = BarTick(kLastBar) + kTicksPerBeat;
    const std::uint32_t end = BarTick(kLastBar + 2);
    const std::uint32_t step = kTicksPerBeat / 8;
    const int from = channel == kStrings ? 90 : 100;
    for (std::uint32_t tick = start; tick <= end; tick += step) {
        const double phase = static_cast<double>(tick - start) / (end - start);
        const double level = 0.5 + 0.5 * std::cos(std::numbers::pi * phase);
        track.Control(tick, channel, 11, static_cast<int>(std::lround(6 + (from - 6) * level)));
    }
}

TMidiTrack Voice(const TVoiceSetup& setup) {
    TMidiTrack track;
    track.Name(0, setup.Name);
    track.Control(0, setup.Channel, 0, 0); // bank 0: the General MIDI sounds
    track.Program(0, setup.Channel, setup.Program);
    track.Control(0, setup.Channel, 7, setup.Volume);
    track.Control(0, setup.Channel, 10, setup.Pan);
    track.Control(0, setup.Channel, 11, 100);
    track.Control(0, setup.Channel, 91, 72);                                 // reverb
    track.Control(0, setup.Channel, 93, setup.Channel == kStrings ? 30 : 8); // chorus
    WriteClosingFade(track, setup.Channel);
    track.End(BarTick(kBars + 1) + 2 * kTicksPerBeat);
    return track;
}

} // namespace

std::vector<std::uint8_t> PassportMidi() {
    const std::vector<TSpan> spans = Spans();
    std::vector<TMidiTrack> tracks = {Conductor()};
    for (const TVoiceSetup& setup : kVoices)
        tracks.push_back(Voice(setup));
    TMidiTrack& piano = tracks[1 + kPiano];
    TMidiTrack& flute = tracks[1 + kFlute];
    TMidiTrack& cello = tracks[1 + kCello];

    WritePiano(piano, spans);
    WriteStrings(tracks[1 + kStrings], spans);
    WriteBass(tracks[1 + kBass], spans);
    WriteHarp(tracks[1 + kHarp], spans);

    WriteMelody(flute, kFlute, BarTick(4), kTheme, 72);
    WriteMelody(cello, kCello, BarTick(12), kMiddle, 70);
    WriteMelody(flute, kFlute, BarTick(12), kAnswer, 58);
    WriteMelody(flute, kFlute, BarTick(20), kThemeClose, 76);
    // The cello doubles the theme's second half two octaves down.
    std::string secondHalf = kThemeClose;
    secondHalf = secondHalf.substr(secondHalf.find("D6:1.5"));
    WriteMelody(cello, kCello, BarTick(24), secondHalf, 56, -24);
    WriteMelody(flute, kFlute, BarTick(28), kCoda, 66);
    return MidiFileBytes(tracks, kTicksPerBeat);
}

} // namespace sounds
