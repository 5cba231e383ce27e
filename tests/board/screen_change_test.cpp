// A board moved between screens of one and of two device pixels per logical pixel cuts its
// pieces again for the screen it is on: the 2x set's pixels on the one, the 1x set's on the
// other, and the drawing in logical pixels the same on both.

#include <gtest/gtest.h>

#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include <memory>

#include "render_support.h"

namespace {

// Two offscreen screens side by side, the right one at twice the pixel density.
const char* const kScreens = R"({"screens": [
    {"name": "plain", "x": 0, "y": 0, "width": 800, "height": 600,
     "logicalDpi": 96, "logicalBaseDpi": 96},
    {"name": "dense", "x": 800, "y": 0, "width": 800, "height": 600,
     "logicalDpi": 192, "logicalBaseDpi": 96}]})";

void StartOnTwoScreens() {
    static QTemporaryDir dir;
    const QString path = dir.filePath("screens.json");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kScreens);
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path.toLocal8Bit());
    TestApp();
}

QScreen* ScreenNamed(const QString& name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name) return screen;
    return nullptr;
}

} // namespace

TEST(ScreenChange, PieceImagesFollowTheScreensPixelRatio) {
    StartOnTwoScreens();
    QScreen* plain = ScreenNamed("plain");
    QScreen* dense = ScreenNamed("dense");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(dense, nullptr);
    ASSERT_EQ(plain->devicePixelRatio(), 1.0);
    ASSERT_EQ(dense->devicePixelRatio(), 2.0);

    auto host = std::make_unique<QWidget>();
    host->resize(420, 420);
    auto* b = new TChessBrd(host.get());
    host->move(plain->geometry().topLeft() + QPoint(50, 50));
    host->show();
    host->windowHandle()->setScreen(plain);
    QCoreApplication::processEvents();
    b->repaint();
    ASSERT_EQ(b->devicePixelRatioF(), 1.0);
    EXPECT_EQ(b->PieceImage('K').devicePixelRatio(), 1.0);
    const QImage plainSurface = b->Surface();

    host->windowHandle()->setScreen(dense);
    host->move(dense->geometry().topLeft() + QPoint(50, 50));
    QCoreApplication::processEvents();
    b->repaint();
    ASSERT_EQ(b->devicePixelRatioF(), 2.0);
    EXPECT_EQ(b->Surface().devicePixelRatio(), 2.0);
    EXPECT_EQ(b->PieceImage('K').size(), QSize(80, 80));
    EXPECT_EQ(b->PieceImage('K').devicePixelRatio(), 2.0);
    EXPECT_EQ(b->PieceSize(), 40);

    // Back on the plain screen the board draws exactly what it drew there before.
    host->windowHandle()->setScreen(plain);
    host->move(plain->geometry().topLeft() + QPoint(50, 50));
    QCoreApplication::processEvents();
    b->repaint();
    ASSERT_EQ(b->devicePixelRatioF(), 1.0);
    EXPECT_EQ(b->PieceImage('K').devicePixelRatio(), 1.0);
    EXPECT_EQ(b->Surface(), plainSurface);
}
