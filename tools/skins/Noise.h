#pragma once

#include <cstdint>

// Seeded pseudo-random values and procedural noise for the skin pictures. Everything here is
// a pure function of its seed and arguments, so the pictures come out the same on every run.
//
// The noise is periodic: a lattice of periodX by periodY cells repeats itself, so a picture
// that samples exactly one period across its width and height (u and v from 0 to 1) tiles
// without a seam. The backgrounds, which are never tiled, use the same functions.

namespace skins {

// Mixes a lattice point and a seed into 32 well-scattered bits.
std::uint32_t Hash(int x, int y, std::uint32_t seed);

// A uniform value in [0, 1) for one pixel; used for speckles and fine grain.
double PixelRandom(int x, int y, std::uint32_t seed);

class TileNoise {
  public:
    explicit TileNoise(std::uint32_t seed) : seed_(seed) {}

    // Gradient noise at (x, y) in lattice units, about -0.7 to 0.7, repeating every
    // periodX by periodY cells.
    double Gradient(double x, double y, int periodX, int periodY) const;

    // Fractal sum over the unit tile: the first octave has cellsX by cellsY cells, each
    // further octave doubles them and multiplies the amplitude by gain. Normalised to
    // about -1 to 1.
    double Fbm(double u, double v, int cellsX, int cellsY, int octaves, double gain = 0.5) const;

    // 1 - |fbm|: sharp ridges where the sum crosses zero, the stuff of marble veins.
    double Ridged(double u, double v, int cellsX, int cellsY, int octaves, double gain = 0.5) const;

  private:
    std::uint32_t seed_;
};

// Cellular noise over the unit tile: one feature point per cell of a cellsX by cellsY
// lattice that wraps around. Distances are in cell units.
struct CellSample {
    double nearest = 0;  // distance to the nearest feature point
    double second = 0;   // distance to the second nearest
    double towardsX = 0; // from the sample to the nearest point
    double towardsY = 0;
    std::uint32_t cell = 0; // a hash identifying the nearest point's cell
};

CellSample Cells(double u, double v, int cellsX, int cellsY, std::uint32_t seed);

// The feature point of cell (cellX, cellY), 0 <= cellX < cellsX, in cell units.
struct FeaturePoint {
    double x;
    double y;
    std::uint32_t cell;
};

FeaturePoint CellPoint(int cellX, int cellY, std::uint32_t seed);

double SmoothStep(double edge0, double edge1, double x);

} // namespace skins
