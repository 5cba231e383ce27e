#include "Pixels.h"

#include <QBuffer>
#include <QPainter>

namespace artwork {

namespace {

constexpr int kDotsPerMetre = 2835; // 72 dots per inch, fixed so every run writes equal bytes
constexpr int kHalfCoverage = 128;

QByteArray Encode(QImage picture, const char* format) {
    picture.setDotsPerMeterX(kDotsPerMetre);
    picture.setDotsPerMeterY(kDotsPerMetre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

} // namespace

QImage KeyedFromAlpha(const QImage& drawing, QRgb key) {
    const QImage source = drawing.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            out[x] = qAlpha(in[x]) >= kHalfCoverage ? (in[x] | 0xff000000) : key;
    }
    return result;
}

QImage OnBackground(const QImage& drawing, QRgb background) {
    QImage result(drawing.size(), QImage::Format_RGB32);
    result.fill(background);
    QPainter painter(&result);
    painter.drawImage(0, 0, drawing);
    return result;
}

QImage TransparentCanvas(int width, int height) {
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

QByteArray EncodeBmp(const QImage& picture) {
    if (picture.format() == QImage::Format_Indexed8) return Encode(picture, "BMP");
    return Encode(picture.convertToFormat(QImage::Format_RGB32), "BMP");
}

QByteArray EncodePng(const QImage& picture) {
    return Encode(picture.convertToFormat(QImage::Format_ARGB32), "PNG");
}

} // namespace artwork
