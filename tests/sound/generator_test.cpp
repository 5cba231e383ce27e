// The sound generator: it reproduces the committed files byte for byte, and what it makes
// is clean and fit for its place (lengths, levels, fades; the music's form and length).

#include "Chords.h"
#include "Effects.h"
#include "SoundSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace {

using namespace sounds;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SoundGenerator, ReproducesTheCommittedFilesByteForByte) {
    const std::vector<TSoundFile> files = MakeSoundSet();
    ASSERT_EQ(files.size(), 7u);
    for (const TSoundFile& file : files) {
        const std::vector<std::uint8_t> committed =
            ReadFile(std::string(ZEL_DATA_DIR) + "/" + file.Name);
        EXPECT_TRUE(committed == file.Bytes)
            << file.Name << " differs from resources/data; run the zel_regenerate_sounds target";
    }
}

// The loud part's RMS, over 10 ms windows within 20 dB of the loudest, as the generator
// matches the effects by it.
double ActiveRms(const TSignal& s) {
    const std::size_t window = 441;
    std::vector<double> energies;
    for (std::size_t at = 0; at + window <= s.size(); at += window) {
        double sum = 0;
        for (std::size_t i = at; i < at + window; ++i)
            sum += s[i] * s[i];
        energies.push_back(sum / window);
    }
    const double loudest = *std::max_element(energies.begin(), energies.end());
    double sum = 0;
    int n = 0;
    for (double e : energies)
        if (e >= loudest * 0.01) sum += e, ++n;
    return std::sqrt(sum / n);
}

TEST(SoundGenerator, EffectsAreCleanAndMatchedInLevel) {
    const std::map<std::string, TSignal> effects = {
        {"move", MoveClick()},   {"capture", CaptureKnock()}, {"bell", PromotionBell()},
        {"check", CheckAlert()}, {"mate", MateFigure()},      {"draw", DrawChord()}};
    std::vector<double> levels;
    for (const auto& [name, s] : effects) {
        SCOPED_TRACE(name);
        ASSERT_GT(s.size(), 441u);
        const double peak = Peak(s);
        EXPECT_LE(peak, std::pow(10.0, -1.0 / 20)); // headroom: nothing near clipping
        EXPECT_GT(peak, 0.25);
        double mean = 0;
        for (double x : s)
            mean += x;
        EXPECT_LT(std::abs(mean / s.size()), 1e-3); // no DC offset
        // No click at either end: the first and last millisecond stay far below the peak.
        const auto edge = [&](std::size_t from) {
            double m = 0;
            for (std::size_t i = from; i < from + 44; ++i)
                m = std::max(m, std::abs(s[i]));
            return m;
        };
        EXPECT_LT(edge(0), peak * 0.2);
        EXPECT_LT(edge(s.size() - 44), peak * 0.01);
        EXPECT_LT(std::abs(s.back()), 1e-3);
        levels.push_back(20 * std::log10(ActiveRms(s)));
    }
    // The window waits for the move sound: it must be short.
    EXPECT_LE(effects.at("move").size(), 44100u * 150 / 1000);
    const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_LT(*loudest - *quietest, 4.0) << "effects differ too much in loudness";
}

// A minimal reader of the generated MIDI file: its tracks, the programs used, whether every
// note ends, and how long the piece lasts in seconds through the tempo map.
struct TMidiSummary {
    int Format = -1, Tracks = 0;
    std::set<int> Programs;
    int OpenNotes = 0, Notes = 0;
    double Seconds = 0;
};

TMidiSummary Summarise(const std::vector<std::uint8_t>& b) {
    TMidiSummary result;
    auto be = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = v << 8 | b.at(at + i);
        return v;
    };
    if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd") return result;
    result.Format = static_cast<int>(be(8, 2));
    const int count = static_cast<int>(be(10, 2));
    const double division = be(12, 2);
    std::map<std::uint32_t, double> tempos = {{0, 500000}}; // tick -> microseconds per beat
    std::uint32_t lastTick = 0;
    std::size_t at = 14;
    for (int t = 0; t < count; ++t) {
        if (std::string(b.begin() + at, b.begin() + at + 4) != "MTrk") return result;
        const std::size_t end = at + 8 + be(at + 4, 4);
        at += 8;
        std::uint32_t tick = 0;
        std::map<int, int> sounding;
        while (at < end) {
            std::uint32_t delta = 0;
            do
                delta = delta << 7 | (b.at(at) & 0x7F);
            while (b.at(at++) & 0x80);
            tick += delta;
            const int status = b.at(at++);
            if (status == 0xFF) {
                const int type = b.at(at++);
                const std::uint32_t length = b.at(at++);
                if (type == 0x51) tempos[tick] = be(at, 3);
                at += length;
            } else if ((status & 0xF0) == 0xC0) {
                result.Programs.insert(b.at(at++));
            } else if ((status & 0xF0) == 0x90 || (status & 0xF0) == 0x80) {
                const int key = (status & 0x0F) << 8 | b.at(at);
                const bool on = (status & 0xF0) == 0x90 && b.at(at + 1) > 0;
                sounding[key] += on ? 1 : -1;
                result.Notes += on;
                at += 2;
            } else {
                at += 2; // controllers: the only other events the generator writes
            }
        }
        for (const auto& [key, n] : sounding)
            result.OpenNotes += n != 0;
        lastTick = std::max(lastTick, tick);
        ++result.Tracks;
    }
    double seconds = 0;
    for (auto it = tempos.begin(); it != tempos.end(); ++it) {
        const auto next = std::next(it);
        const std::uint32_t until =
            next == tempos.end() ? lastTick : std::min(next->first, lastTick);
        if (until > it->first) seconds += (until - it->first) / division * it->second / 1e6;
    }
    result.Seconds = seconds;
    return result;
}

TEST(SoundGenerator, TheMusicIsAWholeCalmPieceForSeveralInstruments) {
    const std::vector<TSoundFile> files = MakeSoundSet();
    const auto music = std::find_if(files.begin(), files.end(),
                                    [](const TSoundFile& f) { return f.Name == "Passport.mid"; });
    ASSERT_NE(music, files.end());
    const TMidiSummary summary = Summarise(music->Bytes);
    EXPECT_EQ(summary.Format, 1);
    EXPECT_GE(summary.Tracks, 5);
    EXPECT_GE(summary.Programs.size(), 4u);
    EXPECT_EQ(summary.OpenNotes, 0) << "a note is never released";
    EXPECT_GT(summary.Notes, 300);
    EXPECT_GE(summary.Seconds, 60);
    EXPECT_LE(summary.Seconds, 120);
}

TEST(SoundGeneratorChords, SymbolsAndVoiceLeading) {
    const TChord slash = ParseChord("D/F#");
    EXPECT_EQ(slash.Root, 2);
    EXPECT_EQ(slash.Bass, 6);
    EXPECT_EQ(ParseChord("Eb6").Root, 3);
    EXPECT_EQ(ParseChord("Am7").Tones, (std::vector<int>{0, 3, 7, 10}));
    EXPECT_THROW(ParseChord("H"), std::invalid_argument);
    EXPECT_THROW(ParseChord("Cdim"), std::invalid_argument);
    EXPECT_THROW(ParseChord("C/"), std::invalid_argument);

    // G to D/F# to Em: each voice moves by a step at most and every chord is complete.
    std::vector<int> voices = VoiceLead(ParseChord("G"), {}, 3, 55, 74);
    for (const char* next : {"D/F#", "Em", "C", "Am7", "D7"}) {
        const TChord chord = ParseChord(next);
        const std::vector<int> led = VoiceLead(chord, voices, 3, 55, 74);
        ASSERT_EQ(led.size(), 3u) << next;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_LE(std::abs(led[i] - voices[i]), 4) << next;
            EXPECT_GE(led[i], 55);
            EXPECT_LE(led[i], 74);
        }
        std::set<int> classes;
        for (int k : led)
            classes.insert(k % 12);
        EXPECT_TRUE(classes.count(chord.Root)) << next;
        EXPECT_TRUE(classes.count((chord.Root + chord.Tones[1]) % 12)) << next;
        voices = led;
    }
}

} // namespace
