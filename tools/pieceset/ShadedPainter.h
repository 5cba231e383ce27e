#pragma once

#include "PieceShapes.h"

#include <QImage>

class QPainter;

// Paints a piece as a turned, polished body: a highlight running down its left third, a
// rounded edge lit from the upper left and shaded to the lower right, inner lines and a
// two-pixel outline. Used for the main window's piece set.

namespace pieceset {

struct ShadedColours {
    QRgb outline;   // the silhouette's edge
    QRgb body;      // the body's own colour...
    QRgb highlight; // ...lit to this down its left third...
    QRgb shade;     // ...and turning to this on the right
    QRgb rim;       // the edges facing the light
    QRgb lines;     // the inner lines and marks
};

// The piece over its outline colour, on a cell of 40 x scale pixels; only the pixels inside
// the silhouette count.
QImage PaintShadedPicture(const PieceShape& shape, const ShadedColours& colours, int scale = 1);

// The inner lines and marks, clipped to the silhouette; then the two-pixel edge centred on
// the silhouette. Both sets finish their pictures with these.
void PaintInnerLines(QPainter& painter, const PieceShape& shape, QRgb colour);
void PaintSilhouetteEdge(QPainter& painter, const PieceShape& shape, QRgb colour);

} // namespace pieceset
