// What the device really sends to the sound card, caught with SDL's disk audio driver: the
// mixed output is written to a raw file (44100 Hz, 16-bit, stereo) that the test reads back.

#include "OggVorbis.h"
#include "SoundDevice.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

constexpr int kRate = 44100;

std::string OutputFile() {
    static const std::string path = [] {
        const std::string file = (soundtest::TempFolder() / "output.raw").string();
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        ::unsetenv("SDL_DISKAUDIODELAY"); // the driver then writes in real time
        return file;
    }();
    return path;
}

// The output's frames from the given byte offset on, as the louder of the two channels.
std::vector<int> ReadFrames(std::uintmax_t offset) {
    std::ifstream in(OutputFile(), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::vector<int> frames;
    std::int16_t pair[2];
    while (in.read(reinterpret_cast<char*>(pair), sizeof pair))
        frames.push_back(std::max(std::abs(int{pair[0]}), std::abs(int{pair[1]})));
    return frames;
}

std::uintmax_t OutputSize() {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(OutputFile(), error);
    return error ? 0 : size / 4 * 4;
}

// First and last frame louder than the threshold; {-1, -1} when none is.
std::pair<long, long> LoudStretch(const std::vector<int>& frames, int threshold) {
    long first = -1, last = -1;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i] > threshold) {
            if (first < 0) first = static_cast<long>(i);
            last = static_cast<long>(i);
        }
    }
    return {first, last};
}

TEST(SoundOnDisk, TheMoveSoundReachesTheOutputWithItsLength) {
    OutputFile();
    TSoundDevice& device = SystemSoundDevice();
    device.PlaySound(soundtest::WriteTone("warmup.wav", 0.01), TSoundMode::SyncNoDefault);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::uintmax_t before = OutputSize();
    device.PlaySound(std::string(ZEL_DATA_DIR) + "/PjdSom1.wav", TSoundMode::SyncNoDefault);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    const std::vector<int> frames = ReadFrames(before);
    const auto [first, last] = LoudStretch(frames, 300); // about -40 dBFS
    ASSERT_GE(first, 0) << "the move sound never reached the output";
    // Heard soon after the call, for roughly the file's length, at a real level.
    EXPECT_LT(first, kRate * 60 / 1000);
    const long length = last - first;
    EXPECT_GT(length, kRate * 40 / 1000);
    EXPECT_LT(length, kRate * 150 / 1000);
    EXPECT_GT(*std::max_element(frames.begin(), frames.end()), 8000);
}

// Waits until the output past offset holds sound; the frame count from offset to it, or -1.
long WaitForSound(std::uintmax_t offset, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        const long first = LoudStretch(ReadFrames(offset), 300).first;
        if (first >= 0) return first;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

// The sanitizers' shadow memory swamps what the music takes.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kResidentMeansSomething = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kResidentMeansSomething = false;
#else
constexpr bool kResidentMeansSomething = true;
#endif
#else
constexpr bool kResidentMeansSomething = true;
#endif

// The process's resident memory in kB, from /proc.
long ResidentKb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Opens the piece through the media commands and plays it: it loads in the background and
// is heard, stops at once, and starts again at once from its beginning. The music may take
// at most the given memory once loaded.
void PlayOpenStopRestart(const std::string& piece, long mostKb) {
    OutputFile();
    TSoundDevice& device = SystemSoundDevice();
    device.PlaySound(soundtest::WriteTone("warmup.wav", 0.01), TSoundMode::SyncNoDefault);
    const long residentBefore = ResidentKb();
    // The piece loads in the background: opening and playing return at once.
    const double ms = soundtest::TimeMs([&] {
        device.SendMediaCommand("OPEN " + piece + " TYPE SEQUENCER ALIAS MUSICA");
        device.SendMediaCommand("PLAY MUSICA FROM 0");
    });
    EXPECT_LT(ms, 200);
    ASSERT_GE(WaitForSound(0, std::chrono::seconds(30)), 0) << "no music in the output";
    for (int i = 0; i < 1200 && MusicStillLoading(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(MusicStillLoading());
    if (kResidentMeansSomething) {
        EXPECT_LT(ResidentKb() - residentBefore, mostKb) << "kB more after loading the music";
    }

    device.SendMediaCommand("STOP MUSICA");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const std::uintmax_t stopped = OutputSize();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(LoudStretch(ReadFrames(stopped), 0).first, -1) << "sound after STOP";

    // Once loaded, the piece starts again from its beginning straight away.
    const std::uintmax_t before = OutputSize();
    device.SendMediaCommand("PLAY MUSICA FROM 0");
    const long delay = WaitForSound(before, std::chrono::seconds(3));
    ASSERT_GE(delay, 0);
    EXPECT_LT(delay, kRate * 3 / 10); // the first note lies 50 ms into the piece
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    const auto [first, last] = LoudStretch(ReadFrames(before), 300);
    EXPECT_GT(last - first, kRate / 2);
    device.SendMediaCommand("STOP MUSICA");
    device.SendMediaCommand("CLOSE MUSICA");
}

// The shipped piece plays from its recording, which the mixer streams: about half a megabyte,
// where even the small bank's instruments take over 12.
TEST(SoundOnDisk, TheMusicPlaysFromItsRecordingAndRestartsAtOnce) {
    PlayOpenStopRestart(std::string(ZEL_DATA_DIR) + "/Passport.mid", 4 * 1024);
}

// Without its recording the piece is synthesised with only its own instruments loaded, not
// a whole General MIDI bank.
TEST(SoundOnDisk, WithoutItsRecordingThePieceIsSynthesised) {
    const auto folder = soundtest::TempFolder() / "alone";
    std::filesystem::create_directories(folder);
    const auto piece = folder / "Passport.mid";
    std::filesystem::copy_file(std::string(ZEL_DATA_DIR) + "/Passport.mid", piece,
                               std::filesystem::copy_options::overwrite_existing);
    PlayOpenStopRestart(piece.string(), 40 * 1024);
}

// A recording beside a MIDI file is what plays, not the MIDI file: here a short tone
// beside a copy of the piece, so the output falls silent after the tone.
TEST(SoundOnDisk, TheRecordingBesideThePieceIsWhatPlays) {
    const auto folder = soundtest::TempFolder() / "tone";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::string(ZEL_DATA_DIR) + "/Passport.mid", folder / "tone.mid",
                               std::filesystem::copy_options::overwrite_existing);
    music::TStereo tone;
    for (int i = 0; i < kRate / 2; ++i) {
        const auto v = static_cast<float>(0.25 * std::sin(i * 0.0627));
        tone.Left.push_back(v);
        tone.Right.push_back(v);
    }
    const std::vector<std::uint8_t> bytes = music::EncodeOggVorbis(tone, kRate, 0.3f, "tone");
    std::ofstream((folder / "tone.ogg").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    OutputFile();
    TSoundDevice& device = SystemSoundDevice();
    device.PlaySound(soundtest::WriteTone("warmup.wav", 0.01), TSoundMode::SyncNoDefault);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::uintmax_t before = OutputSize();
    device.SendMediaCommand("OPEN " + (folder / "tone.mid").string() +
                            " TYPE SEQUENCER ALIAS MUSICA");
    device.SendMediaCommand("PLAY MUSICA FROM 0");
    ASSERT_GE(WaitForSound(before, std::chrono::seconds(10)), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const auto [first, last] = LoudStretch(ReadFrames(before), 300);
    // Half a second of tone; the piece would have gone on playing.
    EXPECT_NEAR(last - first, kRate / 2, kRate / 10);
    EXPECT_LT(last + kRate / 2, static_cast<long>(ReadFrames(before).size()));
    device.SendMediaCommand("STOP MUSICA");
    device.SendMediaCommand("CLOSE MUSICA");
}

} // namespace
