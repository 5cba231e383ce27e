// The music's recording: the committed Passport.ogg is what the generator makes of the
// committed Passport.mid with the large General MIDI bank. The comparison is of the decoded
// audio (length, and level second by second), not of bytes, since another machine's Vorbis
// encoder may write other bytes for the same sound; on one machine the bytes are the same on
// every run, which is checked too.

#include "MusicRender.h"
#include "OggVorbis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

using music::TStereo;

const std::string kPiece = std::string(ZEL_DATA_DIR) + "/Passport.mid";
const std::string kRecording = std::string(ZEL_DATA_DIR) + "/Passport.ogg";

bool HaveLargeBank() {
    return std::filesystem::exists(music::LargeSoundFont());
}

// The rendering, made once for the whole test program.
const TStereo& Rendering() {
    static const TStereo audio = music::RenderMidi(kPiece, music::LargeSoundFont());
    return audio;
}

// The RMS of both channels in dB full scale over [from, from + count).
double LevelDb(const TStereo& a, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i)
        sum += a.Left[i] * a.Left[i] + a.Right[i] * a.Right[i];
    return 10 * std::log10(sum / (2.0 * static_cast<double>(count)) + 1e-20);
}

float Peak(const TStereo& a) {
    float peak = 0;
    for (std::size_t i = 0; i < a.Frames(); ++i)
        peak = std::max({peak, std::abs(a.Left[i]), std::abs(a.Right[i])});
    return peak;
}

TEST(MusicRecording, TheCommittedRecordingSoundsAsTheGeneratorRendersIt) {
    if (!HaveLargeBank()) GTEST_SKIP() << "fluid-soundfont-gm isn't installed";
    const TStereo& rendered = Rendering();
    int rate = 0;
    const TStereo committed = music::DecodeOggVorbis(kRecording, &rate);
    ASSERT_GT(rendered.Frames(), 0u);
    ASSERT_GT(committed.Frames(), 0u) << kRecording << " can't be decoded";
    EXPECT_EQ(rate, music::kRate);
    EXPECT_EQ(committed.Frames(), rendered.Frames())
        << "run the zel_rerender_music target after changing the piece or the rendering";
    // Second by second the same level, where there is sound to compare.
    const std::size_t second = music::kRate;
    const std::size_t frames = std::min(committed.Frames(), rendered.Frames());
    for (std::size_t at = 0; at + second <= frames; at += second) {
        const double want = LevelDb(rendered, at, second);
        if (want < -60) continue;
        EXPECT_NEAR(LevelDb(committed, at, second), want, 0.5) << "at second " << at / second;
    }
    EXPECT_NEAR(20 * std::log10(Peak(committed)), 20 * std::log10(Peak(rendered)), 0.5);
}

// The whole piece with its last notes' reverberation, at the level the program always
// played it at, ending in silence without a click.
TEST(MusicRecording, TheRenderingIsTheWholePieceEndingSoftly) {
    if (!HaveLargeBank()) GTEST_SKIP() << "fluid-soundfont-gm isn't installed";
    const TStereo& audio = Rendering();
    const double seconds = static_cast<double>(audio.Frames()) / music::kRate;
    EXPECT_GT(seconds, 105);
    EXPECT_LT(seconds, 125);
    const double peakDb = 20 * std::log10(Peak(audio));
    EXPECT_LT(peakDb, -3); // never clipped, below the effects
    EXPECT_GT(peakDb, -14);
    const double overall = LevelDb(audio, 0, audio.Frames());
    EXPECT_GT(overall, -30);
    EXPECT_LT(overall, -18);
    // Sound from the first tenth of a second on; the last 20 ms fade to nothing.
    EXPECT_GT(LevelDb(audio, music::kRate / 20, music::kRate / 10), -50);
    const std::size_t last = music::kRate / 50;
    EXPECT_LT(LevelDb(audio, audio.Frames() - last, last), -60);
    EXPECT_LT(std::abs(audio.Left.back()) + std::abs(audio.Right.back()), 1e-3f);
}

TEST(MusicRecording, TheSameAudioGivesTheSameBytes) {
    TStereo audio;
    for (int i = 0; i < music::kRate; ++i) {
        audio.Left.push_back(static_cast<float>(0.3 * std::sin(i * 0.05)));
        audio.Right.push_back(static_cast<float>(0.2 * std::sin(i * 0.07)));
    }
    const auto first = music::EncodeOggVorbis(audio, music::kRate, music::kQuality, "t");
    const auto second = music::EncodeOggVorbis(audio, music::kRate, music::kQuality, "t");
    ASSERT_GT(first.size(), 1000u);
    EXPECT_TRUE(first == second);
    // And what it writes decodes to the same length and level.
    const auto path = std::filesystem::temp_directory_path() / "zel-music-render-test.ogg";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(first.data()),
               static_cast<std::streamsize>(first.size()));
    const TStereo decoded = music::DecodeOggVorbis(path.string());
    std::filesystem::remove(path);
    ASSERT_EQ(decoded.Frames(), audio.Frames());
    EXPECT_NEAR(LevelDb(decoded, 0, decoded.Frames()), LevelDb(audio, 0, audio.Frames()), 0.2);
}

} // namespace
