// The two piece sets as the program loads them from its resources: the default set and the
// main window's set. The format the board relies on, the cell layout, pictures that agree with
// their masks, and pictures the generator still draws byte for byte.

#include "SheetFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRect>
#include <QSet>

#include <cstdlib>

namespace {

constexpr int kCell = 40;
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

struct SetFile {
    const char* resource;
    pieceset::PieceStyle style;
    int bitsPerPixel;
};

constexpr SetFile kDefaultSet{":/SETKOVIRA40.bmp", pieceset::PieceStyle::Default, 8};
constexpr SetFile kMainSet{":/MainPieceSet.bmp", pieceset::PieceStyle::Main, 24};

QByteArray FileBytes(const char* resource) {
    QFile file(resource);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One set's cells: row 0 white pictures, 1 white masks, 2 black pictures, 3 black masks.
class Sheet {
  public:
    explicit Sheet(const char* resource) : image_(resource) {}

    const QImage& Image() const { return image_; }

    QRgb Pixel(int column, int row, int x, int y) const {
        return image_.pixel(column * kCell + x, row * kCell + y) | 0xff000000;
    }

    bool Opaque(int column, int pictureRow, int x, int y) const {
        return Pixel(column, pictureRow + 1, x, y) != kWhite;
    }

    // The opaque part of a piece's mask, in cell coordinates.
    QRect MaskBounds(int column, int pictureRow) const {
        QRect bounds;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (Opaque(column, pictureRow, x, y)) bounds |= QRect(x, y, 1, 1);
        return bounds;
    }

    // The share of a piece's pixels that are light: its body for white, its lines for black.
    double LightShare(int column, int pictureRow) const {
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

  private:
    QImage image_;
};

class PieceSetResource : public testing::TestWithParam<SetFile> {
  protected:
    PieceSetResource() : sheet_(GetParam().resource) {}
    Sheet sheet_;
};

TEST_P(PieceSetResource, IsA240By160BitmapOfItsColourDepth) {
    ASSERT_FALSE(sheet_.Image().isNull());
    EXPECT_EQ(sheet_.Image().size(), QSize(240, 160));
    const QByteArray header = FileBytes(GetParam().resource).left(30);
    ASSERT_EQ(header.size(), 30);
    EXPECT_EQ(header.left(2), "BM");
    EXPECT_EQ(header[28], GetParam().bitsPerPixel) << "bits per pixel";
    if (GetParam().bitsPerPixel == 8) {
        EXPECT_EQ(sheet_.Image().format(), QImage::Format_Indexed8);
        EXPECT_EQ(sheet_.Image().colorCount(), 256);
    }
}

TEST_P(PieceSetResource, GeneratorReproducesTheCommittedFile) {
    const QByteArray drawn = pieceset::EncodeSheet(pieceset::MakeSheet(GetParam().style));
    const QByteArray committed = FileBytes(GetParam().resource);
    ASSERT_FALSE(committed.isEmpty());
    EXPECT_EQ(drawn.size(), committed.size());
    EXPECT_TRUE(drawn == committed) << "regenerate the picture with zel_make_pieceset";
}

TEST_P(PieceSetResource, MaskCellsAreBlackSilhouettesOnWhite) {
    for (int row : {1, 3}) {
        for (int column = 0; column < 6; ++column) {
            int opaque = 0;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    const QRgb rgb = sheet_.Pixel(column, row, x, y);
                    ASSERT_TRUE(rgb == kWhite || rgb == kBlack) << column << "," << row;
                    opaque += rgb == kBlack;
                }
            EXPECT_GT(opaque, 150) << column << "," << row;
            EXPECT_LT(opaque, kCell * kCell / 2) << column << "," << row;
        }
    }
}

TEST_P(PieceSetResource, PicturesFillTheirMasksOverOneBackground) {
    const QRgb background = sheet_.Pixel(0, 0, 0, 0);
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            QSet<QRgb> pieceColours;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    const QRgb rgb = sheet_.Pixel(column, row, x, y);
                    if (sheet_.Opaque(column, row, x, y)) {
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

TEST_P(PieceSetResource, PiecesAreCentredTallAndDistinct) {
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            const QRect box = sheet_.MaskBounds(column, row);
            EXPECT_LE(std::abs(box.left() + box.right() + 1 - kCell), 3) << column << "," << row;
            EXPECT_GE(box.height(), 25) << column << "," << row;
            EXPECT_LE(box.height(), 37) << column << "," << row;
            EXPECT_GE(box.top(), 1);
            EXPECT_LE(box.bottom(), kCell - 2);
        }
        EXPECT_GE(sheet_.MaskBounds(5, row).height(), 34) << "the king stands 34-37 pixels tall";
    }
    // No two kinds share a silhouette.
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b) {
            int differing = 0;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x)
                    differing += sheet_.Opaque(a, 0, x, y) != sheet_.Opaque(b, 0, x, y);
            EXPECT_GT(differing, 40) << a << " and " << b;
        }
}

TEST_P(PieceSetResource, WhiteIsLightAndBlackIsDark) {
    for (int column = 0; column < 6; ++column) {
        EXPECT_GT(sheet_.LightShare(column, 0), 0.4) << column;
        EXPECT_LT(sheet_.LightShare(column, 2), 0.2) << column;
    }
}

INSTANTIATE_TEST_SUITE_P(BothSets, PieceSetResource, testing::Values(kDefaultSet, kMainSet),
                         [](const testing::TestParamInfo<SetFile>& set) {
                             return set.param.bitsPerPixel == 8 ? "Default" : "Main";
                         });

// Every piece of the main set is drawn anew: its shape or its painting differs clearly from
// the same piece of the default set.
TEST(MainPieceSet, EveryPieceDiffersFromTheDefaultSet) {
    const Sheet standard(kDefaultSet.resource);
    const Sheet main(kMainSet.resource);
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            int silhouette = 0;
            int colour = 0;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    const bool inMain = main.Opaque(column, row, x, y);
                    silhouette += inMain != standard.Opaque(column, row, x, y);
                    colour += inMain &&
                              main.Pixel(column, row, x, y) != standard.Pixel(column, row, x, y);
                }
            EXPECT_GT(silhouette, 60) << column << "," << row;
            EXPECT_GT(colour, 200) << column << "," << row;
        }
    }
}

} // namespace
