// A board built from a window description compiled with uic: its stored properties are
// applied without painting, and the first paint afterwards uses them.

#include <gtest/gtest.h>

#include <QApplication>

#include "BoardTestSupport.h"
#include "ChessBrd.h"
#include "DescriptionLoading.h"
#include "ui_BoardDescription.h"

namespace {

TEST(Description, StoredPropertiesApplyWithoutPaintingThenTheFirstPaintUsesThem) {
    EnsureApplication();
    QWidget window;
    Ui::BoardDescription ui;
    {
        TDescriptionLoading loading;
        ui.setupUi(&window);
        TChessBrd* board = ui.ChessBrd1;
        ASSERT_TRUE(board->Loading());
        // The values are stored...
        EXPECT_TRUE(board->BoardLines());
        EXPECT_TRUE(board->WhiteOnTop());
        EXPECT_EQ(board->SearchDepth(), 4);
        EXPECT_EQ(board->SquareColorDark(), 0x404040u);
        EXPECT_EQ(board->DisplayCoordsBits(), 3);
        EXPECT_EQ(board->PieceAt(H1), ' ');
        EXPECT_EQ(board->CustomPieceSet().size(), QSize(240, 160));
        EXPECT_EQ(board->CustomPieceSet2x().size(), QSize(480, 320));
        // ...but nothing was painted.
        EXPECT_FALSE(board->FirstPaintDone());
    }
    TChessBrd* board = ui.ChessBrd1;
    EXPECT_FALSE(board->Loading());
    int paints = 0;
    board->OnPaint = [&](TChessGame*) { ++paints; };
    board->PaintBoard();
    EXPECT_EQ(paints, 1);
    // Width and Height are stored before the border and square sizes: values that agree
    // come out unchanged.
    EXPECT_EQ(board->Width(), 432);
    EXPECT_EQ(board->Height(), 432);
    EXPECT_EQ(board->SizeOfSquare(), 48);
    // H1 (empty in the stored position) is the top-left square with White on top.
    const QColor topLeft = board->Surface().pixelColor(24 + 24, 24 + 24);
    EXPECT_EQ(topLeft, QColor(0xC0, 0xC0, 0xC0));
}

TEST(Description, BoardsMadeOutsideAScopeDoNotLoad) {
    EnsureApplication();
    { TDescriptionLoading loading; }
    TChessBrd board;
    EXPECT_FALSE(board.Loading());
}

} // namespace
