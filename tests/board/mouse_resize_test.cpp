// Resizing the board by its bottom-right corner.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "ChessBrd.h"

namespace {

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "mouse_resize_test";
    static char* argv[] = {arg0, nullptr};
    static QApplication app(argc, argv);
    return app;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void Hover(QWidget* w, QPoint at) {
    SendMouse(w, QEvent::MouseMove, at, Qt::NoButton, {});
}
void Press(QWidget* w, QPoint at) {
    SendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}
void DragTo(QWidget* w, QPoint at) {
    SendMouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}
void Release(QWidget* w, QPoint at) {
    SendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, {});
}

class ResizeTest : public ::testing::Test {
  protected:
    void SetUp() override { App(); }
};

} // namespace

TEST_F(ResizeTest, CornerZoneShowsTheSizingCursorOnlyWhenResizable) {
    TChessBrd b;
    b.setCursor(Qt::PointingHandCursor);
    b.show(); // a shown board follows the pointer without a button held
    Hover(&b, QPoint(362, 362));
    EXPECT_EQ(b.cursor().shape(), Qt::PointingHandCursor);
    Press(&b, QPoint(362, 362));
    DragTo(&b, QPoint(500, 500));
    Release(&b, QPoint(500, 500));
    EXPECT_EQ(b.Width(), 368);
    EXPECT_FALSE(b.Resizing());

    b.SetResizable(true);
    // The zone reaches 10 pixels in from the right and bottom edges, both inclusive.
    for (const QPoint at : {QPoint(358, 358), QPoint(368, 368), QPoint(363, 360)}) {
        Hover(&b, at);
        EXPECT_EQ(b.cursor().shape(), Qt::SizeFDiagCursor) << at.x() << "," << at.y();
    }
    Hover(&b, QPoint(357, 365));
    EXPECT_EQ(b.cursor().shape(), Qt::PointingHandCursor); // the own cursor again
    Hover(&b, QPoint(365, 357));
    EXPECT_EQ(b.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(b.Resizing()); // hovering alone does not resize
}

TEST_F(ResizeTest, DraggingTheCornerSetsTheWidthWithinTheClamps) {
    // Hidden, the board does not repaint on a resize: every width the drag sets stays
    // readable as it was set.
    TChessBrd b;
    b.SetResizable(true);
    b.SetResizeMinSize(150);
    b.SetResizeMaxSize(600);
    Press(&b, QPoint(364, 364));
    DragTo(&b, QPoint(366, 366));
    ASSERT_TRUE(b.Resizing());
    EXPECT_EQ(b.Width(), 366);
    EXPECT_EQ(b.Height(), 368);   // only the width; the size rule squares it later
    DragTo(&b, QPoint(420, 380)); // the larger coordinate wins
    EXPECT_EQ(b.Width(), 420);
    DragTo(&b, QPoint(2000, 10));
    EXPECT_EQ(b.Width(), 600);
    DragTo(&b, QPoint(-40, 20)); // far outside the zone, still resizing
    EXPECT_EQ(b.Width(), 150);
    Release(&b, QPoint(-40, 20));
    EXPECT_FALSE(b.Resizing());
    DragTo(&b, QPoint(500, 500));
    EXPECT_EQ(b.Width(), 150);
}

TEST_F(ResizeTest, ShownBoardFollowsThePointerAndStaysSquare) {
    QWidget host;
    host.resize(1100, 1100);
    auto* b = new TChessBrd(&host);
    b->SetResizable(true);
    host.show();
    Press(b, QPoint(365, 365));
    DragTo(b, QPoint(366, 366)); // the first move is still inside the corner zone
    for (int i = 0; i < 6; ++i)
        DragTo(b, QPoint(460, 460));
    Release(b, QPoint(460, 460));
    // Each move repaints, and the size rule averages the new width with the height.
    EXPECT_EQ(b->Width(), b->Height());
    EXPECT_EQ((b->Width() - 48) % 8, 0);
    EXPECT_GT(b->Width(), 440);
    EXPECT_LE(b->Width(), 460);
    EXPECT_EQ(b->Surface().size(), b->size());
    Press(b, QPoint(b->Width() - 2, b->Width() - 2));
    DragTo(b, QPoint(b->Width() - 1, b->Width() - 1));
    for (int i = 0; i < 40; ++i)
        DragTo(b, QPoint(5000, 5000));
    EXPECT_LE(b->Width(), 1000);
    EXPECT_GT(b->Width(), 990);
}
