#include "SoundFonts.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

std::string ChooseSoundFont(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const char* name : {"TimGM6mb.sf2", "FluidR3_GM.sf2"}) {
        const fs::path preferred = fs::path(folder) / name;
        if (fs::is_regular_file(preferred, error)) return preferred.string();
    }

    std::vector<std::string> banks;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        const std::string extension = path.extension().string();
        if ((extension == ".sf2" || extension == ".sf3") && fs::is_regular_file(path, error))
            banks.push_back(path.string());
    }
    if (banks.empty()) return {};
    return *std::min_element(banks.begin(), banks.end());
}
