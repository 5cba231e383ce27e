// The splash window: sized to its picture, centred, and shaped so that exactly the pixels
// that differ from the picture's corner colour belong to the window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "UniSplash.h"

namespace {

struct Splash : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }
};

void ExpectShapedAfterPicture(const TFrmSplash& splash) {
    const QImage& picture = splash.Picture();
    ASSERT_FALSE(picture.isNull());
    const QRgb corner = picture.pixel(0, 0) & RGB_MASK;
    const QRegion shape = splash.mask();
    int inside = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool opaque = (picture.pixel(x, y) & RGB_MASK) != corner;
            inside += opaque;
            ASSERT_EQ(shape.contains(QPoint(x, y)), opaque) << "pixel " << x << ", " << y;
        }
    EXPECT_GT(inside, 0);
}

} // namespace

TEST_F(Splash, TheBuiltInPicture) {
    TFrmSplash splash;
    const QImage& picture = splash.Picture();
    ASSERT_FALSE(picture.isNull()) << "missing " << TFrmSplash::PicturePath;
    EXPECT_EQ(picture.size(), QSize(484, 81));
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(splash.size(), picture.size());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    // The corner itself is cut away, so the window is not a plain rectangle.
    EXPECT_FALSE(splash.mask().contains(QPoint(0, 0)));
    ExpectShapedAfterPicture(splash);

    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(splash.geometry().center().x() - desktop.center().x()), 1);
    EXPECT_LE(std::abs(splash.geometry().center().y() - desktop.center().y()), 1);

    splash.ShowNow();
    EXPECT_TRUE(splash.isVisible());
}

TEST_F(Splash, AnyPictureIsCutAtItsCornerColour) {
    // A 24-bit picture whose corner colour is not the usual key, with a hole in the middle
    // and a stray corner-coloured pixel inside the plaque.
    QTemporaryDir folder;
    QImage picture(60, 20, QImage::Format_RGB888);
    picture.fill(QColor(0, 128, 0));
    for (int y = 3; y < 17; ++y)
        for (int x = 4; x < 56; ++x)
            picture.setPixelColor(x, y, (x >= 28 && x < 32) ? QColor(0, 128, 0) : Qt::yellow);
    picture.setPixelColor(10, 10, QColor(0, 128, 0));
    const QString file = folder.filePath("plaque.bmp");
    ASSERT_TRUE(picture.save(file));
    TFrmSplash splash(file);
    EXPECT_EQ(splash.size(), QSize(60, 20));
    ExpectShapedAfterPicture(splash);
    EXPECT_FALSE(splash.mask().contains(QPoint(10, 10)));
    EXPECT_FALSE(splash.mask().contains(QPoint(29, 10)));
}

TEST_F(Splash, WithoutAPictureTheWindowStaysUnshaped) {
    TFrmSplash splash("/nonexistent/Splash.bmp");
    EXPECT_TRUE(splash.Picture().isNull());
    EXPECT_TRUE(splash.mask().isEmpty());
    splash.ShowNow();
}
