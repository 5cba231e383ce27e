#include "ShapeParts.h"

#include <QRectF>
#include <QTransform>

namespace pieceset {

QPainterPath Lathe(const QPainterPath& rightHalf) {
    const QTransform mirror(-1, 0, 0, 1, 2 * kMid, 0);
    QPainterPath whole = rightHalf;
    whole.connectPath(mirror.map(rightHalf).toReversed());
    whole.closeSubpath();
    return whole;
}

QPainterPath Bar(qreal halfWidth, qreal top, qreal bottom, qreal radius) {
    QPainterPath bar;
    bar.addRoundedRect(QRectF(kMid - halfWidth, top, 2 * halfWidth, bottom - top), radius, radius);
    return bar;
}

QPainterPath Disc(QPointF centre, qreal radius) {
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    return disc;
}

void AddRow(QPainterPath& lines, qreal y, qreal halfWidth) {
    lines.moveTo(kMid - halfWidth, y + 0.5);
    lines.lineTo(kMid + halfWidth, y + 0.5);
}

QPainterPath United(std::initializer_list<QPainterPath> parts) {
    QPainterPath whole;
    for (const QPainterPath& part : parts)
        whole = whole.united(part);
    return whole.simplified();
}

} // namespace pieceset
