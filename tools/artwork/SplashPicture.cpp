#include "SplashPicture.h"

#include "Knight.h"
#include "Lettering.h"
#include "Palette.h"
#include "PieceShapes.h"
#include "Pixels.h"

#include <QLinearGradient>
#include <QPainter>

namespace artwork {

namespace {

// The plaque: a rounded banner below the knight's head, which rises over its top edge.
constexpr QRectF kPlaque(4, 16, 476, 61);
constexpr qreal kPlaqueRadius = 16;
const QColor kGoldLight(255, 236, 150);
const QColor kGold(222, 166, 40);
const QColor kGoldDark(120, 76, 10);
const QColor kNight(10, 18, 52);
const QColor kNavy(36, 60, 140);

QPainterPath Rounded(const QRectF& box, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

void PaintPlaque(QPainter& painter) {
    // A gold frame...
    QLinearGradient gold(kPlaque.topLeft(), kPlaque.bottomLeft());
    gold.setColorAt(0, kGoldLight);
    gold.setColorAt(0.5, kGold);
    gold.setColorAt(1, kGoldDark);
    painter.setPen(QPen(kGoldDark, 1.5));
    painter.setBrush(gold);
    painter.drawPath(Rounded(kPlaque, kPlaqueRadius));

    // ...round a night-blue field with a faint chequer that fades to the right.
    const QRectF field = kPlaque.adjusted(4, 4, -4, -4);
    const QPainterPath inside = Rounded(field, kPlaqueRadius - 4);
    QLinearGradient night(field.topLeft(), field.bottomLeft());
    night.setColorAt(0, kNavy);
    night.setColorAt(1, kNight);
    painter.setPen(QPen(kGoldDark, 1));
    painter.setBrush(night);
    painter.drawPath(inside);

    painter.save();
    painter.setClipPath(inside);
    constexpr int kSquare = 12;
    for (int y = int(field.top()), row = 0; y < field.bottom(); y += kSquare, ++row)
        for (int x = int(field.left()), column = 0; x < field.right(); x += kSquare, ++column) {
            if ((row + column) % 2) continue;
            const qreal fade = 1.0 - (x - field.left()) / field.width();
            painter.fillRect(x, y, kSquare, kSquare, QColor(140, 170, 255, int(36 * fade) + 6));
        }
    // A gloss over the top half.
    QLinearGradient gloss(field.topLeft(), QPointF(field.left(), field.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(field, gloss);
    painter.restore();
}

void PaintKnight(QPainter& painter) {
    const qreal scale = 76.0 / (kKnightBottom - kKnightTop);
    const QTransform place =
        QTransform::fromTranslate(20 - kKnightLeft * scale, 1 - kKnightTop * scale)
            .scale(scale, scale);
    KnightStyle style = kIvoryKnight;
    style.outlineWidth = 0.9;
    style.lineWidth = 0.6;
    PaintVector(painter, KnightShadow(place * QTransform::fromTranslate(3, 2), Qt::black, 0.45),
                kSplashSize.width(), kSplashSize.width());
    PaintVector(painter, KnightLayers(place, style), kSplashSize.width(), kSplashSize.width());
}

void PaintTitle(QPainter& painter) {
    const QPainterPath title = TextOutline(Typeface::SerifBold, 52, "Chess Zel");
    const QPainterPath placed = title.translated(106 - title.boundingRect().left(), 61);
    const QRectF box = placed.boundingRect();
    painter.fillPath(placed.translated(2.5, 2.5), QColor(0, 0, 0, 150));
    QLinearGradient gold(box.topLeft(), box.bottomLeft());
    gold.setColorAt(0, QColor(255, 250, 210));
    gold.setColorAt(0.45, kGoldLight);
    gold.setColorAt(0.55, kGold);
    gold.setColorAt(1, QColor(190, 120, 20));
    painter.setPen(QPen(kGoldDark, 1));
    painter.setBrush(gold);
    painter.drawPath(placed);

    const QPainterPath line = TextOutline(Typeface::SansItalic, 13, "Starting the game...");
    const QRectF lineBox = line.boundingRect();
    painter.fillPath(line.translated(kPlaque.right() - 22 - lineBox.right(), 66),
                     QColor(200, 212, 245));
}

// The rook, queen and king in faint blue at the banner's right end, above the loading line.
void PaintPieces(QPainter& painter) {
    using pieceset::PieceKind;
    constexpr qreal kScale = 0.95;
    const PieceKind pieces[] = {PieceKind::Rook, PieceKind::Queen, PieceKind::King};
    for (int i = 0; i < 3; ++i) {
        const QTransform place = QTransform::fromTranslate(356 + 34 * i, 14).scale(kScale, kScale);
        const QPainterPath silhouette = place.map(pieceset::MakePieceShape(pieces[i]).silhouette);
        painter.fillPath(silhouette, QColor(176, 200, 255, 64));
    }
}

} // namespace

QImage SplashDrawing() {
    QImage canvas = TransparentCanvas(kSplashSize.width(), kSplashSize.height());
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintPlaque(painter);
    PaintPieces(painter);
    PaintKnight(painter);
    PaintTitle(painter);
    painter.end();
    return KeyedFromAlpha(canvas, kKeyColour);
}

QImage SplashPicture() {
    return pieceset::ToIndexed8(SplashDrawing(), {kKeyColour});
}

} // namespace artwork
