// The glyphs that show objects: printer, gear, board, disk and folder.

#include "ButtonGlyphs.h"

#include <QPainter>
#include <QtMath>

namespace artwork::glyph {

namespace {

const QColor kPaper(255, 255, 255);
const QColor kPaperShade(214, 220, 230);
const QColor kInk(110, 120, 140);

} // namespace

void PaintPrint(QPainter& painter) {
    const QColor outline(52, 56, 64);
    FillOutlined(painter, Rect(4.5, 1.5, 11.5, 6.5), kPaper, kPaperShade, outline);
    QPainterPath body;
    body.addRoundedRect(QRectF(QPointF(1.5, 5.5), QPointF(14.5, 11.5)), 1.5, 1.5);
    FillOutlined(painter, body, QColor(238, 240, 244), QColor(140, 146, 158), outline);
    Pixels(painter, QColor(60, 200, 70), {QRect(12, 7, 1, 1)});
    FillOutlined(painter, Rect(3.5, 9.5, 12.5, 14.5), kPaper, kPaperShade, outline);
    Pixels(painter, kInk, {QRect(5, 11, 6, 1), QRect(5, 13, 4, 1)});
}

// A steel gear with eight teeth round a dark hub.
void PaintOptions(QPainter& painter) {
    const QPointF centre(8, 8);
    constexpr int kTeeth = 8;
    constexpr qreal kOuter = 7.0;
    constexpr qreal kRoot = 5.0;
    QPolygonF outline;
    for (int tooth = 0; tooth < kTeeth; ++tooth) {
        const qreal middle = 2 * M_PI * tooth / kTeeth + M_PI / kTeeth;
        const qreal halfTop = 0.22;  // radians either side of a tooth's middle at its tip
        const qreal halfRoot = 0.36; // ... and at its root
        for (auto [angle, radius] :
             {std::pair{middle - M_PI / kTeeth, kRoot}, std::pair{middle - halfRoot, kRoot},
              std::pair{middle - halfTop, kOuter}, std::pair{middle + halfTop, kOuter},
              std::pair{middle + halfRoot, kRoot}})
            outline << centre + radius * QPointF(qCos(angle), qSin(angle));
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    FillOutlined(painter, gear, QColor(236, 240, 246), QColor(118, 130, 148), QColor(40, 48, 60));
    QPainterPath hub;
    hub.addEllipse(centre, 2.2, 2.2);
    FillOutlined(painter, hub, QColor(70, 84, 104), QColor(150, 164, 184), QColor(40, 48, 60));
}

// A small board of four by four squares with a gold sparkle at its corner: a fresh game.
void PaintNewGame(QPainter& painter) {
    const QColor light(226, 230, 240);
    const QColor dark(44, 72, 160);
    FillOutlined(painter, Rect(1.5, 2.5, 13.5, 14.5), light, light, QColor(20, 30, 70));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            if ((row + column) % 2 == 1) painter.fillRect(2 + 3 * column, 3 + 3 * row, 3, 3, dark);
    // A four-pointed star.
    const QPointF c(12, 4);
    const QPainterPath star = Polygon(
        {c + QPointF(0, -4), c + QPointF(1.2, -1.2), c + QPointF(4, 0), c + QPointF(1.2, 1.2),
         c + QPointF(0, 4), c + QPointF(-1.2, 1.2), c + QPointF(-4, 0), c + QPointF(-1.2, -1.2)});
    FillOutlined(painter, star, QColor(255, 255, 200), QColor(255, 200, 20), QColor(170, 100, 0));
    Pixels(painter, QColor(255, 255, 255), {QRect(12, 4, 1, 1)});
}

// A blue disk with its metal shutter and a label.
void PaintSave(QPainter& painter) {
    const QColor outline(14, 36, 90);
    FillOutlined(painter,
                 Polygon({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}),
                 QColor(110, 160, 236), QColor(26, 70, 168), outline);
    FillOutlined(painter, Rect(4.5, 1.5, 11.5, 5.5), QColor(246, 248, 250), QColor(160, 168, 180),
                 outline);
    Pixels(painter, QColor(40, 56, 100), {QRect(9, 2, 2, 3)});
    FillOutlined(painter, Rect(3.5, 8.5, 12.5, 14.5), kPaper, kPaperShade, outline);
    Pixels(painter, QColor(200, 40, 30), {QRect(5, 10, 6, 1)});
    Pixels(painter, kInk, {QRect(5, 12, 6, 1)});
}

// A yellow folder, open, with a sheet of paper inside.
void PaintOpen(QPainter& painter) {
    const QColor outline(120, 76, 8);
    FillOutlined(painter,
                 Polygon({{1.5, 2.5}, {5.5, 2.5}, {7, 4}, {13.5, 4}, {13.5, 13.5}, {1.5, 13.5}}),
                 QColor(236, 184, 60), QColor(190, 130, 24), outline);
    FillOutlined(painter, Rect(3.5, 5.5, 12.5, 10.5), kPaper, kPaperShade, QColor(120, 124, 132));
    FillOutlined(painter, Polygon({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}),
                 QColor(255, 232, 140), QColor(240, 176, 40), outline);
}

} // namespace artwork::glyph
