#pragma once
// Every file the sound generator makes, by the name it has beside the program.

#include <cstdint>
#include <string>
#include <vector>

namespace sounds {

struct TSoundFile {
    std::string Name;
    std::vector<std::uint8_t> Bytes;
};

std::vector<TSoundFile> MakeSoundSet();

} // namespace sounds
