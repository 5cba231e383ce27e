#pragma once
// Helpers shared by the tests that drive the real sound device: temporary WAV files and a
// recorder of the device's reports.

#include "SoundObserver.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace soundtest {

inline std::filesystem::path TempFolder() {
    const auto folder =
        std::filesystem::temp_directory_path() / ("zel-sound-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

// Writes a quiet 16-bit mono tone of the given length and returns its path.
inline std::string WriteTone(const std::string& name, double seconds) {
    const auto frames = static_cast<std::uint32_t>(seconds * 44100);
    std::vector<std::uint8_t> bytes;
    auto put = [&](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
    tag("RIFF");
    put(36 + frames * 2, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(44100, 4);
    put(88200, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(frames * 2, 4);
    for (std::uint32_t i = 0; i < frames; ++i)
        put(static_cast<std::uint32_t>(std::lround(8000 * std::sin(i * 0.0627))), 2);
    const std::string path = (TempFolder() / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Collects the device's reports while it lives.
class TRecorder {
  public:
    TRecorder() {
        SetSoundObserver([this](const std::string& event) { Events.push_back(event); });
    }
    ~TRecorder() { SetSoundObserver(nullptr); }
    std::vector<std::string> Events;
};

// Milliseconds a call takes.
template <typename F> double TimeMs(F&& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace soundtest
