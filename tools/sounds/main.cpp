// zel_make_sounds: synthesises the game's sound effects and composes its music, writing
// every file into the given folder.
//
//   zel_make_sounds FOLDER

#include "SoundSet.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zel_make_sounds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const sounds::TSoundFile& file : sounds::MakeSoundSet()) {
        const std::string path = folder + "/" + file.Name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.Bytes.data()),
                  static_cast<std::streamsize>(file.Bytes.size()));
        if (!out) {
            std::fprintf(stderr, "zel_make_sounds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
