#include "ShadedPainter.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace pieceset {

namespace {

constexpr qreal kOutlineWidth = 2.0; // centred on the edge: one pixel of it lies inside
constexpr qreal kLineWidth = 1.0;
constexpr double kRimStrength = 2.4;   // how far a lit edge moves towards the rim colour
constexpr double kShadeStrength = 1.6; // how far an edge turned away darkens

using Field = std::array<std::array<double, kCellSize>, kCellSize>;

QImage Coverage(const PieceShape& shape) {
    QImage alpha(kCellSize, kCellSize, QImage::Format_Alpha8);
    alpha.fill(0);
    QPainter painter(&alpha);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape.silhouette, Qt::black);
    return alpha;
}

// A pixel belongs to the piece when the shape covers at least half of it, as in its mask.
bool Inside(const QImage& coverage, int x, int y) {
    return x >= 0 && y >= 0 && x < kCellSize && y < kCellSize &&
           coverage.constScanLine(y)[x] >= 128;
}

// The silhouette's coverage, 0 to 1, softened over about two pixels so that its slope near
// the edge gives the direction the surface turns to.
Field SoftCoverage(const QImage& alpha) {
    constexpr std::array<double, 5> kernel{1 / 16.0, 4 / 16.0, 6 / 16.0, 4 / 16.0, 1 / 16.0};
    Field across{};
    for (int y = 0; y < kCellSize; ++y)
        for (int x = 0; x < kCellSize; ++x)
            for (int k = -2; k <= 2; ++k)
                if (x + k >= 0 && x + k < kCellSize)
                    across[y][x] += kernel[k + 2] * alpha.constScanLine(y)[x + k] / 255.0;
    Field soft{};
    for (int y = 0; y < kCellSize; ++y)
        for (int x = 0; x < kCellSize; ++x)
            for (int k = -2; k <= 2; ++k)
                if (y + k >= 0 && y + k < kCellSize) soft[y][x] += kernel[k + 2] * across[y + k][x];
    return soft;
}

QRgb Mix(QRgb from, QRgb to, double amount) {
    amount = std::clamp(amount, 0.0, 1.0);
    const auto channel = [amount](int a, int b) { return int(std::lround(a + (b - a) * amount)); };
    return qRgb(channel(qRed(from), qRed(to)), channel(qGreen(from), qGreen(to)),
                channel(qBlue(from), qBlue(to)));
}

void PaintBody(QPainter& painter, const PieceShape& shape, const ShadedColours& colours) {
    const QRectF box = shape.silhouette.boundingRect();
    QLinearGradient turned(box.left(), 0, box.right(), 0);
    turned.setColorAt(0.0, QColor(colours.body));
    turned.setColorAt(0.3, QColor(colours.highlight));
    turned.setColorAt(0.6, QColor(colours.body));
    turned.setColorAt(1.0, QColor(colours.shade));
    painter.fillPath(shape.silhouette, turned);
}

// Lights the body's rounded edge: where the surface turns towards the upper left it takes on
// the rim colour, where it turns away it darkens towards the shade.
void LightEdges(QImage& picture, const QImage& coverage, const ShadedColours& colours) {
    const Field soft = SoftCoverage(coverage);
    const double lightX = -0.6;
    const double lightY = -0.8;
    for (int y = 1; y + 1 < kCellSize; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 1; x + 1 < kCellSize; ++x) {
            if (soft[y][x] <= 0.0) continue;
            // The outward normal points down the coverage slope.
            const double normalX = (soft[y][x - 1] - soft[y][x + 1]) / 2;
            const double normalY = (soft[y - 1][x] - soft[y + 1][x]) / 2;
            const double facing = normalX * lightX + normalY * lightY;
            row[x] = facing > 0 ? Mix(row[x], colours.rim, facing * kRimStrength)
                                : Mix(row[x], colours.shade, -facing * kShadeStrength);
        }
    }
}

// Gives every piece pixel next to the outside the outline colour, so the edge stays one
// solid line wherever the antialiased stroke covers a pixel only in part.
void CloseOutline(QImage& picture, const QImage& coverage, const ShadedColours& colours) {
    for (int y = 0; y < kCellSize; ++y)
        for (int x = 0; x < kCellSize; ++x)
            if (Inside(coverage, x, y) &&
                (!Inside(coverage, x - 1, y) || !Inside(coverage, x + 1, y) ||
                 !Inside(coverage, x, y - 1) || !Inside(coverage, x, y + 1)))
                picture.setPixel(x, y, colours.outline);
}

} // namespace

QImage PaintShadedPicture(const PieceShape& shape, const ShadedColours& colours) {
    // The cell starts in the outline colour, so edge pixels that the shape covers only in
    // part still come out as outline rather than as a blend with some background.
    QImage picture(kCellSize, kCellSize, QImage::Format_RGB32);
    picture.fill(colours.outline);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintBody(painter, shape, colours);
    }
    const QImage coverage = Coverage(shape);
    LightEdges(picture, coverage, colours);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintInnerLines(painter, shape, colours.lines);
        PaintSilhouetteEdge(painter, shape, colours.outline);
    }
    CloseOutline(picture, coverage, colours);
    return picture;
}

void PaintInnerLines(QPainter& painter, const PieceShape& shape, QRgb colour) {
    painter.save();
    painter.setClipPath(shape.silhouette);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(colour), kLineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(shape.lines);
    painter.fillPath(shape.marks, QColor(colour));
    painter.restore();
}

void PaintSilhouetteEdge(QPainter& painter, const PieceShape& shape, QRgb colour) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(colour), kOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(shape.silhouette);
}

} // namespace pieceset
