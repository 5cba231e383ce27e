#include "ShadedPainter.h"

#include "PieceSetPainter.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace pieceset {

namespace {

constexpr qreal kOutlineWidth = 2.0; // centred on the edge: one pixel of it lies inside
constexpr qreal kLineWidth = 1.0;
constexpr double kRimStrength = 2.4;   // how far a lit edge moves towards the rim colour
constexpr double kShadeStrength = 1.6; // how far an edge turned away darkens

// A square grid of values, one per pixel of a cell.
class Field {
  public:
    explicit Field(int size) : size_(size), values_(std::size_t(size) * std::size_t(size)) {}
    double& operator()(int x, int y) { return values_[std::size_t(y) * size_ + x]; }
    double operator()(int x, int y) const { return values_[std::size_t(y) * size_ + x]; }

  private:
    std::size_t size_;
    std::vector<double> values_;
};

QImage Coverage(const PieceShape& shape, int scale) {
    QImage alpha = BlankCell(QImage::Format_Alpha8, 0, scale);
    QPainter painter(&alpha);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape.silhouette, Qt::black);
    return alpha;
}

// A pixel belongs to the piece when the shape covers at least half of it, as in its mask.
bool Inside(const QImage& coverage, int x, int y) {
    return x >= 0 && y >= 0 && x < coverage.width() && y < coverage.height() &&
           coverage.constScanLine(y)[x] >= 128;
}

// A binomial kernel whose spread is `scale` pixels: the five taps 1 4 6 4 1 at scale 1.
std::vector<double> SoftKernel(int scale) {
    const int taps = 4 * scale * scale + 1;
    std::vector<double> row{1.0};
    for (int n = 1; n < taps; ++n) {
        std::vector<double> next(std::size_t(n) + 1, 1.0);
        for (int k = 1; k < n; ++k)
            next[std::size_t(k)] = row[std::size_t(k) - 1] + row[std::size_t(k)];
        row = std::move(next);
    }
    const double total = std::ldexp(1.0, taps - 1);
    for (double& weight : row)
        weight = weight / total;
    return row;
}

// The silhouette's coverage, 0 to 1, softened over about two design-grid pixels so that its
// slope near the edge gives the direction the surface turns to.
Field SoftCoverage(const QImage& alpha, int scale) {
    const std::vector<double> kernel = SoftKernel(scale);
    const int reach = int(kernel.size()) / 2;
    const int size = alpha.width();
    Field across(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            for (int k = -reach; k <= reach; ++k)
                if (x + k >= 0 && x + k < size)
                    across(x, y) +=
                        kernel[std::size_t(k + reach)] * alpha.constScanLine(y)[x + k] / 255.0;
    Field soft(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            for (int k = -reach; k <= reach; ++k)
                if (y + k >= 0 && y + k < size)
                    soft(x, y) += kernel[std::size_t(k + reach)] * across(x, y + k);
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
// The slope is taken across one design-grid pixel on either side, so a larger scale finds
// the same slopes.
void LightEdges(QImage& picture, const QImage& coverage, const ShadedColours& colours, int scale) {
    const Field soft = SoftCoverage(coverage, scale);
    const int size = coverage.width();
    const int s = scale;
    const double lightX = -0.6;
    const double lightY = -0.8;
    for (int y = s; y + s < size; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = s; x + s < size; ++x) {
            if (soft(x, y) <= 0.0) continue;
            // The outward normal points down the coverage slope.
            const double normalX = (soft(x - s, y) - soft(x + s, y)) / 2;
            const double normalY = (soft(x, y - s) - soft(x, y + s)) / 2;
            const double facing = normalX * lightX + normalY * lightY;
            row[x] = facing > 0 ? Mix(row[x], colours.rim, facing * kRimStrength)
                                : Mix(row[x], colours.shade, -facing * kShadeStrength);
        }
    }
}

// True when a pixel of the piece lies within `reach` pixels of the outside, straight across.
bool NearOutside(const QImage& coverage, int x, int y, int reach) {
    for (int d = 1; d <= reach; ++d)
        if (!Inside(coverage, x - d, y) || !Inside(coverage, x + d, y) ||
            !Inside(coverage, x, y - d) || !Inside(coverage, x, y + d))
            return true;
    return false;
}

// Gives the outline's inner half, one design-grid pixel of piece next to the outside, the
// outline colour, so the edge stays one solid line wherever the antialiased stroke covers a
// pixel only in part.
void CloseOutline(QImage& picture, const QImage& coverage, const ShadedColours& colours,
                  int scale) {
    for (int y = 0; y < coverage.height(); ++y)
        for (int x = 0; x < coverage.width(); ++x)
            if (Inside(coverage, x, y) && NearOutside(coverage, x, y, scale))
                picture.setPixel(x, y, colours.outline);
}

} // namespace

QImage PaintShadedPicture(const PieceShape& shape, const ShadedColours& colours, int scale) {
    // The cell starts in the outline colour, so edge pixels that the shape covers only in
    // part still come out as outline rather than as a blend with some background.
    QImage picture = BlankCell(QImage::Format_RGB32, colours.outline, scale);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintBody(painter, shape, colours);
    }
    const QImage coverage = Coverage(shape, scale);
    LightEdges(picture, coverage, colours, scale);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintInnerLines(painter, shape, colours.lines);
        PaintSilhouetteEdge(painter, shape, colours.outline);
    }
    CloseOutline(picture, coverage, colours, scale);
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
