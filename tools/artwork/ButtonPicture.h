#pragma once

#include "ButtonGlyphs.h"

#include <QImage>

// A side-panel button's picture: 32 x 16, the normal glyph on the left and the disabled one
// on the right, on the key colour that the window masks away (the bottom-left pixel's).

namespace artwork {

inline constexpr int kButtonPictureWidth = 2 * kGlyphSize;

// The glyph cut at half coverage, on the key colour (Format_RGB32, 16 x 16).
QImage NormalGlyph(ButtonKind kind);

// The glyph greyed and embossed: its colours lightened to greys inside a dark outline, with a
// white highlight one pixel below and right of it, as a button looks when it can't be pressed.
QImage DisabledGlyph(const QImage& normal);

QImage ButtonPicture(ButtonKind kind);

} // namespace artwork
