// The default piece set as the program loads it from its resources: the format the board
// relies on, the cell layout, and pictures that agree with their masks.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRect>
#include <QSet>

namespace {

constexpr int kCell = 40;
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

const QImage& Sheet() {
    static const QImage sheet(":/SETKOVIRA40.bmp");
    return sheet;
}

QRgb Pixel(int column, int row, int x, int y) {
    return Sheet().pixel(column * kCell + x, row * kCell + y) | 0xff000000;
}

bool Opaque(int column, int pictureRow, int x, int y) {
    return Pixel(column, pictureRow + 1, x, y) != kWhite;
}

// The opaque part of a piece's mask, in cell coordinates.
QRect MaskBounds(int column, int pictureRow) {
    QRect bounds;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (Opaque(column, pictureRow, x, y)) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// The share of a piece's pixels that are light: its body for white, its inner lines for black.
double LightShare(int column, int pictureRow) {
    int light = 0;
    int count = 0;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (Opaque(column, pictureRow, x, y)) {
                light += qGray(Pixel(column, pictureRow, x, y)) >= 160;
                ++count;
            }
    return count ? double(light) / count : -1;
}

TEST(PieceSetResource, IsA240By160BitmapWith256ColourPalette) {
    ASSERT_FALSE(Sheet().isNull());
    EXPECT_EQ(Sheet().size(), QSize(240, 160));
    EXPECT_EQ(Sheet().format(), QImage::Format_Indexed8);
    EXPECT_EQ(Sheet().colorCount(), 256);

    QFile file(":/SETKOVIRA40.bmp");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    ASSERT_EQ(header.size(), 30);
    EXPECT_EQ(header.left(2), "BM");
    EXPECT_EQ(header[28], 8) << "bits per pixel";
}

TEST(PieceSetResource, MaskCellsAreBlackSilhouettesOnWhite) {
    for (int row : {1, 3}) {
        for (int column = 0; column < 6; ++column) {
            int opaque = 0;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    const QRgb rgb = Pixel(column, row, x, y);
                    ASSERT_TRUE(rgb == kWhite || rgb == kBlack) << column << "," << row;
                    opaque += rgb == kBlack;
                }
            EXPECT_GT(opaque, 150) << column << "," << row;
            EXPECT_LT(opaque, kCell * kCell / 2) << column << "," << row;
        }
    }
}

TEST(PieceSetResource, PicturesFillTheirMasksOverOneBackground) {
    const QRgb background = Pixel(0, 0, 0, 0);
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            QSet<QRgb> pieceColours;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    const QRgb rgb = Pixel(column, row, x, y);
                    if (Opaque(column, row, x, y)) {
                        // A background pixel here would show as a halo on the board.
                        ASSERT_NE(rgb, background) << column << "," << row << " " << x << "," << y;
                        pieceColours.insert(rgb);
                    } else {
                        ASSERT_EQ(rgb, background) << column << "," << row << " " << x << "," << y;
                    }
                }
            EXPECT_GE(pieceColours.size(), 3) << "a flat picture: " << column << "," << row;
        }
    }
    EXPECT_GT(qRed(background), qBlue(background)) << "the picture background is brown";
}

TEST(PieceSetResource, PiecesAreCentredTallAndDistinct) {
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            const QRect box = MaskBounds(column, row);
            EXPECT_LE(std::abs(box.left() + box.right() + 1 - kCell), 3) << column << "," << row;
            EXPECT_GE(box.height(), 25) << column << "," << row;
            EXPECT_LE(box.height(), 37) << column << "," << row;
            EXPECT_GE(box.top(), 1);
            EXPECT_LE(box.bottom(), kCell - 2);
        }
        EXPECT_GE(MaskBounds(5, row).height(), 34) << "the king stands about 34-36 pixels tall";
    }
    // No two kinds share a silhouette.
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b) {
            int differing = 0;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x)
                    differing += Opaque(a, 0, x, y) != Opaque(b, 0, x, y);
            EXPECT_GT(differing, 40) << a << " and " << b;
        }
}

TEST(PieceSetResource, WhiteIsLightAndBlackIsDark) {
    for (int column = 0; column < 6; ++column) {
        EXPECT_GT(LightShare(column, 0), 0.4) << column;
        EXPECT_LT(LightShare(column, 2), 0.2) << column;
    }
}

} // namespace
