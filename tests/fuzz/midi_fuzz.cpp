// Fuzz target: reading ahead which instruments a MIDI file selects never reads outside the
// file, and what it finds holds together.
#include "MidiPresets.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> file(data, data + size);
    const TMidiPresets presets = ReadMidiPresets(file);
    for (const TMidiPreset& preset : presets.Presets)
        if (preset.Program < 0 || preset.Program > 127 || preset.Bank < 0 || preset.Bank > 128)
            std::abort();
    for (const int channel : presets.DefaultChannels) {
        if (channel < 0 || channel > 15) std::abort();
        if (std::find(presets.Channels.begin(), presets.Channels.end(), channel) ==
            presets.Channels.end())
            std::abort();
    }
    return 0;
}
