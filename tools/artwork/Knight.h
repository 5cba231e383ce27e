#pragma once

#include "VectorLayers.h"

#include <QTransform>

// The knight that stands for the program in its icon and splash: the same head as the
// piece set's knight, drawn as a bust on a two-step plinth, in curves rather than the piece
// set's pixel-fitted outline, so it stays smooth at any size.

namespace artwork {

// The knight's design grid is 40 x 40 (the piece set's cell); the figure spans x 5.5..31.5
// and y 3..38.
inline constexpr qreal kKnightLeft = 5.5;
inline constexpr qreal kKnightRight = 31.5;
inline constexpr qreal kKnightTop = 3;
inline constexpr qreal kKnightBottom = 38;

struct KnightStyle {
    QColor outline;
    QColor bodyLight;         // the lit front...
    QColor bodyShade;         // ...shading towards the mane
    QColor lines;             // mane, mouth, eye
    qreal outlineWidth = 1.2; // in grid units
    qreal lineWidth = 0.8;
    int detailMinimumSize = 0; // the inner lines only from this rendering size up
};

inline const KnightStyle kIvoryKnight{QColor(28, 22, 18), QColor(255, 253, 244),
                                      QColor(214, 196, 158), QColor(28, 22, 18)};

// The whole figure, outline included, in the grid mapped by `place`.
QPainterPath KnightSilhouette(const QTransform& place);

// The knight's layers: body, plinth, inner lines and eye, mapped by `place`.
VectorDrawing KnightLayers(const QTransform& place, const KnightStyle& style);

// The same figure as one flat colour, for shadows.
VectorDrawing KnightShadow(const QTransform& place, QColor colour, qreal opacity);

} // namespace artwork
