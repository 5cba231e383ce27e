#pragma once
// Which instruments a standard MIDI file asks for, read ahead of playing it, so that the
// synthesiser can have exactly those ready (and no others) before the first note.

#include <cstdint>
#include <vector>

struct TMidiPreset {
    int Bank = 0;    // 128 for the percussion channel's kits
    int Program = 0; // 0..127
    bool operator==(const TMidiPreset&) const = default;
};

struct TMidiPresets {
    // Every instrument the file selects, each once, in the order of first selection.
    std::vector<TMidiPreset> Presets;
    // Channels (0..15) that sound a note before the file selects any instrument on them: they
    // play their default instrument (the piano; the standard kit on channel 9), which is
    // then among Presets as well.
    std::vector<int> DefaultChannels;
    // Every channel (0..15) that any channel event of the file addresses, in order.
    std::vector<int> Channels;
};

// Reads the program changes, bank selects (controller 0) and notes of every track of a
// type 0 or 1 file (running status, system exclusive and meta events skipped). A file that
// is cut short or damaged is read up to the damage.
TMidiPresets ReadMidiPresets(const std::vector<std::uint8_t>& file);
