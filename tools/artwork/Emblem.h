#pragma once

#include "VectorLayers.h"

#include <QImage>

// The program's emblem: an ivory knight on a rounded tile of four board squares in the
// board's own navy and silver. It is the desktop icon at every size, the scalable icon and
// the about window's program icon.

namespace artwork {

inline constexpr qreal kEmblemDesignSize = 256;

VectorDrawing EmblemDrawing();

// The emblem rendered at `pixels` x `pixels` with alpha.
QImage RenderEmblem(int pixels);

// The scalable icon's SVG text.
QByteArray EmblemSvg();

} // namespace artwork
