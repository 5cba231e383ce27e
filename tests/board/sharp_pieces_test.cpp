// On a screen scaled by two the board cuts its pieces from the set drawn at twice the size:
// the surface, the drag overlay and the move animation show that set's own pixels, while
// every position stays in logical pixels. A custom set without a 2x set of exactly twice
// its size is enlarged as before.

#include <gtest/gtest.h>

#include <QPainter>

#include <tuple>

#include "render_support.h"

namespace {

// Cells of a piece-set sheet: column = kind (pawn .. king), row 0 white pictures, 1 white
// masks, 2 black pictures, 3 black masks.
QImage Cell(const QImage& sheet, int column, int row) {
    const int p = sheet.height() / 4;
    QImage cell = sheet.copy(column * p, row * p, p, p).convertToFormat(QImage::Format_RGB32);
    cell.setDevicePixelRatio(1);
    return cell;
}

bool Opaque(const QImage& mask, int x, int y) {
    return (mask.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu;
}

// The pixels of `shown` that differ from the picture where the mask is opaque.
int Mismatches(const QImage& shown, const QImage& picture, const QImage& mask) {
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            differing += Opaque(mask, x, y) &&
                         (shown.pixel(x, y) | 0xFF000000u) != (picture.pixel(x, y) | 0xFF000000u);
    return differing;
}

int OpaqueCount(const QImage& mask) {
    int count = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            count += Opaque(mask, x, y);
    return count;
}

// A set whose pictures are flat `colour` and whose masks are opaque in the middle half.
QImage FlatSet(int p, QRgb colour) {
    QImage set(6 * p, 4 * p, QImage::Format_RGB32);
    set.fill(Qt::white);
    QPainter painter(&set);
    for (int row : {0, 2}) {
        painter.fillRect(0, row * p, 6 * p, p, QColor::fromRgb(colour));
        for (int k = 0; k < 6; ++k)
            painter.fillRect(k * p + p / 4, (row + 1) * p + p / 4, p / 2, p / 2, Qt::black);
    }
    return set;
}

const QRgb kTeal = qRgb(0, 128, 128);
const QRgb kOrange = qRgb(255, 140, 0);

class SharpPieces : public BoardInWindowTest {
  protected:
    static void SetUpTestSuite() {
        qputenv("QT_SCALE_FACTOR", "2");
        TestApp();
    }
    void SetUp() override {
        sheet2x = QImage(":/SETKOVIRA40@2x.bmp");
        sheet1x = QImage(":/SETKOVIRA40.bmp");
        MakeBoard();
        b->move(10, 20);
        b->SetAnimateMoves(false);
        host->show();
        ASSERT_EQ(b->devicePixelRatioF(), 2.0);
    }
    // The surface's device pixels under the piece image of square q.
    QImage UnderPiece(Square q) const {
        const int d = (b->SizeOfSquare() - b->PieceSize()) / 2;
        const QPoint at = (b->SquareTopLeft(q) + QPoint(d, d)) * 2;
        return b->Surface().copy(QRect(at, QSize(2 * b->PieceSize(), 2 * b->PieceSize())));
    }
    QWidget* VisibleOverlay() const {
        for (QWidget* w : host->findChildren<QWidget*>())
            if (w != b && w->isVisible()) return w;
        return nullptr;
    }

    QImage sheet2x;
    QImage sheet1x;
};

} // namespace

TEST_F(SharpPieces, BoardDrawsTheTwiceAsLargeDefaultSetInLogicalPixels) {
    ASSERT_EQ(sheet2x.size(), QSize(480, 320));
    EXPECT_EQ(b->PieceSize(), 40);
    EXPECT_EQ(b->SquareTopLeft(E1), QPoint(24 + 4 * 40, 24 + 7 * 40));
    const QImage king = b->PieceImage('K');
    EXPECT_EQ(king.size(), QSize(80, 80));
    EXPECT_EQ(king.devicePixelRatio(), 2.0);
    EXPECT_EQ(king.deviceIndependentSize(), QSizeF(40, 40));

    // Each pixel the 2x mask leaves opaque shows the 2x picture, for both colours.
    for (const auto& [q, column, row] : {std::tuple{E1, 5, 0}, std::tuple{G8, 1, 2}}) {
        const QImage picture = Cell(sheet2x, column, row);
        const QImage mask = Cell(sheet2x, column, row + 1);
        ASSERT_GT(OpaqueCount(mask), 600);
        EXPECT_EQ(Mismatches(UnderPiece(q), picture, mask), 0) << SquareName(q);
    }

    // The 1x king enlarged, with or without smoothing, is a different picture.
    const QImage under = UnderPiece(E1);
    const QImage mask = Cell(sheet2x, 5, 1);
    for (const auto mode : {Qt::FastTransformation, Qt::SmoothTransformation}) {
        const QImage enlarged = Cell(sheet1x, 5, 0).scaled(80, 80, Qt::IgnoreAspectRatio, mode);
        EXPECT_GT(Mismatches(under, enlarged, mask), 300) << mode;
    }
}

TEST_F(SharpPieces, DragOverlayShowsTheSharpPicture) {
    const QPoint from = Centre(*b, E2);
    SendMouse(b, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseMove, from + QPoint(0, -8), Qt::NoButton, Qt::LeftButton);
    QWidget* overlay = VisibleOverlay();
    ASSERT_NE(overlay, nullptr);
    // Logical pixels: the 40-pixel piece centred on the pointer, as at one pixel per pixel.
    EXPECT_EQ(overlay->size(), QSize(40, 40));
    EXPECT_EQ(overlay->pos(), from + QPoint(-20, -28) + b->pos());
    const QImage shown = overlay->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(80, 80));
    EXPECT_EQ(Mismatches(shown, Cell(sheet2x, 0, 0), Cell(sheet2x, 0, 1)), 0);
    SendMouse(b, QEvent::MouseButtonRelease, from + QPoint(0, -8), Qt::LeftButton, {});
    EXPECT_EQ(VisibleOverlay(), nullptr);
}

TEST_F(SharpPieces, MoveAnimationShowsTheSharpPicture) {
    b->SetAnimateMoves(true);
    QImage shown;
    b->AnimationStepHook = [&](int, int) {
        if (shown.isNull() && VisibleOverlay() != nullptr)
            shown = VisibleOverlay()->grab().toImage();
    };
    ASSERT_TRUE(b->MakeMove(G1, F3));
    ASSERT_EQ(shown.size(), QSize(80, 80));
    EXPECT_EQ(Mismatches(shown, Cell(sheet2x, 1, 0), Cell(sheet2x, 1, 1)), 0);
    // Landed on its square at full resolution too.
    EXPECT_EQ(Mismatches(UnderPiece(F3), Cell(sheet2x, 1, 0), Cell(sheet2x, 1, 1)), 0);
}

// The colour at the centre of the piece on e1, and the king's image.
struct Drawn {
    QRgb centre;
    QSize pixels;
    qreal ratio;
};

TEST_F(SharpPieces, CustomSetUsesOnlyASecondSetOfExactlyTwiceItsSize) {
    const auto drawn = [this] {
        const QImage king = b->PieceImage('K');
        const QImage under = UnderPiece(E1);
        return Drawn{under.pixel(under.width() / 2, under.height() / 2) | 0xFF000000u, king.size(),
                     king.devicePixelRatio()};
    };
    // No 2x set: the custom set enlarged, as before.
    b->SetCustomPieceSet(FlatSet(40, kTeal));
    EXPECT_TRUE(b->CustomPieceSet2x().isNull());
    Drawn now = drawn();
    EXPECT_EQ(now.centre, kTeal);
    EXPECT_EQ(now.pixels, QSize(40, 40));
    EXPECT_EQ(now.ratio, 1.0);

    // Not exactly twice the size: kept, not used.
    b->SetCustomPieceSet2x(FlatSet(60, kOrange));
    EXPECT_EQ(b->CustomPieceSet2x().size(), QSize(360, 240));
    now = drawn();
    EXPECT_EQ(now.centre, kTeal);
    EXPECT_EQ(now.ratio, 1.0);

    // Twice the size: its pixels, in the same logical place.
    b->setProperty("CustomPieceSet2x", FlatSet(80, kOrange));
    now = drawn();
    EXPECT_EQ(now.centre, kOrange);
    EXPECT_EQ(now.pixels, QSize(80, 80));
    EXPECT_EQ(now.ratio, 2.0);
    EXPECT_EQ(b->PieceSize(), 40);

    // A larger custom set no longer matches that 2x set.
    b->SetCustomPieceSet(FlatSet(60, kTeal));
    EXPECT_EQ(b->PieceSize(), 60);
    now = drawn();
    EXPECT_EQ(now.pixels, QSize(60, 60));
    EXPECT_EQ(now.ratio, 1.0);

    // Without a custom set the board's own 2x set returns; the custom 2x set is ignored.
    b->SetCustomPieceSet(QImage());
    EXPECT_EQ(b->PieceSize(), 40);
    EXPECT_EQ(b->PieceImage('K').devicePixelRatio(), 2.0);
    EXPECT_EQ(Mismatches(UnderPiece(E1), Cell(sheet2x, 5, 0), Cell(sheet2x, 5, 1)), 0);
}

TEST_F(SharpPieces, ADescriptionLoadsBothSetsBeforeEitherIsUsed) {
    auto* loaded = new TChessBrd(host.get());
    loaded->BeginLoading();
    loaded->setProperty("CustomPieceSet2x", FlatSet(80, kOrange));
    loaded->setProperty("CustomPieceSet", FlatSet(40, kTeal));
    EXPECT_EQ(loaded->PieceImage('K').devicePixelRatio(), 2.0); // still the board's own set
    loaded->EndLoading();
    const QImage king = loaded->PieceImage('K');
    EXPECT_EQ(king.size(), QSize(80, 80));
    EXPECT_EQ(king.pixel(40, 40) | 0xFF000000u, kOrange);
}
