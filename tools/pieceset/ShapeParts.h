#pragma once

#include "PieceShapes.h"

#include <QPainterPath>
#include <QPointF>

#include <initializer_list>

// Building blocks shared by the piece drawings: turned (mirrored) profiles, bars, balls and
// the one-pixel rows drawn across a body. All on the 40 x 40 design grid of PieceShapes.h.

namespace pieceset {

inline constexpr qreal kMid = kCellSize / 2.0; // the centre line falls on a pixel edge
inline constexpr qreal kBaseline = 38;         // every piece stands on this pixel edge

// Mirrors a right-hand profile, drawn from the top of the centre line down to its foot, into
// the whole closed outline, so the symmetric pieces are symmetric to the pixel.
QPainterPath Lathe(const QPainterPath& rightHalf);

// A rounded bar centred on the centre line.
QPainterPath Bar(qreal halfWidth, qreal top, qreal bottom, qreal radius = 1);

QPainterPath Disc(QPointF centre, qreal radius);

// A one-pixel line along pixel row y, wide enough to reach the outline on both sides (the
// lines are clipped to the silhouette when drawn).
void AddRow(QPainterPath& lines, qreal y, qreal halfWidth = 16);

// The union of the parts, simplified into one outline.
QPainterPath United(std::initializer_list<QPainterPath> parts);

} // namespace pieceset
