// Reading ahead which instruments a MIDI file selects, so that exactly those are loaded.

#include "MidiPresets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <iterator>

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Chunk(const char* tag, const TBytes& body) {
    TBytes out(tag, tag + 4);
    const auto n = static_cast<std::uint32_t>(body.size());
    for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(n >> shift));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

TBytes File(std::initializer_list<TBytes> tracks) {
    TBytes out = Chunk("MThd", {0, 1, 0, static_cast<std::uint8_t>(tracks.size()), 0, 96});
    for (const TBytes& track : tracks) {
        const TBytes chunk = Chunk("MTrk", track);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

TEST(MidiPresets, ProgramsBanksAndDefaultsAcrossTracks) {
    const TBytes file = File({
        // Meta events (a tempo, a long name), then bank 1 and program 40 on channel 0, a
        // note, and a second note in running status.
        {0, 0xFF, 0x51, 3, 7, 0xA1, 0x20, 0, 0xFF, 0x03, 0x81, 0x00, // name of 128 bytes
         /* 128 bytes follow */},
        {0, 0xB0, 0, 1, 0, 0xC0, 40, 0, 0x90, 60, 100, 10, 62, 100, 0, 0xFF, 0x2F, 0},
        // Channel 9 plays a drum before any program: the standard kit; channel 2 a note
        // before a harp (46): its default piano first. A system exclusive is skipped.
        {0, 0xF0, 3, 0x7E, 0x7F, 0xF7, 0, 0x99, 36, 90, 0, 0x92, 60, 64, 5, 0xC2, 46,
         0, 0xC0, 40, 0, 0xFF, 0x2F, 0},
    });
    TBytes withName = file;
    // Put the 128 name bytes in place: the first track's length grows by 128.
    const std::size_t firstTrack = 14;
    const std::size_t nameEnd = firstTrack + 8 + 12;
    withName.insert(withName.begin() + static_cast<std::ptrdiff_t>(nameEnd), 128, 'x');
    withName[firstTrack + 7] = static_cast<std::uint8_t>(withName[firstTrack + 7] + 128);

    const TMidiPresets presets = ReadMidiPresets(withName);
    EXPECT_EQ(presets.Presets, (std::vector<TMidiPreset>{{1, 40}, {128, 0}, {0, 0}, {0, 46}}));
    EXPECT_EQ(presets.DefaultChannels, (std::vector<int>{9, 2}));
    EXPECT_EQ(presets.Channels, (std::vector<int>{0, 9, 2}));
}

TEST(MidiPresets, DamageStopsTheReadingWithoutLosingWhatCameBefore) {
    // A program change, then a note cut off in the middle.
    EXPECT_EQ(ReadMidiPresets(File({{0, 0xC3, 71, 0, 0x93, 60}})).Presets,
              (std::vector<TMidiPreset>{{0, 71}}));
    // A track that claims to be longer than the file is read as far as the file goes.
    TBytes file = File({{0, 0xC4, 20, 0, 0xC5}});
    file[14 + 6] = 0x7F; // its length
    EXPECT_EQ(ReadMidiPresets(file).Presets, (std::vector<TMidiPreset>{{0, 20}}));

    // Running status with nothing to run on, a status byte the file format forbids, nothing.
    EXPECT_TRUE(ReadMidiPresets(File({{0, 60, 100}})).Presets.empty());
    EXPECT_TRUE(ReadMidiPresets(File({{0, 0xF8, 0, 0xC0, 5}})).Presets.empty());
    EXPECT_TRUE(ReadMidiPresets({}).Presets.empty());
    EXPECT_TRUE(ReadMidiPresets(TBytes{'M', 'T', 'r', 'k', 0xFF, 0xFF, 0xFF, 0xFF}).Presets.empty());
}

TEST(MidiPresets, TheShippedPieceSelectsItsSixInstrumentsOnTheirOwnChannels) {
    std::ifstream in(std::string(ZEL_DATA_DIR) + "/Passport.mid", std::ios::binary);
    const TBytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const TMidiPresets presets = ReadMidiPresets(file);
    EXPECT_EQ(presets.Presets.size(), 6u);
    EXPECT_EQ(presets.Channels.size(), 6u);
    EXPECT_TRUE(presets.DefaultChannels.empty());
    for (const TMidiPreset& preset : presets.Presets) EXPECT_EQ(preset.Bank, 0);
}

} // namespace
