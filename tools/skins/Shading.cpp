#include "Shading.h"

#include <algorithm>
#include <cmath>

namespace skins {

namespace {

int Channel(double value) {
    return int(std::lround(std::clamp(value, 0.0, 255.0)));
}

} // namespace

Rgb Shade(Rgb colour, double amount) {
    return amount >= 0 ? Mix(colour, Rgb{255, 255, 255}, amount)
                       : Mix(colour, Rgb{0, 0, 0}, -amount);
}

Rgb Ramp(std::initializer_list<RampStop> stops, double t) {
    const RampStop* previous = nullptr;
    for (const RampStop& stop : stops) {
        if (t <= stop.at) {
            if (!previous) return stop.colour;
            return Mix(previous->colour, stop.colour,
                       (t - previous->at) / (stop.at - previous->at));
        }
        previous = &stop;
    }
    return previous ? previous->colour : Rgb{};
}

double Luma(Rgb colour) {
    return 0.299 * colour.r + 0.587 * colour.g + 0.114 * colour.b;
}

QImage Render(int width, int height, const Shader& shader, int repeats) {
    QImage image(width * repeats, height * repeats, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = shader({(x + 0.5) / width, (y + 0.5) / height, x % width, y % height});
            line[x] = qRgb(Channel(c.r), Channel(c.g), Channel(c.b));
        }
    }
    return image;
}

} // namespace skins
