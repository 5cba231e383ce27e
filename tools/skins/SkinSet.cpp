#include "SkinSet.h"

#include "Backgrounds.h"
#include "SquareTextures.h"

#include "Palette.h"

#include <QBuffer>

#include <cstring>

namespace skins {

namespace {

constexpr int kDotsPerMetre = 2835; // 72 dots per inch, fixed so every run writes equal bytes

} // namespace

const QList<SkinPicture>& Pictures() {
    static const QList<SkinPicture> pictures{
        {"Sk1.bmp", 314, 190, RedLeather, false}, {"Sk2.bmp", 372, 214, BlueBrushedMetal, false},
        {"Sk4.bmp", 364, 206, Granite, false},    {"Sk5.bmp", 458, 256, OakPanel, false},
        {"bb1.bmp", 75, 73, RoseMarble, true},    {"bb2.bmp", 69, 62, CrimsonMarble, true},
        {"bc1.bmp", 91, 68, IceMarble, true},     {"bc2.bmp", 84, 68, SteelMarble, true},
        {"ba1.bmp", 137, 74, Maple, true},        {"ba2.bmp", 143, 80, Walnut, true},
    };
    return pictures;
}

const SkinPicture* FindPicture(const QString& fileName) {
    for (const SkinPicture& picture : Pictures())
        if (picture.fileName == fileName) return &picture;
    return nullptr;
}

const QList<Skin>& Skins() {
    static const QList<Skin> skins{
        {"Red", "Sk1.bmp", "bb1.bmp", "bb2.bmp"},
        {"Blue", "Sk2.bmp", "bc1.bmp", "bc2.bmp"},
        {"Stone", "Sk4.bmp", "ba1.bmp", "ba2.bmp"},
        {"Wood", "Sk5.bmp", "ba1.bmp", "ba2.bmp"},
    };
    return skins;
}

QImage Draw(const SkinPicture& picture) {
    return Render(picture.width, picture.height, picture.shader(picture.width, picture.height));
}

QImage RenderShipped(const SkinPicture& picture) {
    QImage image = pieceset::ToIndexed8(Draw(picture), {});
    // Rows are padded to whole words, and the BMP writer copies the padding too: clear it,
    // or pictures whose width is not a multiple of four would differ from run to run.
    for (int y = 0; y < image.height(); ++y)
        std::memset(image.scanLine(y) + image.width(), 0, image.bytesPerLine() - image.width());
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    return image;
}

QByteArray EncodeBmp(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

} // namespace skins
