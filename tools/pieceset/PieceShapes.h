#pragma once

#include <QPainterPath>

// The vector drawing of one chess piece on a 40 x 40 design grid (x to the right, y down,
// pixel edges on whole numbers): the silhouette, which becomes the mask, and the inner lines
// drawn over the body. Both colours share one drawing; only the paint differs.

namespace pieceset {

inline constexpr int kCellSize = 40;

// Columns of the piece-set sheet, left to right.
enum class PieceKind { Pawn, Knight, Bishop, Rook, Queen, King };
inline constexpr int kPieceKinds = 6;

struct PieceShape {
    QPainterPath silhouette; // closed, filled with the winding rule
    QPainterPath lines;      // open strokes inside the silhouette (collars, slit, mane)
    QPainterPath marks;      // small filled details (the knight's eye and nostril)
};

PieceShape MakePieceShape(PieceKind kind);

// The knight's head and neck: the chest starts at (12, 32.5) and the back of the neck comes
// down to y = foot, where the outline closes. The program's emblem stands the same head on a
// collar of its own.
QPainterPath KnightHead(qreal foot = 32.5);
// The knight's eye and nostril.
QPainterPath KnightMarks();

} // namespace pieceset
