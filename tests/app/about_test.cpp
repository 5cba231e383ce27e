// The about window: credits scrolling one pixel a tick and coming in again from the bottom,
// restarting at top 84 after every close, Escape closing it from whichever control has the
// focus, and both contact labels opening the mail link.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "AppTestSupport.h"
#include "UnSobre.h"

namespace {

// Catches the links the window asks the desktop to open.
class LinkCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> Opened;
  public slots:
    void Open(const QUrl& url) { Opened << url; }
};

// A control that keeps every key press to itself.
class KeyEater : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    int Keys = 0;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        ++Keys;
        event->accept();
    }
};

struct About : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }

    TFrmSobre Window;

    // Shows the window the way the main window does, but without blocking: returns once
    // it is on screen.
    void Show() {
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }

    void Tick(int times) {
        for (int i = 0; i < times; ++i)
            Window.Timer1Timer();
    }
};

} // namespace

TEST_F(About, CreditsScrollUpAndComeInAgainFromTheBottom) {
    EXPECT_EQ(Window.CreditsTop(), TFrmSobre::FirstTop);
    EXPECT_FALSE(Window.Scrolling());
    Show();
    EXPECT_TRUE(Window.Scrolling());
    Tick(1);
    EXPECT_EQ(Window.CreditsTop(), 71);
    // The strip (241 high) may sit entirely above the viewport: -241 still stays...
    Tick(71 + 241);
    EXPECT_EQ(Window.CreditsTop(), -241);
    // ...one more pixel and it comes in from the viewport's bottom edge (137).
    Tick(1);
    EXPECT_EQ(Window.CreditsTop(), 137);
    Tick(1);
    EXPECT_EQ(Window.CreditsTop(), 136);
}

TEST_F(About, TheTimerMovesTheCreditsOnItsOwn) {
    Show();
    QTest::qWait(200);
    EXPECT_LT(Window.CreditsTop(), TFrmSobre::FirstTop);
}

TEST_F(About, EveryLaterShowingStartsAt84) {
    Show();
    Tick(50);
    Window.SpeedButton3Click();
    EXPECT_FALSE(Window.isVisible());
    EXPECT_FALSE(Window.Scrolling());
    EXPECT_EQ(Window.CreditsTop(), TFrmSobre::ReopenTop);
    Show();
    EXPECT_EQ(Window.CreditsTop(), TFrmSobre::ReopenTop);
    Tick(300);
    Window.reject();
    EXPECT_EQ(Window.CreditsTop(), TFrmSobre::ReopenTop);
}

TEST_F(About, EscapeClosesWhateverHasTheFocus) {
    // A control that takes every key itself: the window still sees Escape first.
    auto* edit = new KeyEater(&Window);
    edit->setGeometry(16, 200, 100, 20);
    auto* ok = Window.findChild<QPushButton*>("SpeedButton3");
    ASSERT_TRUE(ok);
    for (QWidget* focus :
         {static_cast<QWidget*>(edit), static_cast<QWidget*>(ok), static_cast<QWidget*>(&Window)}) {
        Show();
        Window.activateWindow();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(Window.isVisible()) << focus->metaObject()->className();
    }
    // Other keys do not close it.
    Show();
    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(ok, Qt::Key_Enter);
    EXPECT_TRUE(Window.isVisible());
    EXPECT_EQ(edit->Keys, 1);
    Window.reject();
    // Once closed, Escape elsewhere is none of its business.
    QWidget other;
    other.show();
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_FALSE(Window.isVisible());
}

TEST_F(About, ContactLabelsOpenTheMailLink) {
    LinkCatcher catcher;
    QDesktopServices::setUrlHandler("mailto", &catcher, "Open");
    Show();
    for (const char* name : {"Label7", "Label13"}) {
        auto* label = Window.findChild<QLabel*>(name);
        ASSERT_TRUE(label) << name;
        EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(label->font().underline());
        QTest::mouseClick(label, Qt::LeftButton);
    }
    QDesktopServices::unsetUrlHandler("mailto");
    ASSERT_EQ(catcher.Opened.size(), 2);
    for (const QUrl& url : catcher.Opened)
        EXPECT_EQ(url, QUrl(QString("mailto:") + TFrmSobre::ContactAddress));
}

TEST_F(About, BackgroundIsStretchedOverTheWindow) {
    QPixmap skin(20, 10);
    skin.fill(QColor(120, 30, 30));
    Window.SetBackground(skin);
    auto* image = Window.findChild<QLabel*>("Image3");
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->hasScaledContents());
    EXPECT_EQ(image->geometry(), QRect(0, 0, 257, 225));
    Show();
    const QImage shot = Window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(3, 3), QColor(120, 30, 30));
    EXPECT_EQ(shot.pixelColor(250, 220), QColor(120, 30, 30));
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(Qt::white)); // the credits' viewport
}

#include "about_test.moc"
