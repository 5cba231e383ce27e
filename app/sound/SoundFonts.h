#pragma once
// Which instrument bank renders the MIDI music.

#include <string>

// The bank to hand the synthesiser from the given folder: the small General MIDI bank
// "TimGM6mb.sf2" when it is there (its instruments for the piece take a few megabytes
// where the large bank's take over thirty), else the large "FluidR3_GM.sf2", else the first
// .sf2 or .sf3 file by name; empty when the folder holds none.
std::string ChooseSoundFont(const std::string& folder);

// The folder the system's instrument banks are installed in.
inline constexpr const char* kSystemSoundFontFolder = "/usr/share/sounds/sf2";
