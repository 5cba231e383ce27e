// Feeds arbitrary bytes to the saved positions store as the file "kavrel.sav", then does
// what the two windows do with it: read every place, read every named position, save into
// a place (under a name cut from the input when it is a valid one), and delete a place.
// Whatever the file held, every position read back must be a position text, and a save
// must read back as written.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "SavedGames.h"

namespace {

const std::string kStart = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

const std::string& FilePath() {
    static const std::string path = [] {
        char folder[] = "/tmp/zel-savedfuzz-XXXXXX";
        if (::mkdtemp(folder) == nullptr) std::abort();
        return std::string(folder) + "/kavrel.sav";
    }();
    return path;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int savePlace = data[0] % saved::kPlaces;
    const int deletePlace = data[1] % saved::kPlaces;
    const std::size_t nameLength = data[2] % 24;
    data += 3;
    size -= 3;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const std::string& path = FilePath();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    saved::TSavedGames store(path);
    for (const auto& place : store.UsedPlaces()) {
        Check(!place.Name.empty());
        if (const auto position = store.PositionOf(place.Name))
            Check(saved::IsPositionText(*position));
        store.NameUsedElsewhere(place.Place, place.Name);
    }

    std::string name = bytes.substr(0, nameLength);
    if (!saved::NameIsValid(name)) name = saved::SuggestedName(savePlace);
    // An empty a8 and h1: the value must come back with its blank ends.
    std::string position = kStart;
    position.front() = ' ';
    position.back() = ' ';
    if (store.Save(savePlace, name, position)) {
        Check(store.SlotNames()[static_cast<std::size_t>(savePlace)] == name);
        Check(store.PositionOf(name) == position);
    }
    if (store.DeletePlace(deletePlace))
        Check(!store.SlotNames()[static_cast<std::size_t>(deletePlace)]);
    std::remove(path.c_str());
    return 0;
}
