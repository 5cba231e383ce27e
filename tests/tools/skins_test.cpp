// The skin pictures as the program loads them from its resources: their sizes and format,
// that the generator still draws exactly what is committed, and the properties the board and
// the windows rely on (square textures that tile without a seam, light squares clearly
// lighter than dark ones, backgrounds that black text can be read on).

#include "SkinSet.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <span>

namespace {

struct Expected {
    const char* name;
    int width;
    int height;
};

constexpr Expected kBackgrounds[] = {
    {"Sk1.bmp", 314, 190}, {"Sk2.bmp", 372, 214}, {"Sk4.bmp", 364, 206}, {"Sk5.bmp", 458, 256}};
constexpr Expected kSquares[] = {{"bb1.bmp", 75, 73}, {"bb2.bmp", 69, 62},  {"bc1.bmp", 91, 68},
                                 {"bc2.bmp", 84, 68}, {"ba1.bmp", 137, 74}, {"ba2.bmp", 143, 80}};

QString ResourcePath(const QString& name) {
    return ":/skins/" + name;
}

QImage Load(const QString& name) {
    return QImage(ResourcePath(name));
}

double Luma(QRgb rgb) {
    return 0.299 * qRed(rgb) + 0.587 * qGreen(rgb) + 0.114 * qBlue(rgb);
}

double MeanLuma(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += Luma(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

// The largest channel difference between a picture drawn 2 x 2 times over (u and v running
// on to 2) and its single copy laid out 2 x 2: zero, up to rounding, for a seamless tile.
int RepeatMismatch(const skins::SkinPicture& picture) {
    const QImage tile = skins::Draw(picture);
    const QImage repeated = skins::Render(picture.width, picture.height,
                                          picture.shader(picture.width, picture.height), 2);
    int worst = 0;
    for (int y = 0; y < repeated.height(); ++y)
        for (int x = 0; x < repeated.width(); ++x) {
            const QRgb a = repeated.pixel(x, y);
            const QRgb b = tile.pixel(x % tile.width(), y % tile.height());
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    return worst;
}

TEST(SkinPictures, HaveTheirSizesAndAre8BitPaletteBitmaps) {
    for (const auto& list :
         {std::span<const Expected>(kBackgrounds), std::span<const Expected>(kSquares)}) {
        for (const Expected& expected : list) {
            SCOPED_TRACE(expected.name);
            const QImage image = Load(expected.name);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(expected.width, expected.height));
            EXPECT_EQ(image.format(), QImage::Format_Indexed8);
            EXPECT_EQ(image.colorCount(), 256);

            QFile file(ResourcePath(expected.name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray header = file.read(30);
            ASSERT_EQ(header.size(), 30);
            EXPECT_EQ(header.left(2), "BM");
            EXPECT_EQ(header[28], 8) << "bits per pixel";
        }
    }
    EXPECT_EQ(size_t(skins::Pictures().size()), std::size(kBackgrounds) + std::size(kSquares));
}

TEST(SkinPictures, GeneratorReproducesTheCommittedFiles) {
    for (const skins::SkinPicture& picture : skins::Pictures()) {
        SCOPED_TRACE(picture.fileName.toStdString());
        QFile file(ResourcePath(picture.fileName));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray committed = file.readAll();
        const QByteArray drawn = skins::EncodeBmp(skins::RenderShipped(picture));
        EXPECT_EQ(drawn.size(), committed.size());
        EXPECT_TRUE(drawn == committed) << "run zel_regenerate_skins after changing the drawing";
    }
}

TEST(SkinPictures, SquareTexturesTileWithoutASeam) {
    int textures = 0;
    for (const skins::SkinPicture& picture : skins::Pictures()) {
        if (!picture.tiles) continue;
        SCOPED_TRACE(picture.fileName.toStdString());
        EXPECT_LE(RepeatMismatch(picture), 2);
        ++textures;
    }
    EXPECT_EQ(textures, int(std::size(kSquares)));
    // The measure tells: a background, with its lit corner and bevel, does not tile.
    EXPECT_GT(RepeatMismatch(*skins::FindPicture("Sk5.bmp")), 40);
}

TEST(SkinPictures, LightSquaresAreClearlyLighterThanDarkOnes) {
    for (const skins::Skin& skin : skins::Skins()) {
        SCOPED_TRACE(skin.name.toStdString());
        const double light = MeanLuma(Load(skin.lightSquares));
        const double dark = MeanLuma(Load(skin.darkSquares));
        EXPECT_GT(light - dark, 70);
        // White pieces are ivory and black ones charcoal: neither may melt into its square.
        EXPECT_LT(light, 235);
        EXPECT_GT(dark, 60);
    }
}

TEST(SkinPictures, BackgroundsAreMidTonesForBlackText) {
    for (const Expected& expected : kBackgrounds) {
        SCOPED_TRACE(expected.name);
        const double luma = MeanLuma(Load(expected.name));
        EXPECT_GT(luma, 65);
        EXPECT_LT(luma, 190);
    }
}

} // namespace
