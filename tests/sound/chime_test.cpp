// The built-in default chime is a clean, short, moderate sound in the format the mixer reads.

#include "DefaultChime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

std::uint32_t Little(const std::vector<std::uint8_t>& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | b[at + i];
    return v;
}

TEST(DefaultChime, IsAShortCleanMonoWave) {
    const std::vector<std::uint8_t>& wave = DefaultChimeWave();
    ASSERT_GT(wave.size(), 44u);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(Little(wave, 4, 4), wave.size() - 8);
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Little(wave, 22, 2), 1u);     // mono
    EXPECT_EQ(Little(wave, 24, 4), 44100u); // frames per second
    EXPECT_EQ(Little(wave, 34, 2), 16u);    // bits
    EXPECT_EQ(Little(wave, 40, 4), wave.size() - 44);

    std::vector<int> samples;
    for (std::size_t at = 44; at + 1 < wave.size(); at += 2)
        samples.push_back(static_cast<std::int16_t>(Little(wave, at, 2)));
    EXPECT_LT(samples.size(), 44100u); // under a second
    int peak = 0;
    for (int s : samples)
        peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 32767 / 8);
    EXPECT_LT(peak, 32767 * 7 / 10); // well clear of clipping
    // Starts and ends without a click.
    for (int i = 0; i < 20; ++i)
        EXPECT_LT(std::abs(samples[i]), peak / 5);
    EXPECT_LT(std::abs(samples.back()), 30);
}

} // namespace
