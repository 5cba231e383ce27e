#include "PieceSetPainter.h"

#include "MainPieceShapes.h"

#include <QLinearGradient>
#include <QPainter>

namespace pieceset {

namespace {

void PaintBody(QPainter& painter, const PieceShape& shape, const PieceColours& colours) {
    const QRectF box = shape.silhouette.boundingRect();
    QLinearGradient light(box.left(), box.top(), box.right(), box.top() + box.width() / 3);
    light.setColorAt(0.0, QColor(colours.bodyLight));
    light.setColorAt(0.3, QColor(colours.bodyLight));
    light.setColorAt(1.0, QColor(colours.bodyShade));
    painter.fillPath(shape.silhouette, light);
}

// Copies one cell into the sheet: the picture where the piece covers the cell, the
// background elsewhere; and the matching mask cell one row below.
void PlacePiece(QImage& sheet, int column, int pictureRow, const PieceShape& shape,
                const QImage& picture, int scale) {
    const QImage coverage = SilhouetteCoverage(shape, scale);
    const int size = coverage.width();
    const int left = column * size;
    const int top = pictureRow * size;
    for (int y = 0; y < size; ++y) {
        const uchar* inside = coverage.constScanLine(y);
        for (int x = 0; x < size; ++x) {
            const bool opaque = inside[x] != 0;
            sheet.setPixel(left + x, top + y, opaque ? picture.pixel(x, y) : kPictureBackground);
            sheet.setPixel(left + x, top + size + y, opaque ? kMaskOpaque : kMaskClear);
        }
    }
}

} // namespace

QImage BlankCell(QImage::Format format, QRgb fill, int scale) {
    QImage cell(kCellSize * scale, kCellSize * scale, format);
    cell.fill(fill);
    // A painter on the cell works in design-grid units, so pens and paths grow with it.
    cell.setDevicePixelRatio(scale);
    return cell;
}

QImage SilhouetteCoverage(const PieceShape& shape, int scale) {
    QImage alpha = BlankCell(QImage::Format_Alpha8, 0, scale);
    {
        QPainter painter(&alpha);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(shape.silhouette, Qt::black);
    }
    // A pixel belongs to the piece when the shape covers at least half of it; the binary
    // mask cannot show the partly covered rest.
    QImage coverage = BlankCell(QImage::Format_Grayscale8, 0, scale);
    for (int y = 0; y < coverage.height(); ++y) {
        const uchar* a = alpha.constScanLine(y);
        uchar* c = coverage.scanLine(y);
        for (int x = 0; x < coverage.width(); ++x)
            c[x] = a[x] >= 128 ? 255 : 0;
    }
    return coverage;
}

QImage PaintPicture(const PieceShape& shape, const PieceColours& colours, int scale) {
    // The cell starts in the outline colour, so edge pixels that the shape covers only in
    // part still come out as outline rather than as a blend with some background.
    QImage picture = BlankCell(QImage::Format_RGB32, colours.outline, scale);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintBody(painter, shape, colours);
    PaintInnerLines(painter, shape, colours.lines);
    PaintSilhouetteEdge(painter, shape, colours.outline);
    return picture;
}

QImage RenderSheet(PieceStyle style, int scale) {
    QImage sheet(kSheetWidth * scale, kSheetHeight * scale, QImage::Format_RGB32);
    sheet.fill(kPictureBackground);
    for (int kind = 0; kind < kPieceKinds; ++kind) {
        if (style == PieceStyle::Main) {
            const PieceShape shape = MakeMainPieceShape(static_cast<PieceKind>(kind));
            PlacePiece(sheet, kind, 0, shape, PaintShadedPicture(shape, kMainWhiteColours, scale),
                       scale);
            PlacePiece(sheet, kind, 2, shape, PaintShadedPicture(shape, kMainBlackColours, scale),
                       scale);
        } else {
            const PieceShape shape = MakePieceShape(static_cast<PieceKind>(kind));
            PlacePiece(sheet, kind, 0, shape, PaintPicture(shape, kWhiteColours, scale), scale);
            PlacePiece(sheet, kind, 2, shape, PaintPicture(shape, kBlackColours, scale), scale);
        }
    }
    return sheet;
}

} // namespace pieceset
