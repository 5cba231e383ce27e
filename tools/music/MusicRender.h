#pragma once
// Renders a MIDI file to stereo audio with FluidSynth, set up as the mixer's MIDI player
// set it up when it played the program's music live: the synthesiser's default reverb and
// chorus, its gain at the mixer's full music volume, 44100 Hz. The piece is rendered to its
// end and on while its last notes and reverberation sound, then faded out briefly so that
// it never ends with a click.

#include <string>
#include <vector>

namespace music {

constexpr int kRate = 44100;
// The mixer's MIDI player sets the synthesiser's gain to 1.2 at its full music volume.
constexpr double kGain = 1.2;

struct TStereo {
    std::vector<float> Left, Right; // equally long, full scale at +-1
    std::size_t Frames() const { return Left.size(); }
};

// The General MIDI bank the music is rendered with, where Debian installs it.
std::string LargeSoundFont();

// Renders the MIDI file with the bank; empty when either can't be read.
TStereo RenderMidi(const std::string& midiPath, const std::string& bankPath);

} // namespace music
