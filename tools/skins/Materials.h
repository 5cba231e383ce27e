#pragma once

#include "Shading.h"

#include <cstdint>

// Parametrised materials shared by the square textures and the backgrounds. Each returns a
// shader for a picture of the given size whose every noise term is periodic over the
// picture, so the result tiles without a seam.

namespace skins {

// Polished marble: a cloudy body shading between three tones, crossed by a few main veins
// and a web of finer ones that follow the same warped flow.
struct MarbleLook {
    Rgb light;
    Rgb body;
    Rgb deep;
    Rgb vein;
    double veinStrength; // 0 none .. 1 opaque
    Rgb fineVein;
    double fineStrength;
    int cells; // noise cells across the picture's wider side at the coarsest octave
    std::uint32_t seed;
};

Shader Marble(const MarbleLook& look, int width, int height);

// Planed wood with the grain running left to right: growth rings from light early wood to
// dark late wood, fine lines that follow the rings, long fibres, open pores and a slow change
// of tone (the figure).
struct WoodLook {
    Rgb early;
    Rgb late;
    Rgb pore;
    double lateShare; // strength of the late-wood band, 0..1
    double lines;     // strength of the fine lines between the rings
    double fibre;     // strength of the straight fibre streaks
    std::uint32_t seed;
};

// Where a pixel lies among the growth rings: the ring coordinate grows by one from ring to
// ring. `period` is the number of rings after which the pattern must repeat (the rings a
// tiling picture holds across its height); `cellsX` and `cellsY` size the noise cells.
struct WoodSample {
    double ring;
    int period;
    int cellsX;
    int cellsY;
};

Rgb WoodColour(const WoodLook& look, const WoodSample& sample, const Pixel& p);

// Straight-grained wood for tiling: `rings` whole rings across the height, wandering by
// `wobble` ring widths.
Shader Wood(const WoodLook& look, int rings, double wobble, int width, int height);

} // namespace skins
