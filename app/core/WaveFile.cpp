#include "WaveFile.h"

#include <algorithm>
#include <cmath>

namespace {

void PutLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<std::uint8_t>& bytes, const char* tag) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(tag[i]));
}

} // namespace

std::vector<std::uint8_t> WaveFileBytes(const std::vector<double>& samples, int rate) {
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    const auto frames = static_cast<std::uint32_t>(rate);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + dataSize);
    PutTag(bytes, "RIFF");
    PutLittleEndian(bytes, 36 + dataSize, 4);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    PutLittleEndian(bytes, 16, 4);         // format chunk size
    PutLittleEndian(bytes, 1, 2);          // PCM
    PutLittleEndian(bytes, 1, 2);          // mono
    PutLittleEndian(bytes, frames, 4);     // frames per second
    PutLittleEndian(bytes, frames * 2, 4); // bytes per second
    PutLittleEndian(bytes, 2, 2);          // bytes per frame
    PutLittleEndian(bytes, 16, 2);         // bits per sample
    PutTag(bytes, "data");
    PutLittleEndian(bytes, dataSize, 4);
    for (double s : samples) {
        const long value = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        PutLittleEndian(bytes, static_cast<std::uint32_t>(value), 2);
    }
    return bytes;
}
