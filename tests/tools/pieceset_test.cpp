// The two piece sets as the program loads them from its resources: the default set and the
// main window's set, each at its own size and at twice that size. The format the board relies
// on, the cell layout, pictures that agree with their masks, pictures the generator still
// draws byte for byte, and 2x pictures that are the same pieces drawn anew, not enlarged.

#include "SheetFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRect>
#include <QSet>

#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>

namespace {

constexpr int kCell = 40; // a cell of the 1x sets; the 2x sets' cells are twice as large
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

struct SetFile {
    const char* resource;
    pieceset::PieceStyle style;
    int bitsPerPixel;
    int scale;
};

constexpr SetFile kDefaultSet{":/SETKOVIRA40.bmp", pieceset::PieceStyle::Default, 8, 1};
constexpr SetFile kMainSet{":/MainPieceSet.bmp", pieceset::PieceStyle::Main, 24, 1};
constexpr SetFile kDefaultSet2x{":/SETKOVIRA40@2x.bmp", pieceset::PieceStyle::Default, 8, 2};
constexpr SetFile kMainSet2x{":/MainPieceSet@2x.bmp", pieceset::PieceStyle::Main, 24, 2};

// Names the set in test output by its file.
void PrintTo(const SetFile& set, std::ostream* out) {
    *out << set.resource;
}

QByteArray FileBytes(const char* resource) {
    QFile file(resource);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One set's cells: row 0 white pictures, 1 white masks, 2 black pictures, 3 black masks.
class Sheet {
  public:
    explicit Sheet(const char* resource) : image_(resource), cell_(image_.height() / 4) {}

    const QImage& Image() const { return image_; }
    int Cell() const { return cell_; }

    QRgb Pixel(int column, int row, int x, int y) const {
        return image_.pixel(column * cell_ + x, row * cell_ + y) | 0xff000000;
    }

    bool Opaque(int column, int pictureRow, int x, int y) const {
        return Pixel(column, pictureRow + 1, x, y) != kWhite;
    }

    // The opaque part of a piece's mask, in cell coordinates.
    QRect MaskBounds(int column, int pictureRow) const {
        QRect bounds;
        for (int y = 0; y < cell_; ++y)
            for (int x = 0; x < cell_; ++x)
                if (Opaque(column, pictureRow, x, y)) bounds |= QRect(x, y, 1, 1);
        return bounds;
    }

    // The share of a piece's pixels that are light: its body for white, its lines for black.
    double LightShare(int column, int pictureRow) const {
        int light = 0;
        int count = 0;
        for (int y = 0; y < cell_; ++y)
            for (int x = 0; x < cell_; ++x)
                if (Opaque(column, pictureRow, x, y)) {
                    light += qGray(Pixel(column, pictureRow, x, y)) >= 160;
                    ++count;
                }
        return count ? double(light) / count : -1;
    }

    // An opaque pixel within `depth` pixels of a clear one (or of the cell's side), straight
    // across: the band the outline covers.
    bool NearEdge(int column, int pictureRow, int x, int y, int depth) const {
        const auto clear = [&](int px, int py) {
            return px < 0 || py < 0 || px >= cell_ || py >= cell_ ||
                   !Opaque(column, pictureRow, px, py);
        };
        for (int d = 1; d <= depth; ++d)
            if (clear(x - d, y) || clear(x + d, y) || clear(x, y - d) || clear(x, y + d))
                return true;
        return false;
    }

  private:
    QImage image_;
    int cell_;
};

class PieceSetResource : public testing::TestWithParam<SetFile> {
  protected:
    PieceSetResource() : sheet_(GetParam().resource), s_(GetParam().scale) {}
    Sheet sheet_;
    int s_; // lengths scale with the set, areas with its square
};

TEST_P(PieceSetResource, IsA240By160BitmapOfItsColourDepth) {
    ASSERT_FALSE(sheet_.Image().isNull());
    EXPECT_EQ(sheet_.Image().size(), QSize(240, 160) * s_);
    EXPECT_EQ(sheet_.Cell(), kCell * s_);
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
    const QByteArray drawn =
        pieceset::EncodeSheet(pieceset::MakeSheet(GetParam().style, GetParam().scale));
    const QByteArray committed = FileBytes(GetParam().resource);
    ASSERT_FALSE(committed.isEmpty());
    EXPECT_EQ(drawn.size(), committed.size());
    EXPECT_TRUE(drawn == committed) << "regenerate the picture with zel_make_pieceset";
}

TEST_P(PieceSetResource, MaskCellsAreBlackSilhouettesOnWhite) {
    for (int row : {1, 3}) {
        for (int column = 0; column < 6; ++column) {
            const int cell = sheet_.Cell();
            int opaque = 0;
            for (int y = 0; y < cell; ++y)
                for (int x = 0; x < cell; ++x) {
                    const QRgb rgb = sheet_.Pixel(column, row, x, y);
                    ASSERT_TRUE(rgb == kWhite || rgb == kBlack) << column << "," << row;
                    opaque += rgb == kBlack;
                }
            EXPECT_GT(opaque, 150 * s_ * s_) << column << "," << row;
            EXPECT_LT(opaque, cell * cell / 2) << column << "," << row;
        }
    }
}

TEST_P(PieceSetResource, PicturesFillTheirMasksOverOneBackground) {
    const QRgb background = sheet_.Pixel(0, 0, 0, 0);
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            QSet<QRgb> pieceColours;
            for (int y = 0; y < sheet_.Cell(); ++y)
                for (int x = 0; x < sheet_.Cell(); ++x) {
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
    const int cell = sheet_.Cell();
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            const QRect box = sheet_.MaskBounds(column, row);
            EXPECT_LE(std::abs(box.left() + box.right() + 1 - cell), 3 * s_)
                << column << "," << row;
            // A finial's tip may reach into the next fine pixel, no further than the design's.
            EXPECT_GE(box.height(), 25 * s_) << column << "," << row;
            EXPECT_LE(box.height(), 38 * s_ - 1) << column << "," << row;
            EXPECT_GE(box.top(), 1);
            EXPECT_LE(box.bottom(), cell - 2 * s_);
        }
        EXPECT_GE(sheet_.MaskBounds(5, row).height(), 34 * s_)
            << "the king stands 34-37 design pixels tall";
    }
    // No two kinds share a silhouette.
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b) {
            int differing = 0;
            for (int y = 0; y < cell; ++y)
                for (int x = 0; x < cell; ++x)
                    differing += sheet_.Opaque(a, 0, x, y) != sheet_.Opaque(b, 0, x, y);
            EXPECT_GT(differing, 40 * s_ * s_) << a << " and " << b;
        }
}

// The outline is one design pixel deep inside the silhouette at every size: two pixels in a
// 2x set, so it keeps its weight on the board instead of thinning to a hairline.
TEST_P(PieceSetResource, OutlineRunsAroundEachPieceOneDesignPixelDeep) {
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            const QRgb outline = sheet_.Pixel(column, row, sheet_.Cell() / 2,
                                              sheet_.MaskBounds(column, row).bottom());
            int band = 0;
            int dark = 0;
            for (int y = 0; y < sheet_.Cell(); ++y)
                for (int x = 0; x < sheet_.Cell(); ++x) {
                    if (!sheet_.Opaque(column, row, x, y) ||
                        !sheet_.NearEdge(column, row, x, y, s_))
                        continue;
                    ++band;
                    dark += qGray(sheet_.Pixel(column, row, x, y)) <= qGray(outline) + 40;
                }
            // A 2x outline only as wide as the 1x one would leave half of this band light.
            EXPECT_GT(dark, band * 85 / 100) << column << "," << row;
        }
    }
}

TEST_P(PieceSetResource, WhiteIsLightAndBlackIsDark) {
    for (int column = 0; column < 6; ++column) {
        EXPECT_GT(sheet_.LightShare(column, 0), 0.4) << column;
        EXPECT_LT(sheet_.LightShare(column, 2), 0.2) << column;
    }
}

INSTANTIATE_TEST_SUITE_P(BothSetsAtBothSizes, PieceSetResource,
                         testing::Values(kDefaultSet, kMainSet, kDefaultSet2x, kMainSet2x),
                         [](const testing::TestParamInfo<SetFile>& set) {
                             return std::string(set.param.bitsPerPixel == 8 ? "Default" : "Main") +
                                    (set.param.scale == 2 ? "2x" : "");
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

// A 2x set is its 1x set drawn again on the finer grid: the same silhouettes, pixel for
// design pixel, but with detail of its own rather than each pixel doubled.
class TwiceTheSize : public testing::TestWithParam<std::pair<SetFile, SetFile>> {
  protected:
    TwiceTheSize() : one_(GetParam().first.resource), two_(GetParam().second.resource) {}
    Sheet one_;
    Sheet two_;
};

TEST_P(TwiceTheSize, SilhouettesMatchTheOneTimesSet) {
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            // The bounds agree to a design pixel: a thin tip cut at half coverage may gain
            // or lose a pixel's worth at either size.
            const QRect small = one_.MaskBounds(column, row);
            const QRect large = two_.MaskBounds(column, row);
            EXPECT_LE(std::abs(large.top() - 2 * small.top()), 2) << column << "," << row;
            EXPECT_LE(std::abs(large.left() - 2 * small.left()), 2) << column << "," << row;
            EXPECT_LE(std::abs(large.bottom() - 2 * small.bottom() - 1), 2) << column << "," << row;
            EXPECT_LE(std::abs(large.right() - 2 * small.right() - 1), 2) << column << "," << row;
            // A design pixel whose four fine pixels all disagree with it lies off the outline.
            int differing = 0;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    int covered = 0;
                    for (int k = 0; k < 4; ++k)
                        covered += two_.Opaque(column, row, 2 * x + k % 2, 2 * y + k / 2);
                    differing += one_.Opaque(column, row, x, y) ? covered == 0 : covered == 4;
                }
            EXPECT_EQ(differing, 0) << column << "," << row;
        }
    }
}

TEST_P(TwiceTheSize, IsDrawnAnewNotEnlarged) {
    for (int row : {0, 2}) {
        for (int column = 0; column < 6; ++column) {
            // The mask's edge steps between fine pixels and the picture shades within the
            // 2 x 2 blocks, which a pixel-doubled set can do neither of.
            int splitMask = 0;
            int splitPicture = 0;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    QSet<QRgb> colours;
                    int covered = 0;
                    for (int k = 0; k < 4; ++k) {
                        const int fx = 2 * x + k % 2;
                        const int fy = 2 * y + k / 2;
                        covered += two_.Opaque(column, row, fx, fy);
                        colours.insert(two_.Pixel(column, row, fx, fy));
                    }
                    splitMask += covered != 0 && covered != 4;
                    splitPicture += covered == 4 && colours.size() > 1;
                }
            EXPECT_GT(splitMask, 10) << column << "," << row;
            EXPECT_GT(splitPicture, 20) << column << "," << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothSets, TwiceTheSize,
                         testing::Values(std::pair{kDefaultSet, kDefaultSet2x},
                                         std::pair{kMainSet, kMainSet2x}),
                         [](const testing::TestParamInfo<std::pair<SetFile, SetFile>>& sets) {
                             return sets.param.first.bitsPerPixel == 8 ? "Default" : "Main";
                         });

} // namespace
