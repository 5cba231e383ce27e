#include "Emblem.h"

#include "Knight.h"
#include "Pixels.h"

#include <QPainter>

namespace artwork {

namespace {

constexpr QRectF kTile(14, 14, 228, 228);
constexpr qreal kTileRadius = 40;
const QColor kTileEdge(16, 24, 56);

QPainterPath Tile(QPointF offset = {}) {
    QPainterPath tile;
    tile.addRoundedRect(kTile.translated(offset), kTileRadius, kTileRadius);
    return tile;
}

// The tile's top-right and bottom-left quarters: the dark squares.
QPainterPath DarkSquares() {
    const QPointF centre = kTile.center();
    QPainterPath quarters;
    quarters.addRect(QRectF(centre.x(), kTile.top(), kTile.width() / 2, kTile.height() / 2));
    quarters.addRect(QRectF(kTile.left(), centre.y(), kTile.width() / 2, kTile.height() / 2));
    return Tile().intersected(quarters);
}

VectorLayer Layer(const QPainterPath& path, QGradientStops fill, QPointF from, QPointF to) {
    VectorLayer layer;
    layer.path = path;
    layer.fill = std::move(fill);
    layer.from = from;
    layer.to = to;
    return layer;
}

} // namespace

VectorDrawing EmblemDrawing() {
    VectorDrawing drawing;
    // A soft shadow under the tile.
    VectorLayer shadow = Layer(Tile({0, 6}), Solid(QColor(0, 0, 0)), {}, {});
    shadow.opacity = 0.3;
    drawing.append(shadow);

    const QPointF top = kTile.topLeft();
    const QPointF bottom = kTile.bottomRight();
    drawing.append(Layer(Tile(), Ramp(QColor(246, 247, 251), QColor(170, 176, 192)), top, bottom));
    drawing.append(
        Layer(DarkSquares(), Ramp(QColor(58, 92, 178), QColor(20, 34, 92)), top, bottom));
    // A gloss over the upper half and the tile's edge.
    VectorLayer gloss =
        Layer(Tile(), {{0.0, QColor(255, 255, 255)}, {0.5, QColor(255, 255, 255, 0)}}, top,
              QPointF(top.x(), bottom.y()));
    gloss.opacity = 0.35;
    drawing.append(gloss);
    VectorLayer edge = Layer(Tile(), {}, {}, {});
    edge.stroke = kTileEdge;
    edge.strokeWidth = 5;
    drawing.append(edge);

    // The knight: 40-grid scaled by 5, centred across the tile, standing near its foot.
    constexpr qreal kScale = 5;
    const qreal left = 128 - kScale * (kKnightLeft + kKnightRight) / 2;
    const QTransform place = QTransform::fromTranslate(left, 22).scale(kScale, kScale);
    // The knight's shadow only where it reads as one; small renderings look doubled with it.
    VectorDrawing shadowLayers = KnightShadow(
        QTransform::fromTranslate(left + 7, 29).scale(kScale, kScale), QColor(0, 0, 0), 0.35);
    shadowLayers.first().minimumSize = 32;
    drawing.append(shadowLayers);
    KnightStyle style = kIvoryKnight;
    style.detailMinimumSize = 32;
    drawing.append(KnightLayers(place, style));
    return drawing;
}

QImage RenderEmblem(int pixels) {
    QImage canvas = TransparentCanvas(pixels, pixels);
    QPainter painter(&canvas);
    PaintVector(painter, EmblemDrawing(), kEmblemDesignSize, pixels);
    painter.end();
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

QByteArray EmblemSvg() {
    return ToSvg(EmblemDrawing(), kEmblemDesignSize, "Chess Zel");
}

} // namespace artwork
