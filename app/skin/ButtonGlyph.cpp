#include "ButtonGlyph.h"

#include <QPixmap>

namespace {

QPixmap Cut(const QImage& glyph, int index, QRgb key) {
    const int side = glyph.height();
    QImage half = glyph.copy(index * side, 0, side, side).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(half.scanLine(y));
        for (int x = 0; x < side; ++x)
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
    }
    return QPixmap::fromImage(half);
}

} // namespace

QIcon GlyphIcon(const QImage& glyph) {
    if (glyph.isNull() || glyph.width() < 2 * glyph.height()) return {};
    const QRgb key = glyph.pixel(0, glyph.height() - 1);
    QIcon icon;
    icon.addPixmap(Cut(glyph, 0, key), QIcon::Normal);
    icon.addPixmap(Cut(glyph, 1, key), QIcon::Disabled);
    return icon;
}
