#pragma once
// The default sound that an asynchronous effect plays when its own file can't be played:
// a short two-note chime, synthesised here so that it is always at hand.

#include <cstdint>
#include <vector>

// The chime as the bytes of a 16-bit mono PCM WAV file at 44100 Hz, built on first use.
const std::vector<std::uint8_t>& DefaultChimeWave();
