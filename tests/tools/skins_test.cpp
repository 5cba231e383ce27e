// The skin pictures as the program loads them from its resources: their sizes and format,
// that the generator still draws exactly what is committed, and the properties the board and
// the windows rely on (square textures that tile without a seam, light squares clearly
// lighter than dark ones, backgrounds that black text can be read on). Then the noise the
// pictures are made of: periodic wherever it is sampled, and not flattened.

#include "Noise.h"
#include "SkinSet.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

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

TEST(SkinNoise, RepeatsOverItsPeriodEvenAtNegativeCoordinates) {
    const skins::TileNoise noise(7);
    for (double u : {-1.73, -0.41, 0.0, 0.26, 0.93}) {
        for (double v : {-0.88, 0.0, 0.37, 0.99}) {
            // Three cells across (not a power of two) and five down.
            const double f = noise.Fbm(u, v, 3, 5, 4);
            EXPECT_NEAR(noise.Fbm(u + 1, v, 3, 5, 4), f, 1e-9) << u << "," << v;
            EXPECT_NEAR(noise.Fbm(u - 2, v + 1, 3, 5, 4), f, 1e-9) << u << "," << v;
            EXPECT_NEAR(noise.Gradient(u * 3 + 3, v * 5 - 5, 3, 5),
                        noise.Gradient(u * 3, v * 5, 3, 5), 1e-9);
            const skins::CellSample a = skins::Cells(u, v, 6, 4, 9);
            const skins::CellSample b = skins::Cells(u + 1, v - 1, 6, 4, 9);
            EXPECT_NEAR(a.nearest, b.nearest, 1e-9) << u << "," << v;
            EXPECT_NEAR(a.second, b.second, 1e-9) << u << "," << v;
            EXPECT_EQ(a.cell, b.cell);
        }
    }
}

TEST(SkinNoise, FractalSumSpansItsRangeWithoutBeingFlat) {
    const skins::TileNoise noise(3);
    double low = 1;
    double high = -1;
    double sum = 0;
    constexpr int kSide = 64;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const double f = noise.Fbm((x + 0.5) / kSide, (y + 0.5) / kSide, 3, 3, 5);
            low = std::min(low, f);
            high = std::max(high, f);
            sum += f;
        }
    EXPECT_GE(low, -1.0);
    EXPECT_LE(high, 1.0);
    EXPECT_LT(low, -0.4);
    EXPECT_GT(high, 0.4);
    EXPECT_LT(std::abs(sum / (kSide * kSide)), 0.2) << "centred on zero";
}

// Cells against a search over every feature point of the lattice and its wrapped copies.
TEST(SkinNoise, CellsFindTheTwoNearestFeaturePoints) {
    constexpr int kCellsX = 5;
    constexpr int kCellsY = 3;
    constexpr std::uint32_t kSeed = 21;
    for (double u = 0.013; u < 1; u += 0.037) {
        for (double v = 0.029; v < 1; v += 0.041) {
            const double x = u * kCellsX;
            const double y = v * kCellsY;
            std::vector<double> distances;
            for (int cy = 0; cy < kCellsY; ++cy)
                for (int cx = 0; cx < kCellsX; ++cx) {
                    const skins::FeaturePoint point = skins::CellPoint(cx, cy, kSeed);
                    for (int copyY = -1; copyY <= 1; ++copyY)
                        for (int copyX = -1; copyX <= 1; ++copyX)
                            distances.push_back(std::hypot(point.x + copyX * kCellsX - x,
                                                           point.y + copyY * kCellsY - y));
                }
            std::sort(distances.begin(), distances.end());
            const skins::CellSample sample = skins::Cells(u, v, kCellsX, kCellsY, kSeed);
            EXPECT_NEAR(sample.nearest, distances[0], 1e-9) << u << "," << v;
            EXPECT_NEAR(sample.second, distances[1], 1e-9) << u << "," << v;
            EXPECT_NEAR(std::hypot(sample.towardsX, sample.towardsY), sample.nearest, 1e-9);
        }
    }
}

} // namespace
