#include "Noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace skins {

namespace {

int Wrap(int value, int period) {
    const int r = value % period;
    return r < 0 ? r + period : r;
}

double Fade(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

// Sixteen evenly spread unit gradients.
struct Vec {
    double x;
    double y;
};

const Vec& GradientFor(std::uint32_t hash) {
    static const auto table = [] {
        std::array<Vec, 16> vectors{};
        for (int i = 0; i < 16; ++i) {
            const double angle = (i + 0.5) * 2 * std::numbers::pi / 16;
            vectors[i] = {std::cos(angle), std::sin(angle)};
        }
        return vectors;
    }();
    return table[hash & 15];
}

} // namespace

std::uint32_t Hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= std::uint32_t(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= std::uint32_t(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double PixelRandom(int x, int y, std::uint32_t seed) {
    return Hash(x, y, seed ^ 0xA5A5A5A5u) / 4294967296.0;
}

double TileNoise::Gradient(double x, double y, int periodX, int periodY) const {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int x0 = int(fx);
    const int y0 = int(fy);
    const double dx = x - fx;
    const double dy = y - fy;
    auto corner = [&](int cx, int cy, double ox, double oy) {
        const Vec& g = GradientFor(Hash(Wrap(x0 + cx, periodX), Wrap(y0 + cy, periodY), seed_));
        return g.x * ox + g.y * oy;
    };
    const double n00 = corner(0, 0, dx, dy);
    const double n10 = corner(1, 0, dx - 1, dy);
    const double n01 = corner(0, 1, dx, dy - 1);
    const double n11 = corner(1, 1, dx - 1, dy - 1);
    const double sx = Fade(dx);
    const double sy = Fade(dy);
    const double top = n00 + (n10 - n00) * sx;
    const double bottom = n01 + (n11 - n01) * sx;
    return top + (bottom - top) * sy;
}

double TileNoise::Fbm(double u, double v, int cellsX, int cellsY, int octaves, double gain) const {
    double sum = 0;
    double amplitude = 1;
    double norm = 0;
    for (int octave = 0; octave < octaves; ++octave) {
        const int px = cellsX << octave;
        const int py = cellsY << octave;
        // Shift each octave so the lattices don't line up with each other or with the
        // picture's edges, where gradient noise would fade to zero on every octave at once.
        const double shift = 7 * octave + 0.37;
        sum += amplitude * Gradient(u * px + shift, v * py + shift + 0.21, px, py);
        norm += amplitude;
        amplitude *= gain;
    }
    return std::clamp(1.4 * sum / norm, -1.0, 1.0);
}

double TileNoise::Ridged(double u, double v, int cellsX, int cellsY, int octaves,
                         double gain) const {
    return 1 - std::abs(Fbm(u, v, cellsX, cellsY, octaves, gain));
}

FeaturePoint CellPoint(int cellX, int cellY, std::uint32_t seed) {
    const std::uint32_t h = Hash(cellX, cellY, seed ^ 0x5bd1e995u);
    return {cellX + (h & 0xffff) / 65536.0, cellY + (h >> 16) / 65536.0, h};
}

CellSample Cells(double u, double v, int cellsX, int cellsY, std::uint32_t seed) {
    const double x = u * cellsX;
    const double y = v * cellsY;
    const int cx = int(std::floor(x));
    const int cy = int(std::floor(y));
    CellSample sample;
    sample.nearest = sample.second = 1e9;
    // The nearest two points can lie up to two cells away.
    for (int j = -2; j <= 2; ++j) {
        for (int i = -2; i <= 2; ++i) {
            // The point of the wrapped cell, moved back beside the sample.
            const int wx = Wrap(cx + i, cellsX);
            const int wy = Wrap(cy + j, cellsY);
            const FeaturePoint point = CellPoint(wx, wy, seed);
            const double px = point.x + (cx + i - wx);
            const double py = point.y + (cy + j - wy);
            const double d = std::hypot(px - x, py - y);
            if (d < sample.nearest) {
                sample.second = sample.nearest;
                sample.nearest = d;
                sample.towardsX = px - x;
                sample.towardsY = py - y;
                sample.cell = point.cell;
            } else if (d < sample.second) {
                sample.second = d;
            }
        }
    }
    return sample;
}

double SmoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

} // namespace skins
