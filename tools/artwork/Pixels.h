#pragma once

#include <QByteArray>
#include <QImage>

// Pixel-level steps shared by the pictures: turning an antialiased drawing into a picture
// whose background is one exact key colour, and encoding pictures into file bytes that are
// the same on every run.

namespace artwork {

// Pure magenta: the background of the button and splash pictures. None of the drawings uses
// it, so a mask made from it by exact match keeps every drawn pixel.
inline constexpr QRgb kKeyColour = qRgb(255, 0, 255);

// Cuts an antialiased drawing (any alpha format) at half coverage: pixels at least half
// covered become opaque in their own colour, with the blend towards transparency undone so
// edges keep the colour of the outline; the others become `key`.
QImage KeyedFromAlpha(const QImage& drawing, QRgb key = kKeyColour);

// The drawing composited over a solid background (for the pictures shown on white).
QImage OnBackground(const QImage& drawing, QRgb background);

// A transparent canvas to draw on.
QImage TransparentCanvas(int width, int height);

// A BMP file: 8 bits with the image's palette for indexed images, 24 bits otherwise.
QByteArray EncodeBmp(const QImage& picture);

// A 32-bit PNG file with alpha.
QByteArray EncodePng(const QImage& picture);

} // namespace artwork
