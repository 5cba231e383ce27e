// Windows on a small screen: each one lies inside the screen's available area, shrinking
// when it is larger, whatever the place of the window it belongs to.

#include <gtest/gtest.h>

#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "HelpWindow.h"
#include "MainWindowSupport.h"
#include "ScreenFit.h"

namespace {

const QString ShippedHelp = ZEL_SOURCE_DIR "/resources/data/chess.hlp";

// An application whose only screen is 640 x 480.
void EnsureSmallScreen() {
    if (QApplication::instance()) return;
    static QTemporaryDir folder;
    QFile config(folder.filePath("screens.json"));
    if (config.open(QIODevice::WriteOnly))
        config.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 640,
                         "height": 480, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config.fileName()).toUtf8());
    EnsureApplication();
}

} // namespace

TEST(ScreenFit, APlaceIsCentredThenMovedAndShrunkIntoTheArea) {
    const QRect area(0, 24, 1024, 720);
    EXPECT_EQ(FitInto(area, {200, 100}, {512, 384}), QRect(413, 335, 200, 100));
    EXPECT_EQ(FitInto(area, {640, 560}, {512, 600}), QRect(193, 184, 640, 560));
    EXPECT_EQ(FitInto(area, {640, 900}, {0, 0}), QRect(0, 24, 640, 720));
}

TEST(ScreenFit, TheHelpWindowAndTheMainWindowFitASmallScreen) {
    EnsureSmallScreen();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(available.size(), QSize(640, 480));

    TTempHome home;
    TRecordingSound sound;
    TForm1 form(&sound);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(available.contains(form.frameGeometry())) << form.frameGeometry().y();

    // The help is larger than the screen, and asked for by a window near its bottom.
    form.move(0, 300);
    ASSERT_TRUE(ShowHelp(ShippedHelp, &form));
    auto* help = form.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(help);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    EXPECT_TRUE(available.contains(help->frameGeometry()))
        << help->frameGeometry().y() << " " << help->frameGeometry().height();
}
