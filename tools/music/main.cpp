// zel_render_music: renders the program's MIDI music with FluidSynth and the large General
// MIDI bank, and writes it as Ogg Vorbis.
//
//   zel_render_music PIECE.mid OUT.ogg [BANK.sf2]

#include "MusicRender.h"
#include "OggVorbis.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: zel_render_music PIECE.mid OUT.ogg [BANK.sf2]\n");
        return 2;
    }
    const std::string bank = argc == 4 ? argv[3] : music::LargeSoundFont();
    const music::TStereo audio = music::RenderMidi(argv[1], bank);
    if (audio.Frames() == 0) {
        std::fprintf(stderr, "zel_render_music: cannot render %s with %s\n", argv[1],
                     bank.c_str());
        return 1;
    }
    const std::vector<std::uint8_t> bytes =
        music::EncodeOggVorbis(audio, music::kRate, music::kQuality, "Passport");
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (bytes.empty() || !out) {
        std::fprintf(stderr, "zel_render_music: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
