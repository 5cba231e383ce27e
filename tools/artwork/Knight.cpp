#include "Knight.h"

#include "PieceShapes.h"

namespace artwork {

namespace {

constexpr qreal kMid = 20;

// The piece set's head, its neck brought down onto the collar.
QPainterPath Head() {
    return pieceset::KnightHead(33);
}

QPainterPath Step(qreal halfWidth, qreal top, qreal bottom, qreal radius) {
    QPainterPath step;
    step.addRoundedRect(QRectF(kMid - halfWidth, top, 2 * halfWidth, bottom - top), radius, radius);
    return step;
}

QPainterPath Collar() {
    return Step(9, 32, 36, 1);
}
QPainterPath Base() {
    return Step(11, 35, kKnightBottom, 1.5);
}

QPainterPath Lines() {
    QPainterPath lines(QPointF(18.5, 8.5)); // the mane's edge, parallel to the crest
    lines.cubicTo(25.5, 9, 29, 15, 29, 22);
    lines.cubicTo(29, 26, 28.3, 29, 27.5, 31.5);
    lines.moveTo(9.5, 22.2); // mouth
    lines.lineTo(7.5, 21);
    return lines;
}

VectorLayer Filled(const QPainterPath& path, const QTransform& place, const KnightStyle& style) {
    VectorLayer layer;
    layer.path = place.map(path);
    layer.fill = {{0.0, style.bodyLight}, {0.35, style.bodyLight}, {1.0, style.bodyShade}};
    layer.from = place.map(QPointF(kKnightLeft, kKnightTop));
    layer.to = place.map(QPointF(kKnightRight, kKnightTop + 12));
    layer.stroke = style.outline;
    layer.strokeWidth = style.outlineWidth * place.m11();
    return layer;
}

} // namespace

QPainterPath KnightSilhouette(const QTransform& place) {
    // United after mapping, so the flattening of the curves follows the final size.
    return place.map(Head()).united(place.map(Collar())).united(place.map(Base()));
}

VectorDrawing KnightLayers(const QTransform& place, const KnightStyle& style) {
    VectorDrawing layers{Filled(Head(), place, style), Filled(Collar(), place, style),
                         Filled(Base(), place, style)};
    VectorLayer lines;
    lines.path = place.map(Lines());
    lines.stroke = style.lines;
    lines.strokeWidth = style.lineWidth * place.m11();
    lines.minimumSize = style.detailMinimumSize;
    layers.append(lines);
    VectorLayer marks;
    marks.path = place.map(pieceset::KnightMarks());
    marks.fill = Solid(style.lines);
    layers.append(marks);
    return layers;
}

VectorDrawing KnightShadow(const QTransform& place, QColor colour, qreal opacity) {
    VectorLayer shadow;
    shadow.path = KnightSilhouette(place);
    shadow.fill = Solid(colour);
    shadow.opacity = opacity;
    return {shadow};
}

} // namespace artwork
