#include "ButtonPicture.h"

#include "Pixels.h"

#include <QPainter>

namespace artwork {

namespace {

constexpr QRgb kHighlight = qRgb(255, 255, 255);
// The outline of a disabled glyph: dark, so that with the white highlight beside it the shape
// reads on every skin, the grey stone included.
constexpr QRgb kOutline = qRgb(64, 64, 64);

// The grey a disabled glyph shows for a pixel: darker parts stay darker, but everything moves
// into the light half so the glyph looks faint.
QRgb Greyed(QRgb rgb) {
    const int level = 150 + qGray(rgb) * 90 / 255;
    return qRgb(level, level, level);
}

} // namespace

QImage NormalGlyph(ButtonKind kind) {
    QImage canvas = TransparentCanvas(kGlyphSize, kGlyphSize);
    QPainter painter(&canvas);
    PaintGlyph(painter, kind);
    painter.end();
    return KeyedFromAlpha(canvas);
}

QImage DisabledGlyph(const QImage& normal) {
    QImage disabled(normal.size(), QImage::Format_RGB32);
    disabled.fill(kKeyColour);
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < normal.width() && y < normal.height() &&
               (normal.pixel(x, y) | 0xff000000) != kKeyColour;
    };
    auto edge = [&](int x, int y) {
        return !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
    };
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x) {
            if (inside(x, y))
                disabled.setPixel(x, y, edge(x, y) ? kOutline : Greyed(normal.pixel(x, y)));
            else if (inside(x - 1, y - 1))
                disabled.setPixel(x, y, kHighlight);
        }
    return disabled;
}

QImage ButtonPicture(ButtonKind kind) {
    const QImage normal = NormalGlyph(kind);
    QImage picture(kButtonPictureWidth, kGlyphSize, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.drawImage(0, 0, normal);
    painter.drawImage(kGlyphSize, 0, DisabledGlyph(normal));
    return picture;
}

} // namespace artwork
