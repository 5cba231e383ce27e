#include "VectorLayers.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace artwork {

namespace {

QString Number(qreal value) {
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    return text == "-0" ? QStringLiteral("0") : text;
}

QString Hex(QColor colour) {
    return colour.name(QColor::HexRgb);
}

// Filled layers are closed shapes, every subpath ended with Z; strokes of open lines stay open.
QString PathData(const QPainterPath& path, bool closed) {
    QStringList parts;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (i > 0 && closed) parts << "Z";
            parts << "M" + Number(e.x) + "," + Number(e.y);
            break;
        case QPainterPath::LineToElement:
            parts << "L" + Number(e.x) + "," + Number(e.y);
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            parts << "C" + Number(e.x) + "," + Number(e.y) + " " + Number(c2.x) + "," +
                         Number(c2.y) + " " + Number(end.x) + "," + Number(end.y);
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    if (closed && !parts.isEmpty()) parts << "Z";
    return parts.join(' ');
}

QBrush FillBrush(const VectorLayer& layer) {
    if (layer.fill.size() == 1) return QBrush(layer.fill.first().second);
    QLinearGradient gradient(layer.from, layer.to);
    gradient.setStops(layer.fill);
    return QBrush(gradient);
}

} // namespace

QGradientStops Solid(QColor colour) {
    return {{0.0, colour}};
}

QGradientStops Ramp(QColor start, QColor end) {
    return {{0.0, start}, {1.0, end}};
}

void PaintVector(QPainter& painter, const VectorDrawing& drawing, qreal designSize, int pixels,
                 qreal minimumStrokePixels) {
    const qreal scale = pixels / designSize;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    for (const VectorLayer& layer : drawing) {
        if (pixels < layer.minimumSize) continue;
        painter.setOpacity(layer.opacity);
        painter.setBrush(layer.fill.isEmpty() ? QBrush(Qt::NoBrush) : FillBrush(layer));
        if (layer.stroke.isValid()) {
            const qreal width = std::max(layer.strokeWidth, minimumStrokePixels / scale);
            painter.setPen(QPen(layer.stroke, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.drawPath(layer.path);
    }
    painter.restore();
}

QByteArray ToSvg(const VectorDrawing& drawing, qreal designSize, const QString& title) {
    const QString size = Number(designSize);
    QString defs;
    QString body;
    int gradients = 0;
    for (const VectorLayer& layer : drawing) {
        QString fill = "none";
        if (layer.fill.size() == 1) {
            fill = Hex(layer.fill.first().second);
        } else if (!layer.fill.isEmpty()) {
            const QString id = QString("g%1").arg(++gradients);
            defs += QString("    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                            "x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\">\n")
                        .arg(id, Number(layer.from.x()), Number(layer.from.y()),
                             Number(layer.to.x()), Number(layer.to.y()));
            for (const auto& [offset, colour] : layer.fill) {
                QString stop = QString("      <stop offset=\"%1\" stop-color=\"%2\"")
                                   .arg(Number(offset), Hex(colour));
                if (colour.alpha() < 255)
                    stop += " stop-opacity=\"" + Number(colour.alphaF()) + "\"";
                defs += stop + "/>\n";
            }
            defs += "    </linearGradient>\n";
            fill = "url(#" + id + ")";
        }
        const QString data = PathData(layer.path, !layer.fill.isEmpty());
        QString attributes = "fill=\"" + fill + "\"";
        if (layer.stroke.isValid())
            attributes += " stroke=\"" + Hex(layer.stroke) + "\" stroke-width=\"" +
                          Number(layer.strokeWidth) +
                          "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        if (layer.opacity < 1) attributes += " opacity=\"" + Number(layer.opacity) + "\"";
        body += "  <path " + attributes + " d=\"" + data + "\"/>\n";
    }
    QString svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                  size + "\" height=\"" + size + "\" viewBox=\"0 0 " + size + " " + size +
                  "\">\n  <title>" + title.toHtmlEscaped() + "</title>\n";
    if (!defs.isEmpty()) svg += "  <defs>\n" + defs + "  </defs>\n";
    svg += body + "</svg>\n";
    return svg.toUtf8();
}

} // namespace artwork
