// Pixel tests of the board's drawing, read back from the control's surface.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

#include <string>

#include "ChessBrd.h"

namespace {

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "paint_board_test";
    static char* argv[] = {arg0, nullptr};
    static QApplication app(argc, argv);
    return app;
}

const QRgb kLight = qRgb(0xC0, 0xC0, 0xC0);
const QRgb kDark = qRgb(0x80, 0x80, 0x80);
const QRgb kBlack = qRgb(0, 0, 0);

QRgb At(const TChessBrd& b, int x, int y) {
    return b.Surface().pixel(x, y) | 0xFF000000u;
}

// The colour of the picture cell of piece n (0..11 in the order "PNBRQKpnbrqk").
QRgb PieceColour(int n) {
    return qRgb(20 + 18 * n, 40, 220 - 15 * n);
}

// A piece set whose pictures are flat colours. Every mask is an opaque block in the middle
// of its cell, except the white king's: opaque everywhere but three probe pixels in its top
// row: exact white (0,0), grey (1,0) and near-white (2,0).
QImage TestPieceSet(int p) {
    QImage set(6 * p, 4 * p, QImage::Format_RGB32);
    set.fill(Qt::white);
    QPainter painter(&set);
    for (int c = 0; c < 2; ++c) {
        for (int k = 0; k < 6; ++k) {
            painter.fillRect(k * p, 2 * c * p, p, p, QColor::fromRgb(PieceColour(6 * c + k)));
            const QRect mask(k * p, 2 * c * p + p, p, p);
            if (c == 0 && k == 5)
                painter.fillRect(mask, Qt::black);
            else
                painter.fillRect(mask.adjusted(p / 4, p / 4, -p / 4, -p / 4), Qt::black);
        }
    }
    painter.end();
    set.setPixel(5 * p, p, qRgb(255, 255, 255));
    set.setPixel(5 * p + 1, p, qRgb(128, 128, 128));
    set.setPixel(5 * p + 2, p, qRgb(254, 254, 254));
    return set;
}

std::string EmptyBoard() {
    return std::string(64, ' ');
}

std::string WithPiece(std::string position, Square q, char piece) {
    position[std::size_t(q - 1)] = piece;
    return position;
}

// A 60 x 60 pattern that differs at every pixel of a tile.
QImage Pattern(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 4, 17));
    return img;
}

class PaintTest : public ::testing::Test {
  protected:
    void SetUp() override { App(); }
    // A board painted with an empty position.
    void PaintEmpty(TChessBrd& b) {
        b.SetPosition(EmptyBoard());
        b.PaintBoard();
    }
};

// Rects of the squares (with x, y their on-screen column and row) that must all look like
// `colour` away from their edges.
void ExpectSquareColours(const TChessBrd& b) {
    const int s = b.SizeOfSquare();
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            const int x = b.BoardLeft() + col * s + s / 2;
            const int y = b.BoardTop() + row * s + s / 2;
            EXPECT_EQ(At(b, x, y), (col + row) % 2 == 0 ? kLight : kDark) << col << "," << row;
        }
    }
}

} // namespace

TEST_F(PaintTest, NewBoardHasDefaultColoursAndGeometry) {
    TChessBrd b;
    b.SetBorderColor(0x0000FF); // red, to tell the ring from the black frames
    PaintEmpty(b);
    ASSERT_EQ(b.Surface().size(), QSize(368, 368));
    EXPECT_EQ(b.SizeOfSquare(), 40);
    ExpectSquareColours(b);
    const QRgb red = qRgb(255, 0, 0);
    // Outer frame on the edge, inner frame just around the square area, ring between.
    EXPECT_EQ(At(b, 0, 100), kBlack);
    EXPECT_EQ(At(b, 367, 100), kBlack);
    EXPECT_EQ(At(b, 100, 367), kBlack);
    EXPECT_EQ(At(b, 1, 100), red);
    EXPECT_EQ(At(b, 22, 100), red);
    EXPECT_EQ(At(b, 23, 100), kBlack);
    EXPECT_EQ(At(b, 344, 100), kBlack);
    EXPECT_EQ(At(b, 345, 100), red);
    EXPECT_EQ(At(b, 100, 23), kBlack);
    EXPECT_EQ(At(b, 100, 344), kBlack);
    // The square area starts right inside the inner frame.
    EXPECT_EQ(At(b, 24, 24), kLight);
    EXPECT_EQ(At(b, 343, 343), kLight);
    EXPECT_EQ(At(b, 64, 24), kDark);
}

TEST_F(PaintTest, OrientationPutsA8OrH1TopLeft) {
    TChessBrd b;
    b.SetCustomPieceSet(TestPieceSet(40));
    b.SetPosition("init");
    b.PaintBoard();
    // Black rook (index 9) on A8 at the top left, white rook (3) on H1 at the bottom right.
    EXPECT_EQ(b.SquareAtPoint(30, 30), A8);
    EXPECT_EQ(b.SquareTopLeft(H1), QPoint(304, 304));
    EXPECT_EQ(At(b, 44, 44), PieceColour(9));
    EXPECT_EQ(At(b, 324, 324), PieceColour(3));
    EXPECT_EQ(At(b, 26, 26), kLight);

    b.SetWhiteOnTop(true);
    EXPECT_EQ(b.SquareAtPoint(30, 30), H1);
    EXPECT_EQ(b.SquareTopLeft(A8), QPoint(304, 304));
    EXPECT_EQ(b.SquareTopLeft(E1), QPoint(24 + 3 * 40, 24));
    EXPECT_EQ(At(b, 44, 44), PieceColour(3));
    EXPECT_EQ(At(b, 324, 324), PieceColour(9));
    // The white king stands on E1, fourth from the left in the top row.
    EXPECT_EQ(At(b, 24 + 3 * 40 + 20, 44), PieceColour(5));
    EXPECT_EQ(At(b, 26, 26), kLight);

    b.SetPosition(EmptyBoard());
    ExpectSquareColours(b);
}

TEST_F(PaintTest, TexturesRunOnAcrossSquares) {
    TChessBrd b;
    const QImage light = Pattern(60, 60);
    b.SetSquareLight(light);
    PaintEmpty(b);
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            const int x0 = 24 + col * 40, y0 = 24 + row * 40;
            for (int y = y0; y < y0 + 40; y += 7) {
                for (int x = x0; x < x0 + 40; x += 7) {
                    const QRgb want = (col + row) % 2 == 0 ? light.pixel(x % 60, y % 60) : kDark;
                    ASSERT_EQ(At(b, x, y), want) << x << "," << y;
                }
            }
        }
    }
    // A single-square update tiles from the control's origin as well.
    b.SetAnimateMoves(false);
    b.SetCustomPieceSet(TestPieceSet(40));
    b.SetPosition(WithPiece(WithPiece(WithPiece(EmptyBoard(), A1, 'K'), H8, 'k'), E2, 'P'));
    ASSERT_TRUE(b.MakeMove(E2, E4));
    const QPoint e4 = b.SquareTopLeft(E4);
    ASSERT_TRUE(IsLightSquare(E4));
    for (const QPoint d : {QPoint(1, 1), QPoint(38, 2), QPoint(3, 37)}) {
        const QPoint p = e4 + d;
        EXPECT_EQ(At(b, p.x(), p.y()), light.pixel(p.x() % 60, p.y() % 60));
    }
}

TEST_F(PaintTest, BorderTextureTilesFromTheOrigin) {
    TChessBrd b;
    const QImage border = Pattern(50, 30);
    b.SetBorderBitmap(border);
    PaintEmpty(b);
    for (const QPoint p : {QPoint(3, 3), QPoint(10, 200), QPoint(180, 5), QPoint(360, 350),
                           QPoint(200, 355), QPoint(351, 31)})
        EXPECT_EQ(At(b, p.x(), p.y()), border.pixel(p.x() % 50, p.y() % 30))
            << p.x() << "," << p.y();
    // The frames are drawn over it.
    EXPECT_EQ(At(b, 0, 5), kBlack);
    EXPECT_EQ(At(b, 23, 100), kBlack);
}

TEST_F(PaintTest, GridLinesOnlyWhenAskedForAlsoAfterSingleSquareUpdates) {
    for (const bool lines : {false, true}) {
        TChessBrd b;
        b.SetAnimateMoves(false);
        b.SetCustomPieceSet(TestPieceSet(40));
        b.SetBoardLines(lines);
        b.SetPosition("init");
        b.PaintBoard();
        ASSERT_TRUE(b.MakeMove(E2, E4));
        // The line between the D and E files beside E2 and E4, and the one between ranks 4
        // and 5 above E4: the squares were repainted by the move.
        const QRgb vertical2 = At(b, 184, 24 + 6 * 40 + 20);
        const QRgb vertical4 = At(b, 184, 24 + 4 * 40 + 20);
        const QRgb horizontal = At(b, 184 + 20, 24 + 4 * 40);
        if (lines) {
            EXPECT_EQ(vertical2, kBlack);
            EXPECT_EQ(vertical4, kBlack);
            EXPECT_EQ(horizontal, kBlack);
        } else {
            EXPECT_NE(vertical2, kBlack);
            EXPECT_NE(vertical4, kBlack);
            EXPECT_NE(horizontal, kBlack);
        }
        // Across the board, not only at the move.
        EXPECT_EQ(At(b, 24 + 40, 24 + 3 * 40 + 5) == kBlack, lines);
    }
}

TEST_F(PaintTest, PiecesAreCentredOrOverlapButNeverScaled) {
    struct Case {
        int square, expectedOffset;
    };
    for (const Case c : {Case{48, 4}, Case{25, -7}, Case{40, 0}}) {
        TChessBrd b;
        b.SetCustomPieceSet(TestPieceSet(40));
        b.resize(8 * c.square + 48, 8 * c.square + 48);
        b.SetPosition(WithPiece(EmptyBoard(), E4, 'K'));
        b.PaintBoard();
        ASSERT_EQ(b.SizeOfSquare(), c.square);
        ASSERT_EQ(b.PieceSize(), 40);
        const QPoint tl = b.SquareTopLeft(E4) + QPoint(c.expectedOffset, c.expectedOffset);
        const QRgb king = PieceColour(5);
        // The image is 40 x 40 wherever it starts.
        EXPECT_EQ(At(b, tl.x(), tl.y() + 10), king);
        EXPECT_EQ(At(b, tl.x() + 39, tl.y() + 10), king);
        EXPECT_EQ(At(b, tl.x() + 10, tl.y() + 39), king);
        EXPECT_NE(At(b, tl.x() - 1, tl.y() + 10), king);
        EXPECT_NE(At(b, tl.x() + 40, tl.y() + 10), king);
        EXPECT_NE(At(b, tl.x() + 10, tl.y() + 40), king);
    }
}

TEST_F(PaintTest, MaskTransparencyIsExactWhiteOnly) {
    TChessBrd b;
    b.SetCustomPieceSet(TestPieceSet(40));
    b.SetPosition(WithPiece(EmptyBoard(), E4, 'K'));
    b.PaintBoard();
    const QPoint tl = b.SquareTopLeft(E4);
    const QRgb square = IsLightSquare(E4) ? kLight : kDark;
    EXPECT_EQ(At(b, tl.x(), tl.y()), square);             // exact white: transparent
    EXPECT_EQ(At(b, tl.x() + 1, tl.y()), PieceColour(5)); // grey: opaque
    EXPECT_EQ(At(b, tl.x() + 2, tl.y()), PieceColour(5)); // near-white: opaque
    EXPECT_EQ(At(b, tl.x() + 3, tl.y()), PieceColour(5)); // black: opaque
}

TEST_F(PaintTest, PieceSetsAreValidatedAndIndexed) {
    EXPECT_TRUE(TChessBrd::IsValidPieceSet(QImage(300, 200, QImage::Format_RGB32)));
    EXPECT_FALSE(TChessBrd::IsValidPieceSet(QImage(300, 201, QImage::Format_RGB32)));
    EXPECT_FALSE(TChessBrd::IsValidPieceSet(QImage()));
    EXPECT_FALSE(TChessBrd::HasPicture(QImage()));
    EXPECT_TRUE(TChessBrd::HasPicture(QImage(1, 1, QImage::Format_RGB32)));

    TChessBrd b;
    EXPECT_EQ(b.PieceSize(), 40); // the default set
    b.SetCustomPieceSet(TestPieceSet(50));
    EXPECT_EQ(b.PieceSize(), 50);
    std::string letters = "PNBRQKpnbrqk";
    for (std::size_t i = 0; i < letters.size(); ++i)
        EXPECT_EQ(b.PieceImageIndex(letters[i]), int(i));
    EXPECT_EQ(b.PieceImageIndex(' '), -1);
    EXPECT_EQ(b.PieceImageIndex('\0'), -1);
    EXPECT_EQ(b.PieceImageIndex('x'), -1);
    // A letter without a picture draws nothing.
    b.SetPosition(WithPiece(EmptyBoard(), E4, 'x'));
    b.PaintBoard();
    ExpectSquareColours(b);
}

TEST_F(PaintTest, DefaultPieceSetIsCutIntoMaskedPieces) {
    TChessBrd b;
    b.SetPosition("init");
    b.PaintBoard();
    // Some pixels of a square holding a piece differ from the bare square, some do not.
    const QPoint tl = b.SquareTopLeft(E1);
    int covered = 0, bare = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            (At(b, tl.x() + x, tl.y() + y) == kDark ? bare : covered)++;
    EXPECT_GT(covered, 200);
    EXPECT_GT(bare, 200);
}

namespace {

// The lit pixels of the coordinate ring's band (x0, y0, w, h), as an image.
QImage Band(const TChessBrd& b, int x0, int y0, int w, int h) {
    return b.Surface().copy(x0, y0, w, h);
}

bool HasLitPixel(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0) return true;
    return false;
}

int LeftmostLit(const QImage& img) {
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0) return x;
    return -1;
}

} // namespace

TEST_F(PaintTest, CoordinatesAppearOnTheRequestedSides) {
    TChessBrd b;
    CoordSet sides;
    sides.Include(West);
    sides.Include(North);
    b.SetDisplayCoords(sides);
    PaintEmpty(b);
    for (int i = 0; i < 8; ++i) {
        const int along = 24 + i * 40;
        // The ring's inside only: the frames are at 0, 23, 344 and 367.
        EXPECT_TRUE(HasLitPixel(Band(b, 1, along, 22, 40))) << "west " << i;
        EXPECT_TRUE(HasLitPixel(Band(b, along, 1, 40, 22))) << "north " << i;
        EXPECT_FALSE(HasLitPixel(Band(b, 345, along, 22, 40))) << "east " << i;
        EXPECT_FALSE(HasLitPixel(Band(b, along, 345, 40, 22))) << "south " << i;
    }
    // Rank labels start at x = (24 - 7) div 2 + 1 = 9 (give or take the glyph's bearing).
    const int left = LeftmostLit(Band(b, 1, 24, 22, 320)) + 1;
    EXPECT_GE(left, 9);
    EXPECT_LE(left, 11);

    // East and South mirror the labels into the other half of the ring.
    TChessBrd both;
    CoordSet other;
    other.Include(East);
    other.Include(South);
    both.SetDisplayCoords(other);
    PaintEmpty(both);
    EXPECT_EQ(Band(both, 345, 24, 22, 320), Band(b, 1, 24, 22, 320));
    EXPECT_EQ(Band(both, 24, 345, 320, 22), Band(b, 24, 1, 320, 22));
    EXPECT_FALSE(HasLitPixel(Band(both, 1, 24, 22, 320)));
}

TEST_F(PaintTest, CoordinatesFollowTheOrientation) {
    CoordSet sides;
    sides.Include(West);
    sides.Include(North);
    TChessBrd normal, flipped;
    normal.SetDisplayCoords(sides);
    flipped.SetDisplayCoords(sides);
    flipped.SetWhiteOnTop(true);
    PaintEmpty(normal);
    PaintEmpty(flipped);
    for (int i = 0; i < 8; ++i) {
        const int j = 7 - i;
        // "8" at the top normally is at the bottom when flipped; "A" moves to the right.
        EXPECT_EQ(Band(normal, 1, 24 + i * 40, 22, 40), Band(flipped, 1, 24 + j * 40, 22, 40));
        EXPECT_EQ(Band(normal, 24 + i * 40, 1, 40, 22), Band(flipped, 24 + j * 40, 1, 40, 22));
    }
    EXPECT_NE(Band(normal, 1, 24, 22, 40), Band(normal, 1, 64, 22, 40));
}

namespace {

// Pixels that differ between two surfaces of the same size, outside the given squares.
int DiffOutside(const TChessBrd& b, const QImage& before, std::initializer_list<Square> squares) {
    int n = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            bool inside = false;
            for (Square q : squares)
                inside = inside || QRect(b.SquareTopLeft(q), QSize(40, 40)).contains(x, y);
            if (!inside && before.pixel(x, y) != b.Surface().pixel(x, y)) ++n;
        }
    }
    return n;
}

} // namespace

TEST_F(PaintTest, MovesAndStepsRepaintOnlyTheirSquares) {
    TChessBrd b;
    b.SetAnimateMoves(false);
    b.SetBoardLines(true);
    b.SetPosition("init");
    b.PaintBoard();
    const QImage start = b.Surface().copy();
    int paints = 0;
    b.OnPaint = [&](TChessGame*) { ++paints; };

    ASSERT_TRUE(b.MakeMove(E2, E4));
    EXPECT_EQ(DiffOutside(b, start, {E2, E4}), 0);
    EXPECT_NE(b.Surface(), start);
    EXPECT_EQ(paints, 1); // the move's OnPaint only, no full repaint

    // Castling touches the four squares of king and rook.
    b.SetPosition("r   k  r" + std::string(48, ' ') + "R   K  R");
    b.SetWhiteToMove(true);
    b.PaintBoard();
    const QImage before = b.Surface().copy();
    ASSERT_TRUE(b.MakeMove(E1, G1));
    EXPECT_EQ(DiffOutside(b, before, {E1, F1, G1, H1}), 0);

    // Stepping back redraws the changed squares and gives the earlier picture exactly.
    TChessBrd s;
    s.SetAnimateMoves(false);
    s.SetBoardLines(true);
    s.SetPosition("init");
    s.PaintBoard();
    const QImage initial = s.Surface().copy();
    ASSERT_TRUE(s.MakeMove(G1, F3));
    ASSERT_TRUE(s.StepBack());
    EXPECT_EQ(s.Surface(), initial);
    ASSERT_TRUE(s.StepForward());
    EXPECT_EQ(DiffOutside(s, initial, {G1, F3}), 0);
}
