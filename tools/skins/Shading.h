#pragma once

#include <QImage>

#include <functional>
#include <initializer_list>

// Colour arithmetic in floating point and the loop that turns a shading function into a
// full-colour picture. Shaders see the pixel centre both in tile units (u, v from 0 to 1
// across the picture, which is what the periodic noise wants) and in whole pixels.

namespace skins {

struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

constexpr Rgb Hex(unsigned rgb) {
    return {double((rgb >> 16) & 0xff), double((rgb >> 8) & 0xff), double(rgb & 0xff)};
}

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb Mix(Rgb a, Rgb b, double t) {
    return a * (1 - t) + b * t;
}

// Adds a shade: positive amounts lighten towards white, negative darken towards black.
Rgb Shade(Rgb colour, double amount);

struct RampStop {
    double at;
    Rgb colour;
};

// Piecewise-linear colour ramp; t outside the stops takes the end colours.
Rgb Ramp(std::initializer_list<RampStop> stops, double t);

double Luma(Rgb colour);

struct Pixel {
    double u; // 0..1 across the picture, at the pixel centre
    double v;
    int x; // whole pixels within the picture
    int y;
};

using Shader = std::function<Rgb(const Pixel&)>;

// Runs the shader over every pixel of a width x height picture (Format_RGB32). With
// `repeats` above one the canvas holds that many pictures across and down, u and v running
// on past 1, so a seam between the copies shows whether the picture tiles.
QImage Render(int width, int height, const Shader& shader, int repeats = 1);

} // namespace skins
