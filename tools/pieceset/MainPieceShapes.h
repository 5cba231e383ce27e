#pragma once

#include "PieceShapes.h"

// The main window's piece set: turned pieces with round profiles on a bun-shaped base, a
// knight with a tufted mane, a tapering rook, a queen's coronet of balls and a king's cross
// over a domed crown. Same design grid and the same parts of a drawing as the default set.

namespace pieceset {

PieceShape MakeMainPieceShape(PieceKind kind);

} // namespace pieceset
