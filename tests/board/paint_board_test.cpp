// Pixel tests of the board's drawing, read back from the control's surface.

#include <gtest/gtest.h>

#include <QPainter>

#include <array>
#include <string>
#include <utility>

#include "render_support.h"

namespace {

const QRgb kLight = qRgb(0xC0, 0xC0, 0xC0);
const QRgb kDark = qRgb(0x80, 0x80, 0x80);
const QRgb kBlack = qRgb(0, 0, 0);

// The flat colour of the picture cell of piece n (0..11 in the order "PNBRQKpnbrqk").
QRgb PieceColour(int n) {
    return qRgb(20 + 18 * n, 40, 220 - 15 * n);
}

// Every mask is an opaque block in the middle of its cell, except the white king's: opaque
// everywhere but for exact white at (0,0); (1,0) is grey and (2,0) near-white.
QImage TestPieceSet(int p) {
    QImage set(6 * p, 4 * p, QImage::Format_RGB32);
    set.fill(Qt::white);
    QPainter painter(&set);
    for (int n = 0; n < 12; ++n) {
        const int k = n % 6, c = n / 6;
        painter.fillRect(k * p, 2 * c * p, p, p, QColor::fromRgb(PieceColour(n)));
        const QRect mask(k * p, 2 * c * p + p, p, p);
        painter.fillRect(n == 5 ? mask : mask.adjusted(p / 4, p / 4, -p / 4, -p / 4), Qt::black);
    }
    painter.end();
    set.setPixel(5 * p, p, qRgb(255, 255, 255));
    set.setPixel(5 * p + 1, p, qRgb(128, 128, 128));
    set.setPixel(5 * p + 2, p, qRgb(254, 254, 254));
    return set;
}

// An otherwise empty position with the given pieces.
std::string Placed(std::initializer_list<std::pair<Square, char>> pieces) {
    std::array<char, 64> squares;
    squares.fill(' ');
    for (const auto& [q, piece] : pieces)
        squares[std::size_t(q - 1)] = piece;
    return std::string(squares.begin(), squares.end());
}
const std::string kEmpty(64, ' ');

QImage Pattern(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 4, 17));
    return img;
}

void ExpectSquareColours(const TChessBrd& b) {
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col)
            EXPECT_EQ(At(b, 44 + col * 40, 44 + row * 40), (col + row) % 2 ? kDark : kLight);
}

bool HasLitPixel(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0) return true;
    return false;
}

// Differing pixels outside the given squares.
int DiffOutside(const TChessBrd& b, const QImage& before, std::initializer_list<Square> squares) {
    int n = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            bool inside = false;
            for (Square q : squares)
                inside = inside || QRect(b.SquareTopLeft(q), QSize(40, 40)).contains(x, y);
            n += !inside && before.pixel(x, y) != b.Surface().pixel(x, y);
        }
    return n;
}

class PaintTest : public ::testing::Test {
  protected:
    void SetUp() override { TestApp(); }
};

} // namespace

TEST_F(PaintTest, NewBoardColoursFramesAndOrientation) {
    TChessBrd b;
    b.SetBorderColor(0x0000FF); // red, to tell the ring from the black frames
    b.SetPosition(kEmpty);
    ASSERT_EQ(b.Surface().size(), QSize(368, 368));
    ExpectSquareColours(b);
    for (int x : {0, 1, 22, 23, 344, 345, 366, 367}) { // frames, and the ring between them
        const bool frame = x == 0 || x == 23 || x == 344 || x == 367;
        EXPECT_EQ(At(b, x, 100), frame ? kBlack : qRgb(255, 0, 0)) << x;
        EXPECT_EQ(At(b, 100, x), frame ? kBlack : qRgb(255, 0, 0)) << x;
    }

    // Black rook (9) top left and white rook (3) bottom right, then the other way round.
    b.SetCustomPieceSet(TestPieceSet(40));
    b.SetPosition("init");
    EXPECT_EQ(At(b, 44, 44), PieceColour(9));
    EXPECT_EQ(At(b, 324, 324), PieceColour(3));
    b.SetWhiteOnTop(true);
    EXPECT_EQ(b.SquareAtPoint(30, 30), H1);
    EXPECT_EQ(At(b, 44, 44), PieceColour(3));
    EXPECT_EQ(At(b, 24 + 3 * 40 + 20, 44), PieceColour(5)); // the white king on E1
    EXPECT_EQ(At(b, 26, 26), kLight);
    b.SetPosition(kEmpty);
    ExpectSquareColours(b);
}

TEST_F(PaintTest, TexturesTileFromTheControlsOrigin) {
    TChessBrd b;
    const QImage light = Pattern(60, 60), border = Pattern(50, 30);
    b.SetSquareLight(light);
    b.SetBorderBitmap(border);
    b.SetPosition(kEmpty);
    // Continuous across the light squares, not one tile per square; dark ones stay flat.
    for (int y = 24; y < 344; y += 3)
        for (int x = 24; x < 344; x += 3) {
            const bool isLight = ((x - 24) / 40 + (y - 24) / 40) % 2 == 0;
            ASSERT_EQ(At(b, x, y), isLight ? light.pixel(x % 60, y % 60) : kDark) << x << "," << y;
        }
    for (const QPoint p : {QPoint(3, 3), QPoint(10, 200), QPoint(200, 355), QPoint(351, 31)})
        EXPECT_EQ(At(b, p.x(), p.y()), border.pixel(p.x() % 50, p.y() % 30));
}

TEST_F(PaintTest, GridLinesOnlyWhenAskedForAlsoAfterSingleSquareUpdates) {
    for (const bool lines : {false, true}) {
        TChessBrd b;
        b.SetAnimateMoves(false);
        b.SetCustomPieceSet(TestPieceSet(40));
        b.SetBoardLines(lines);
        b.SetPosition("init");
        ASSERT_TRUE(b.MakeMove(E2, E4));
        // Lines at the edges of the repainted E2 and E4, and elsewhere.
        for (const QPoint p :
             {QPoint(184, 284), QPoint(184, 204), QPoint(204, 184), QPoint(64, 150)})
            EXPECT_EQ(At(b, p.x(), p.y()) == kBlack, lines) << p.x() << "," << p.y();
    }
}

TEST_F(PaintTest, PiecesAreCentredOrOverlapNeverScaledAndMaskedByExactWhite) {
    struct Case {
        int square, offset;
    };
    for (const Case c : {Case{48, 4}, Case{25, -7}, Case{40, 0}}) {
        TChessBrd b;
        b.SetCustomPieceSet(TestPieceSet(40));
        b.resize(8 * c.square + 48, 8 * c.square + 48);
        b.SetPosition(Placed({{E4, 'K'}}));
        ASSERT_EQ(b.SizeOfSquare(), c.square);
        const QPoint tl = b.SquareTopLeft(E4) + QPoint(c.offset, c.offset);
        const QRgb king = PieceColour(5);
        EXPECT_EQ(At(b, tl.x(), tl.y() + 10), king);
        EXPECT_EQ(At(b, tl.x() + 39, tl.y() + 39), king);
        EXPECT_NE(At(b, tl.x() - 1, tl.y() + 10), king);
        EXPECT_NE(At(b, tl.x() + 40, tl.y() + 10), king);
        EXPECT_NE(At(b, tl.x() + 10, tl.y() + 40), king);
        // Exact white is transparent; grey and near-white are not.
        EXPECT_EQ(At(b, tl.x(), tl.y()), kLight);
        EXPECT_EQ(At(b, tl.x() + 1, tl.y()), king);
        EXPECT_EQ(At(b, tl.x() + 2, tl.y()), king);
    }
}

TEST_F(PaintTest, PieceSetsAreValidatedAndIndexed) {
    EXPECT_TRUE(TChessBrd::IsValidPieceSet(QImage(300, 200, QImage::Format_RGB32)));
    EXPECT_FALSE(TChessBrd::IsValidPieceSet(QImage(300, 201, QImage::Format_RGB32)));
    EXPECT_FALSE(TChessBrd::IsValidPieceSet(QImage()));
    TChessBrd b;
    b.SetCustomPieceSet(TestPieceSet(50));
    EXPECT_EQ(b.PieceSize(), 50);
    EXPECT_EQ(b.PieceImageIndex('k'), 11);
    EXPECT_EQ(b.PieceImageIndex('\0'), -1);
}

TEST_F(PaintTest, CoordinatesOnTheRequestedSidesFollowingTheOrientation) {
    TChessBrd b, flipped;
    for (TChessBrd* x : {&b, &flipped}) {
        x->SetDisplayCoords(CoordSet{(1 << West) | (1 << North)});
        x->SetPosition(kEmpty);
    }
    flipped.SetWhiteOnTop(true);
    const auto band = [](const TChessBrd& x, bool rank, int at, int i) {
        return rank ? x.Surface().copy(at, 24 + i * 40, 22, 40)
                    : x.Surface().copy(24 + i * 40, at, 40, 22);
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(HasLitPixel(band(b, true, 1, i)) && HasLitPixel(band(b, false, 1, i))) << i;
        EXPECT_FALSE(HasLitPixel(band(b, true, 345, i)) || HasLitPixel(band(b, false, 345, i)));
        // "8" moves from the top to the bottom, "A" from the left to the right.
        EXPECT_EQ(band(flipped, true, 1, 7 - i), band(b, true, 1, i));
        EXPECT_EQ(band(flipped, false, 1, 7 - i), band(b, false, 1, i));
    }
    EXPECT_NE(band(b, true, 1, 0), band(b, true, 1, 1));
    // Rank labels start at x = (24 - 7) div 2 + 1 = 9, give or take the glyph's bearing.
    int left = 22;
    for (int y = 24; y < 344; ++y)
        for (int x = 1; x < left; ++x)
            if ((b.Surface().pixel(x, y) & 0xFFFFFF) != 0) left = x;
    EXPECT_GE(left, 9);
    EXPECT_LE(left, 11);
}

TEST_F(PaintTest, MovesAndStepsRepaintOnlyTheirSquares) {
    TChessBrd b;
    b.SetAnimateMoves(false);
    b.SetBoardLines(true);
    b.SetPosition("r   k  r" + std::string(48, ' ') + "R   K  R");
    const QImage start = b.Surface().copy();
    int paints = 0;
    b.OnPaint = [&](TChessGame*) { ++paints; };
    ASSERT_TRUE(b.MakeMove(E1, G1));
    EXPECT_EQ(DiffOutside(b, start, {E1, F1, G1, H1}), 0);
    EXPECT_NE(b.Surface(), start);
    EXPECT_EQ(paints, 1); // the move's own OnPaint, no full repaint
    ASSERT_TRUE(b.StepBack());
    EXPECT_EQ(b.Surface(), start);
    ASSERT_TRUE(b.StepForward());
    EXPECT_EQ(DiffOutside(b, start, {E1, F1, G1, H1}), 0);
}
