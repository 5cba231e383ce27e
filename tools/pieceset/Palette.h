#pragma once

#include <QImage>
#include <QList>

// Reduces a full-colour picture to an 8-bit image with a 256-entry palette. The reserved
// colours keep exact entries of their own (the masks' black and white must survive exactly);
// the other entries come from a median cut over the remaining colours, so the smooth ramps
// of the pieces' shading and edges keep most of their steps.

namespace pieceset {

inline constexpr int kPaletteSize = 256;

QImage ToIndexed8(const QImage& picture, const QList<QRgb>& reserved);

} // namespace pieceset
