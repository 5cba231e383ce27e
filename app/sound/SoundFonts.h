#pragma once
// Which instrument bank renders the MIDI music.

#include <string>

// The bank to hand the synthesiser from the given folder: "FluidR3_GM.sf2" when it is there,
// else the first .sf2 or .sf3 file by name; empty when the folder holds none.
std::string ChooseSoundFont(const std::string& folder);

// The folder the system's instrument banks are installed in.
inline constexpr const char* kSystemSoundFontFolder = "/usr/share/sounds/sf2";
