#include "ButtonGlyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QtMath>

namespace artwork {

namespace glyph {

void FillOutlined(QPainter& painter, const QPainterPath& shape, QColor light, QColor dark,
                  QColor outline) {
    const QRectF box = shape.boundingRect();
    QLinearGradient ramp(box.topLeft(), box.bottomLeft());
    ramp.setColorAt(0, light);
    ramp.setColorAt(1, dark);
    painter.setBrush(ramp);
    painter.setPen(QPen(outline, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(shape);
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath Rect(qreal left, qreal top, qreal right, qreal bottom) {
    QPainterPath path;
    path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
    return path;
}

void Pixels(QPainter& painter, QColor colour, std::initializer_list<QRect> rects) {
    for (const QRect& rect : rects)
        painter.fillRect(rect, colour);
}

} // namespace glyph

namespace {

using namespace glyph;

// An arrow pointing right, mirrored for "back". Blue like a link: the two arrows read as a
// pair at a glance.
void PaintArrow(QPainter& painter, bool right) {
    painter.save();
    if (!right) painter.setTransform(QTransform(-1, 0, 0, 1, kGlyphSize, 0), true);
    const QPainterPath arrow = Polygon(
        {{1.5, 5.5}, {7.5, 5.5}, {7.5, 1.5}, {14, 8}, {7.5, 14.5}, {7.5, 10.5}, {1.5, 10.5}});
    FillOutlined(painter, arrow, QColor(150, 210, 255), QColor(24, 96, 200), QColor(14, 52, 120));
    // A highlight along the shaft's top.
    Pixels(painter, QColor(215, 240, 255, 200), {QRect(2, 6, 6, 1)});
    painter.restore();
}

void PaintAbout(QPainter& painter) {
    QPainterPath disc;
    disc.addEllipse(QPointF(8, 8), 6.5, 6.5);
    FillOutlined(painter, disc, QColor(120, 186, 255), QColor(20, 78, 176), QColor(12, 48, 112));
    const QColor white(255, 255, 255);
    Pixels(painter, white,
           {QRect(7, 3, 2, 2), QRect(6, 6, 3, 1), QRect(7, 7, 2, 4), QRect(6, 11, 4, 1)});
}

// A ring three quarters round with an arrowhead at its end: the game starts over.
void PaintRestart(QPainter& painter) {
    const QPointF centre(7.5, 8.5);
    constexpr qreal kRadius = 5.0;
    constexpr qreal kStart = -10;  // degrees, counter-clockwise from three o'clock
    constexpr qreal kSweep = -268; // clockwise, ending at the top, pointing right
    QPainterPath arc;
    const QRectF box(centre.x() - kRadius, centre.y() - kRadius, 2 * kRadius, 2 * kRadius);
    arc.arcMoveTo(box, kStart);
    arc.arcTo(box, kStart, kSweep);
    QPainterPathStroker stroker;
    stroker.setWidth(2.4);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath ring = stroker.createStroke(arc);

    const qreal end = qDegreesToRadians(kStart + kSweep);
    const QPointF radial(qCos(end), -qSin(end));
    const QPointF along(qSin(end), qCos(end)); // the clockwise direction of travel
    const QPointF tip = centre + kRadius * radial + 4.0 * along;
    const QPointF outer = centre + (kRadius + 3.3) * radial;
    const QPointF inner = centre + (kRadius - 3.3) * radial;
    ring = ring.united(Polygon({outer, tip, inner})).simplified();
    FillOutlined(painter, ring, QColor(160, 236, 130), QColor(40, 150, 36), QColor(22, 86, 20));
}

// A wooden door with a red arrow leading out of it.
void PaintExit(QPainter& painter) {
    FillOutlined(painter, Rect(1.5, 1.5, 9.5, 14.5), QColor(60, 44, 30), QColor(30, 20, 12),
                 QColor(40, 26, 14));
    // The open door leaf, swung towards the viewer.
    FillOutlined(painter, Polygon({{1.5, 1.5}, {6.5, 3.5}, {6.5, 15.5}, {1.5, 14.5}}),
                 QColor(222, 160, 96), QColor(150, 88, 36), QColor(84, 46, 14));
    Pixels(painter, QColor(255, 214, 80), {QRect(5, 9, 1, 1)});
    const QPainterPath arrow = Polygon(
        {{6.5, 6.5}, {10.5, 6.5}, {10.5, 3.5}, {15, 8}, {10.5, 12.5}, {10.5, 9.5}, {6.5, 9.5}});
    FillOutlined(painter, arrow, QColor(255, 140, 110), QColor(200, 30, 16), QColor(110, 12, 6));
}

} // namespace

QString ButtonName(ButtonKind kind) {
    switch (kind) {
    case ButtonKind::Back:
        return "Back";
    case ButtonKind::Forward:
        return "Forward";
    case ButtonKind::Print:
        return "Print";
    case ButtonKind::Options:
        return "Options";
    case ButtonKind::About:
        return "About";
    case ButtonKind::NewGame:
        return "NewGame";
    case ButtonKind::Restart:
        return "Restart";
    case ButtonKind::Save:
        return "Save";
    case ButtonKind::Open:
        return "Open";
    case ButtonKind::Exit:
        return "Exit";
    }
    return {};
}

void PaintGlyph(QPainter& painter, ButtonKind kind) {
    painter.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case ButtonKind::Back:
        return PaintArrow(painter, false);
    case ButtonKind::Forward:
        return PaintArrow(painter, true);
    case ButtonKind::Print:
        return PaintPrint(painter);
    case ButtonKind::Options:
        return PaintOptions(painter);
    case ButtonKind::About:
        return PaintAbout(painter);
    case ButtonKind::NewGame:
        return PaintNewGame(painter);
    case ButtonKind::Restart:
        return PaintRestart(painter);
    case ButtonKind::Save:
        return PaintSave(painter);
    case ButtonKind::Open:
        return PaintOpen(painter);
    case ButtonKind::Exit:
        return PaintExit(painter);
    }
}

} // namespace artwork
