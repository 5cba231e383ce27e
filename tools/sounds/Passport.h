#pragma once
// The background music: a calm piece of about a minute and fifty seconds in G major for
// piano, strings, flute, cello, double bass and harp, composed here in code and written as a
// standard MIDI file.

#include <cstdint>
#include <vector>

namespace sounds {

std::vector<std::uint8_t> PassportMidi();

} // namespace sounds
