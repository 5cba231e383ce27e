#pragma once
// Ogg Vorbis in and out for the rendered music: an encoder with a fixed stream serial number
// and fixed comments, so that the same audio gives the same bytes with the same library, and
// a decoder for the tests.

#include "MusicRender.h"

#include <cstdint>
#include <string>
#include <vector>

namespace music {

// Vorbis's variable-bitrate quality, -0.1 to 1; 0.5 is about 160 kbit/s for this music.
constexpr float kQuality = 0.5f;

std::vector<std::uint8_t> EncodeOggVorbis(const TStereo& audio, int rate, float quality,
                                          const std::string& title);

// Decodes a stereo Ogg Vorbis file; empty when it can't be read.
TStereo DecodeOggVorbis(const std::string& path, int* rate = nullptr);

} // namespace music
