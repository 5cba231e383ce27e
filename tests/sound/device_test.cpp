// The system sound device over SDL's dummy audio driver (set by the test's environment):
// the two modes of the sound call, one effect at a time, the default chime and the music.

#include "ChosenMusic.h"
#include "SoundDevice.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using soundtest::TimeMs;
using soundtest::TRecorder;
using soundtest::WriteTone;
using Events = std::vector<std::string>;

// Lets an effect left playing by an earlier test end, so it isn't reported as cut short.
void LetTheLastEffectEnd() {
    SystemSoundDevice().PlaySound(WriteTone("settle.wav", 0.01), TSoundMode::SyncNoDefault);
}

TEST(SoundDevice, SynchronousPlayReturnsWhenTheSoundHasFinished) {
    const std::string tone = WriteTone("sync.wav", 0.4);
    TRecorder recorder;
    const double ms =
        TimeMs([&] { SystemSoundDevice().PlaySound(tone, TSoundMode::SyncNoDefault); });
    // The mixer calls a sound finished when its last samples go into the device buffer, which
    // can be a buffer's length before they are heard; an asynchronous call returns in well
    // under a tenth of that.
    EXPECT_GE(ms, 300);
    EXPECT_LE(ms, 900);
    EXPECT_EQ(recorder.Events, (Events{"started " + tone, "finished " + tone}));
}

TEST(SoundDevice, AsynchronousPlayReturnsAtOnceAndANewEffectCutsItShort) {
    const std::string first = WriteTone("first.wav", 1.0);
    const std::string second = WriteTone("second.wav", 0.2);
    LetTheLastEffectEnd();
    TRecorder recorder;
    EXPECT_LT(TimeMs([&] { SystemSoundDevice().PlaySound(first, TSoundMode::Async); }), 150);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    SystemSoundDevice().PlaySound(second, TSoundMode::Async);
    EXPECT_EQ(recorder.Events,
              (Events{"started " + first, "stopped " + first, "started " + second}));

    // A sound that has ended isn't reported as cut short by the next one.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    recorder.Events.clear();
    SystemSoundDevice().PlaySound(second, TSoundMode::Async);
    EXPECT_EQ(recorder.Events, (Events{"started " + second}));
}

TEST(SoundDevice, AFileThatCantBePlayedIsSilentWhenSynchronousAndChimesWhenNot) {
    const std::string missing = (soundtest::TempFolder() / "missing.wav").string();
    const std::string garbage = (soundtest::TempFolder() / "garbage.wav").string();
    std::ofstream(garbage) << "not a sound at all";
    LetTheLastEffectEnd();
    TRecorder recorder;
    EXPECT_LT(TimeMs([&] { SystemSoundDevice().PlaySound(missing, TSoundMode::SyncNoDefault); }),
              100);
    SystemSoundDevice().PlaySound(garbage, TSoundMode::SyncNoDefault);
    EXPECT_TRUE(recorder.Events.empty());

    SystemSoundDevice().PlaySound(missing, TSoundMode::Async);
    SystemSoundDevice().PlaySound(garbage, TSoundMode::Async);
    SystemSoundDevice().PlaySound("", TSoundMode::Async);
    EXPECT_EQ(recorder.Events, (Events{"chime", "chime", "chime"}));
}

TEST(SoundDevice, ASynchronousEffectStopsTheOnePlaying) {
    const std::string capture = WriteTone("long.wav", 2.0);
    const std::string move = WriteTone("move.wav", 0.1);
    LetTheLastEffectEnd();
    TRecorder recorder;
    SystemSoundDevice().PlaySound(capture, TSoundMode::Async);
    const double ms =
        TimeMs([&] { SystemSoundDevice().PlaySound(move, TSoundMode::SyncNoDefault); });
    EXPECT_LT(ms, 500); // waits for its own length only
    EXPECT_EQ(recorder.Events, (Events{"started " + capture, "stopped " + capture,
                                       "started " + move, "finished " + move}));
}

TEST(SoundDevice, MusicOpensOnceAndRestartsFromTheBeginning) {
    const std::string piece = std::string(ZEL_DATA_DIR) + "/Passport.mid";
    const std::string open = "OPEN " + piece + " TYPE SEQUENCER ALIAS MUSICA";
    TRecorder recorder;
    TSoundDevice& device = SystemSoundDevice();
    device.SendMediaCommand(open);
    device.SendMediaCommand("PLAY MUSICA FROM 0");
    device.SendMediaCommand("CLOSE ANIMATION");
    device.SendMediaCommand("STOP MUSICA");
    device.SendMediaCommand("CLOSE ANIMATION");
    device.SendMediaCommand(open);
    device.SendMediaCommand("PLAY MUSICA FROM 0");
    device.SendMediaCommand("CLOSE ANIMATION");
    device.SendMediaCommand("PLAY MUSICA FROM 0");
    device.SendMediaCommand("NONSENSE");
    // An effect plays over the music without stopping it.
    device.PlaySound(WriteTone("over.wav", 0.05), TSoundMode::Async);
    device.SendMediaCommand("STOP MUSICA");
    ASSERT_GE(recorder.Events.size(), 7u);
    recorder.Events.erase(recorder.Events.begin() + 5); // the effect's own report
    EXPECT_EQ(recorder.Events, (Events{"music open " + piece, "music play", "music stop",
                                       "music play", "music play", "music stop"}));
}

TEST(SoundDevice, AMissingPieceLeavesTheMusicSilent) {
    TRecorder recorder;
    TSoundDevice& device = SystemSoundDevice();
    device.SendMediaCommand("OPEN /nowhere/at all.mid TYPE SEQUENCER ALIAS TUNE");
    device.SendMediaCommand("PLAY TUNE FROM 0");
    device.SendMediaCommand("STOP TUNE");
    EXPECT_TRUE(recorder.Events.empty());
}


// Which file the music plays from: a readable Ogg stream of the same name beside the piece.
TEST(SoundRecordingBeside, OnlyAnOggStreamOfTheSameNameBesideThePiece) {
    const auto folder = soundtest::TempFolder() / "beside";
    std::filesystem::create_directories(folder / "folder.ogg");
    auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream((folder / name).string(), std::ios::binary) << text;
    };
    write("piece.mid", "MThd");
    write("other.mid", "MThd");
    write("junk.mid", "MThd");
    write("folder.mid", "MThd");
    write("piece.ogg", "OggS and the rest");
    write("junk.ogg", "RIFF, not Ogg");
    write("Other.ogg", "OggS"); // another name where names have case
    const std::string at = folder.string() + "/";
    EXPECT_EQ(RecordingBeside(at + "piece.mid"), at + "piece.ogg");
    EXPECT_EQ(RecordingBeside(at + "piece.MID"), at + "piece.ogg"); // the piece itself may be missing
    EXPECT_EQ(RecordingBeside(at + "other.mid"), "");
    EXPECT_EQ(RecordingBeside(at + "junk.mid"), "");
    EXPECT_EQ(RecordingBeside(at + "folder.mid"), "");
    EXPECT_EQ(RecordingBeside(at + "piece.ogg"), ""); // a recording isn't a piece
    EXPECT_EQ(RecordingBeside(at), "");
    EXPECT_EQ(RecordingBeside(""), "");
}

} // namespace
