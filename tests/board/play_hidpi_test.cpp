// On a screen scaled by two the board's surface has two pixels per logical pixel, and its
// geometry in logical pixels stays as it is.

#include <gtest/gtest.h>

#include <memory>

#include "render_support.h"

TEST(HighDpi, SurfaceFollowsTheDevicePixelRatio) {
    qputenv("QT_SCALE_FACTOR", "2");
    TestApp();
    auto host = std::make_unique<QWidget>();
    auto* b = new TChessBrd(host.get());
    host->show();
    ASSERT_EQ(b->devicePixelRatioF(), 2.0);
    EXPECT_EQ(b->size(), QSize(368, 368));
    EXPECT_EQ(b->Surface().size(), QSize(736, 736));
    EXPECT_EQ(b->Surface().devicePixelRatio(), 2.0);
    EXPECT_EQ(b->SquareTopLeft(A8), QPoint(24, 24));

    // A marker drawn at the screen's resolution: the last move's tint covers the square's
    // physical pixels from its corner on.
    b->SetAnimateMoves(false);
    b->SetHighlightLastMove(true);
    ASSERT_TRUE(b->MakeMove(E2, E4));
    const QPoint corner = b->SquareTopLeft(E2) * 2;
    const QRgb tinted = b->Surface().pixel(corner);
    EXPECT_GT(qRed(tinted), qBlue(tinted) + 30);
    // The pixel just left of it belongs to d2, untinted.
    EXPECT_EQ(b->Surface().pixel(corner - QPoint(1, 0)) | 0xFF000000u, qRgb(0x80, 0x80, 0x80));
}
