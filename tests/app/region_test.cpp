// Window shapes cut from pictures: exactly the pixels that differ from the key colour, the
// same region whatever the batch size, and no region without a picture.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QRandomGenerator>

#include "RegionFromBitmap.h"

namespace {

constexpr QRgb Key = qRgb(255, 0, 255);

// Every pixel lies in the region exactly when its colour differs from the key's.
void ExpectShapeOf(const QImage& picture, const QRegion& region, QRgb key) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool opaque = (picture.pixel(x, y) & RGB_MASK) != (key & RGB_MASK);
            ASSERT_EQ(region.contains(QPoint(x, y)), opaque) << "pixel " << x << ", " << y;
        }
    EXPECT_TRUE(picture.rect().contains(region.boundingRect()) || region.isEmpty());
}

// A picture of scattered key pixels, with many short runs in every row.
QImage Speckled(int width, int height, quint32 seed) {
    QImage picture(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, random.bounded(3) == 0 ? Key : qRgb(x % 256, y % 256, 40));
    return picture;
}

int RunCount(const QImage& picture, QRgb key) {
    int runs = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != key && (x == 0 || picture.pixel(x - 1, y) == key)) ++runs;
    return runs;
}

} // namespace

TEST(RegionFromBitmap, KeepsExactlyTheNonKeyPixels) {
    // Runs touching both edges, single pixels, a row of nothing but key, a hole.
    QImage picture(9, 5, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    for (int x = 0; x < 9; ++x)
        picture.setPixel(x, 2, Key);
    picture.setPixel(0, 0, Key);
    picture.setPixel(2, 0, Key);
    picture.setPixel(4, 4, Key);
    picture.setPixel(8, 1, Key);
    // Near misses of the key are kept: no tolerance on any of the three bytes.
    picture.setPixel(5, 3, qRgb(254, 0, 255));
    picture.setPixel(6, 3, qRgb(255, 1, 255));
    picture.setPixel(7, 3, qRgb(255, 0, 254));
    const auto region = RegionFromBitmap(picture, Key);
    ASSERT_TRUE(region);
    ExpectShapeOf(picture, *region, Key);
}

TEST(RegionFromBitmap, LooksOnlyAtRedGreenAndBlue) {
    // The key's alpha byte and the pixels' alpha are ignored.
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(255, 0, 255, 0));
    picture.setPixel(1, 0, qRgba(1, 2, 3, 255));
    picture.setPixel(2, 0, qRgba(255, 0, 255, 255));
    picture.setPixel(3, 0, qRgba(1, 2, 3, 10));
    const auto region = RegionFromBitmap(picture, qRgba(255, 0, 255, 128));
    ASSERT_TRUE(region);
    EXPECT_EQ(*region, QRegion(1, 0, 1, 1).united(QRegion(3, 0, 1, 1)));
}

TEST(RegionFromBitmap, NoPictureGivesNoRegionAndAllKeyGivesAnEmptyOne) {
    EXPECT_FALSE(RegionFromBitmap(QImage(), Key));

    QImage blank(30, 20, QImage::Format_RGB32);
    blank.fill(Key);
    const auto none = RegionFromBitmap(blank, Key);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());

    blank.fill(Qt::white);
    const auto whole = RegionFromBitmap(blank, Key);
    ASSERT_TRUE(whole);
    EXPECT_EQ(*whole, QRegion(blank.rect()));
}

TEST(RegionFromBitmap, BatchSizeDoesNotChangeTheRegion) {
    const QImage picture = Speckled(200, 90, 7);
    ASSERT_GT(RunCount(picture, Key), 2000 * 2); // several full batches and a remainder

    const auto standard = RegionFromBitmap(picture, Key);
    const auto single = RegionFromBitmap(picture, Key, 1'000'000'000);
    const auto small = RegionFromBitmap(picture, Key, 7);
    const auto one = RegionFromBitmap(picture, Key, 1);
    ASSERT_TRUE(standard && single && small && one);
    // Equal as regions, and held in the same banded form, so plain comparison agrees too.
    EXPECT_TRUE(standard->xored(*single).isEmpty());
    EXPECT_TRUE(standard->xored(*small).isEmpty());
    EXPECT_TRUE(standard->xored(*one).isEmpty());
    EXPECT_EQ(*standard, *single);
    EXPECT_EQ(*standard, *small);
    EXPECT_EQ(*standard, *one);
    ExpectShapeOf(picture, *standard, Key);
}

TEST(RegionFromBitmap, RowsOfTheSameRunsMergeIntoTallRectangles) {
    // A frame: its straight sides become four rectangles, not one or two a row.
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Key);
    QRegion expected;
    for (int y = 5; y < 25; ++y) {
        const bool side = y >= 9 && y < 21;
        for (int x = 4; x < 36; ++x)
            if (!side || x < 8 || x >= 32) picture.setPixel(x, y, qRgb(90, 60, 30));
        expected = side ? expected.united(QRect(4, y, 4, 1)).united(QRect(32, y, 4, 1))
                        : expected.united(QRect(4, y, 32, 1));
    }
    const auto region = RegionFromBitmap(picture, Key);
    ASSERT_TRUE(region);
    EXPECT_TRUE(region->xored(expected).isEmpty());
    EXPECT_EQ(region->rectCount(), 4);
}
