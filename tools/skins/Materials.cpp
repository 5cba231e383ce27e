#include "Materials.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace skins {

namespace {

// Lattice cells across each side for roughly square noise cells.
std::pair<int, int> CellsFor(int cells, int width, int height) {
    const int wider = std::max(width, height);
    const int cx = std::max(1, int(std::lround(double(cells) * width / wider)));
    const int cy = std::max(1, int(std::lround(double(cells) * height / wider)));
    return {cx, cy};
}

} // namespace

Shader Marble(const MarbleLook& look, int width, int height) {
    const auto [cx, cy] = CellsFor(look.cells, width, height);
    return [look, cx, cy](const Pixel& p) {
        const TileNoise warpU(look.seed + 1);
        const TileNoise warpV(look.seed + 2);
        const TileNoise cloud(look.seed + 3);
        const TileNoise veins(look.seed + 4);
        const TileNoise fine(look.seed + 5);

        // 1. Warp the plane so veins and clouds flow instead of looking like plain noise.
        const double wu = p.u + 0.10 * warpU.Fbm(p.u, p.v, cx, cy, 4);
        const double wv = p.v + 0.10 * warpV.Fbm(p.u, p.v, cx, cy, 4);

        // 2. The cloudy body.
        const double t = 0.5 + 0.5 * cloud.Fbm(wu, wv, cx, cy, 5, 0.55);
        Rgb colour = Ramp({{0.2, look.light}, {0.55, look.body}, {0.9, look.deep}}, t);

        // 3. Main veins: thin ridges with a soft halo.
        const double ridge = veins.Ridged(wu, wv, cx, cy, 5, 0.5);
        const double vein = std::pow(ridge, 28) + 0.15 * std::pow(ridge, 8);
        colour = Mix(colour, look.vein, std::min(1.0, look.veinStrength * vein));

        // 4. Finer veins at twice the frequency.
        const double fineRidge = fine.Ridged(wu, wv, 2 * cx, 2 * cy, 4, 0.5);
        colour = Mix(colour, look.fineVein, look.fineStrength * std::pow(fineRidge, 24));

        // 5. A trace of grain so flat areas don't look painted.
        return Shade(colour, 0.035 * (PixelRandom(p.x, p.y, look.seed) - 0.5));
    };
}

Rgb WoodColour(const WoodLook& look, const WoodSample& sample, const Pixel& p) {
    const TileNoise figure(look.seed + 1);
    const TileNoise lines(look.seed + 3);
    const TileNoise fibres(look.seed + 4);
    const TileNoise pores(look.seed + 5);
    const int cx = sample.cellsX;
    const int cy = sample.cellsY;

    // 1. Early wood fades into a narrower, darker late-wood band, which ends sharply where
    //    the next year's growth begins. Every ring has a strength of its own.
    const double floorRing = std::floor(sample.ring);
    const double d = sample.ring - floorRing;
    const int ringIndex = int(floorRing) % sample.period;
    const double strength =
        0.65 +
        0.35 * PixelRandom(ringIndex < 0 ? ringIndex + sample.period : ringIndex, 0, look.seed);
    const double late = SmoothStep(0.5, 0.9, d) * (1 - SmoothStep(0.94, 1.0, d));
    Rgb colour = Mix(look.early, look.late, look.lateShare * strength * late);

    // 2. Fine lines that run with the rings.
    const int linesPerRing = 6;
    const double line = lines.Gradient(sample.ring * linesPerRing, p.u * 2 * cx,
                                       linesPerRing * sample.period, 2 * cx);
    colour = Shade(colour, look.lines * line);

    // 3. Figure: broad lighter and darker areas.
    colour = Shade(colour, 0.10 * figure.Fbm(p.u, p.v, cx, cy, 3));

    // 4. Fibres: noise stretched far along the grain.
    colour = Shade(colour, look.fibre * fibres.Fbm(p.u, p.v, 2 * cx, 24 * cy, 3, 0.6));

    // 5. Pores: short dark dashes, denser in the late wood.
    const double pore = pores.Fbm(p.u, p.v, 6 * cx, 40 * cy, 2, 0.5);
    colour = Mix(colour, look.pore, 0.5 * SmoothStep(0.5 - 0.12 * late, 0.8, pore));

    return Shade(colour, 0.03 * (PixelRandom(p.x, p.y, look.seed) - 0.5));
}

Shader Wood(const WoodLook& look, int rings, double wobble, int width, int height) {
    const auto [cx, cy] = CellsFor(3, width, height);
    return [look, rings, wobble, cx, cy](const Pixel& p) {
        const TileNoise wander(look.seed + 2);
        const double ring = p.v * rings + wobble * wander.Fbm(p.u, p.v, 1, 2, 4, 0.45);
        return WoodColour(look, {ring, rings, cx, cy}, p);
    };
}

} // namespace skins
