#include "Backgrounds.h"

#include "Materials.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skins {

namespace {

// Light from the top left, a slight fall-off into the corners, and a two-pixel bevel.
Rgb Finish(Rgb colour, const Pixel& p, int width, int height) {
    const double light = 0.06 * (1 - p.u - p.v);
    const double du = p.u - 0.5;
    const double dv = p.v - 0.5;
    const double corner = std::pow(std::min(1.0, 4 * (du * du + dv * dv) / 2), 2);
    colour = Shade(colour, light - 0.12 * corner);

    const int left = p.x;
    const int top = p.y;
    const int right = width - 1 - p.x;
    const int bottom = height - 1 - p.y;
    const int edge = std::min({left, top, right, bottom});
    if (edge < 2) {
        const bool lit = std::min(left, top) <= std::min(right, bottom);
        const double amount = edge == 0 ? 0.35 : 0.18;
        colour = Shade(colour, lit ? amount : -amount);
    }
    return colour;
}

} // namespace

Shader RedLeather(int width, int height) {
    return [width, height](const Pixel& p) {
        const TileNoise mottle(11);
        const TileNoise wrinkles(12);
        const TileNoise warpU(13);
        const TileNoise warpV(14);

        // 1. Pebbled grain: irregular domes, lit from the top left, parted by soft creases.
        const double wu = p.u + 0.004 * warpU.Fbm(p.u, p.v, 24, 14, 2);
        const double wv = p.v + 0.006 * warpV.Fbm(p.u, p.v, 24, 14, 2);
        const CellSample c = Cells(wu, wv, width / 5, height / 5, 15);
        const double crease = 1 - SmoothStep(0.0, 0.14, c.second - c.nearest);
        const double lit = std::clamp((c.towardsX + c.towardsY) * 0.9, -1.0, 1.0);

        // 2. The dye: deep red, unevenly taken up.
        const double t = 0.5 + 0.4 * mottle.Fbm(p.u, p.v, 5, 3, 5);
        Rgb colour = Ramp({{0.15, Hex(0x921820)}, {0.5, Hex(0xBA2A30)}, {0.9, Hex(0xD8564A)}}, t);
        colour = Shade(colour, 0.06 * lit - 0.13 * crease);

        // 3. A few soft wrinkles where the hide was worked.
        const double wrinkle = std::pow(wrinkles.Ridged(p.u, p.v, 3, 2, 4), 12);
        colour = Shade(colour, -0.14 * wrinkle);
        return Finish(colour, p, width, height);
    };
}

Shader BlueBrushedMetal(int width, int height) {
    return [width, height](const Pixel& p) {
        const TileNoise fine(21);
        const TileNoise coarse(22);
        const TileNoise cloud(23);

        // Brush marks: noise drawn out along the rows.
        const double brushed = 0.6 * fine.Fbm(p.u, p.v, 3, height, 2, 0.5) +
                               0.4 * coarse.Fbm(p.u, p.v, 2, height / 4, 3, 0.5);
        // A broad diagonal sheen, as from a window on the left.
        const double sheen =
            0.5 + 0.5 * std::cos((p.u * 0.9 - p.v * 0.7 + 0.05) * std::numbers::pi * 1.6);
        const double t = 0.35 + 0.4 * sheen + 0.12 * cloud.Fbm(p.u, p.v, 4, 3, 3);
        Rgb colour = Ramp({{0.2, Hex(0x2C4C86)}, {0.55, Hex(0x46699F)}, {0.9, Hex(0x7E9CC8)}}, t);
        colour = Shade(colour, 0.10 * brushed);
        return Finish(colour, p, width, height);
    };
}

Shader Granite(int width, int height) {
    return [width, height](const Pixel& p) {
        const TileNoise mottle(31);
        const TileNoise warp(32);
        const TileNoise texture(36);

        Rgb colour = Shade(Hex(0x928E89), 0.16 * mottle.Fbm(p.u, p.v, 5, 3, 5));

        // 1. Large feldspar crystals, whitish or faintly pink, over part of the stone.
        const CellSample large = Cells(p.u, p.v, width / 9, height / 9, 37);
        const int largeKind = int(large.cell % 100);
        if (largeKind < 45) {
            const Rgb feldspar = largeKind < 25 ? Hex(0xC9C4BC) : Hex(0xBBA89C);
            const double inside = SmoothStep(0.05, 0.3, large.second - large.nearest);
            colour = Mix(colour, feldspar, 0.6 * inside);
        }

        // 2. Small grains of quartz, hornblende and mica, each a tone of its own.
        const CellSample small = Cells(p.u, p.v, width / 4, height / 4, 34);
        const int kind = int(small.cell % 100);
        const Rgb grain = kind < 50   ? Hex(0x9A9792)
                          : kind < 68 ? Hex(0x75747A)
                          : kind < 84 ? Hex(0xB8B4AE)
                          : kind < 95 ? Hex(0x4E4E54)
                                      : Hex(0x2C2C30);
        const double edge = SmoothStep(0.0, 0.22, small.second - small.nearest);
        const double coverage = kind < 50 ? 0.3 : 0.6;
        colour = Mix(colour, grain, coverage * edge);
        colour = Shade(colour, 0.05 * texture.Fbm(p.u, p.v, width / 3, height / 3, 2));

        // 3. Specks finer than the grains.
        const double speck = PixelRandom(p.x, p.y, 35);
        if (speck < 0.025)
            colour = Mix(colour, Hex(0x1E1E22), 0.55);
        else if (speck > 0.98)
            colour = Mix(colour, Hex(0xECE8E0), 0.45);

        // 4. Two or three thin quartz veins running across at a slant.
        const double course = 1.7 * (p.v + 0.35 * p.u) + 0.5 * warp.Fbm(p.u, p.v, 3, 2, 4);
        const double off = std::abs(course - std::round(course));
        colour = Mix(colour, Hex(0xE2DED6), 0.55 * std::exp(-off * off / 0.00008));
        return Finish(colour, p, width, height);
    };
}

Shader OakPanel(int width, int height) {
    return [width, height](const Pixel& p) {
        const WoodLook look{Hex(0xBE8450), Hex(0x7C4726), Hex(0x4E2C14), 0.85, 0.16, 0.06, 41};
        const TileNoise wander(40);
        const TileNoise centre(39);

        // Flat-sawn figure: the board was cut a little above the pith of a tapering trunk,
        // so each ring meets the face in a long arch whose tip points along the grain.
        const double across = p.v - 0.55 - 0.12 * centre.Fbm(p.u, 0.5, 2, 1, 3);
        const double cut = 0.10;
        const double taper = 0.22;
        const double ring = 16.0 * (std::sqrt(cut * cut + across * across) + taper * (p.u - 0.5)) +
                            0.45 * wander.Fbm(p.u, p.v, 3, 2, 4, 0.5);
        return Finish(WoodColour(look, {ring, 1000, 6, 3}, p), p, width, height);
    };
}

} // namespace skins
