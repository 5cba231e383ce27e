#pragma once
// Sound as a WAV file: 16-bit mono PCM, the samples in -1..1 (clipped beyond).

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> WaveFileBytes(const std::vector<double>& samples, int rate);
