// The drag areas of the borderless windows: the hit test's inclusive bounds.

#include <gtest/gtest.h>

#include "DragArea.h"

namespace {

TEST(DragArea, BoundsAreInclusiveOnEverySide) {
    const QPoint window(100, 50);
    const QRect title(16, 0, 505, 25); // the main window's title strip
    EXPECT_TRUE(DragAreaHitTest(window, title, 116, 50));
    EXPECT_TRUE(DragAreaHitTest(window, title, 116 + 505, 50 + 25)); // right end still drags
    EXPECT_FALSE(DragAreaHitTest(window, title, 115, 60));
    EXPECT_FALSE(DragAreaHitTest(window, title, 116 + 506, 60));
    EXPECT_FALSE(DragAreaHitTest(window, title, 200, 49));
    EXPECT_FALSE(DragAreaHitTest(window, title, 200, 50 + 26));
}

TEST(DragArea, AreasMayStartLeftOfTheWindowAndScreensMayBeNegative) {
    const QRect open(-8, 8, 441, 265); // the open window's area
    EXPECT_TRUE(DragAreaHitTest({-300, -200}, open, -308, -192));
    EXPECT_FALSE(DragAreaHitTest({-300, -200}, open, -309, -192));
    EXPECT_TRUE(DragAreaHitTest({-300, -200}, open, -308 + 441, -192 + 265));
}

} // namespace
