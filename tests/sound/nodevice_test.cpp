// Without any audio device the sound calls return at once and nothing is heard or reported.

#include "SoundDevice.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(SoundWithoutDevice, EveryCallReturnsQuicklyAndSilently) {
    // A driver that doesn't exist: opening the device fails as on a machine without sound.
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string tone = soundtest::WriteTone("nodevice.wav", 1.0);
    const std::string piece = std::string(ZEL_DATA_DIR) + "/Passport.mid";
    soundtest::TRecorder recorder;
    TSoundDevice& device = SystemSoundDevice();
    const double ms = soundtest::TimeMs([&] {
        device.PlaySound(tone, TSoundMode::SyncNoDefault);
        device.PlaySound(tone, TSoundMode::Async);
        device.PlaySound("/missing.wav", TSoundMode::Async);
        device.SendMediaCommand("OPEN " + piece + " TYPE SEQUENCER ALIAS MUSICA");
        device.SendMediaCommand("PLAY MUSICA FROM 0");
        device.SendMediaCommand("STOP MUSICA");
        device.SendMediaCommand("CLOSE ANIMATION");
        device.PlaySound(tone, TSoundMode::SyncNoDefault);
    });
    EXPECT_LT(ms, 300);
    // The device is tried once; it plays nothing, not even the chime.
    EXPECT_EQ(recorder.Events, std::vector<std::string>{"no device"});
}

} // namespace
