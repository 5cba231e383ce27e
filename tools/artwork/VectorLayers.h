#pragma once

#include <QByteArray>
#include <QColor>
#include <QGradientStops>
#include <QList>
#include <QPainterPath>

class QPainter;

// A drawing as a list of filled and stroked paths, painted in order. The same list is
// painted by QPainter into the pictures and written out as SVG text, so the scalable icon
// and the rendered ones come from one description.

namespace artwork {

struct VectorLayer {
    QPainterPath path;
    QGradientStops fill;   // none: not filled; one stop: solid; more: linear from -> to
    QPointF from, to;      // the gradient's axis in drawing units
    QColor stroke;         // invalid: not stroked
    qreal strokeWidth = 0; // in drawing units; round caps and joins
    qreal opacity = 1;
    int minimumSize = 0; // painted only at this size in pixels or larger (fine details)
};

using VectorDrawing = QList<VectorLayer>;

QGradientStops Solid(QColor colour);
QGradientStops Ramp(QColor start, QColor end);

// Paints the drawing scaled from its design size to `pixels`. Strokes never get thinner than
// `minimumStrokePixels`, so outlines stay visible in the small renderings.
void PaintVector(QPainter& painter, const VectorDrawing& drawing, qreal designSize, int pixels,
                 qreal minimumStrokePixels = 1.0);

// The drawing as a standalone SVG document with a square view box of `designSize`.
QByteArray ToSvg(const VectorDrawing& drawing, qreal designSize, const QString& title);

} // namespace artwork
