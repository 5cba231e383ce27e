#include "SheetFile.h"

#include "Palette.h"

#include <QBuffer>

namespace pieceset {

namespace {

constexpr int kDotsPerMetre = 2835; // 72 dots per inch

} // namespace

QImage MakeSheet(PieceStyle style, int scale) {
    QImage sheet = RenderSheet(style, scale);
    if (style == PieceStyle::Default)
        sheet = ToIndexed8(sheet, {kMaskOpaque, kMaskClear, kPictureBackground});
    sheet.setDotsPerMeterX(kDotsPerMetre);
    sheet.setDotsPerMeterY(kDotsPerMetre);
    return sheet;
}

QByteArray EncodeSheet(const QImage& sheet) {
    // Qt writes palette images with their palette and opaque 32-bit images as 24-bit pixels.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!sheet.save(&buffer, "BMP")) return {};
    return bytes;
}

} // namespace pieceset
