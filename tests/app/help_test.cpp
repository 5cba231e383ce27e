// The help window: opens a file whatever its name ends with, follows links and goes back,
// is reused for later requests, and does not open for a missing file. The shipped help
// file's own links all lead somewhere.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>

#include "AppTestSupport.h"
#include "GameFiles.h"
#include "HelpWindow.h"
#include "MainWindowSupport.h"
#include "PlayOptions.h"
#include "StartOptions.h"
#include "UciEngine.h"

namespace {

const QString ShippedHelp = ZEL_SOURCE_DIR "/resources/data/chess.hlp";

struct Help : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }

    QTemporaryDir Folder;
    QWidget Owner;

    QString Write(const QString& name, const QString& html) {
        QFile file(Folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html.toUtf8());
        return file.fileName();
    }

    HelpWindow* Window() const {
        return Owner.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    }
};

// Clicks the first link whose target is href, as a user would.
void ClickLink(QTextBrowser* browser, const QString& href) {
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href) continue;
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position() + 1);
            const QPoint at = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            return;
        }
    ADD_FAILURE() << "no link to " << href.toStdString();
}

} // namespace

TEST_F(Help, OpensFollowsALinkAndGoesBack) {
    const QString first = Write("game.hlp", "<html><body><h1>Contents</h1>"
                                            "<p>See <a href=\"rules.html\">the rules</a>.</p>"
                                            "</body></html>");
    Write("rules.html", "<html><body><h1>Rules</h1><p>Checkmate ends the game.</p>"
                        "</body></html>");
    ASSERT_TRUE(ShowHelp(first, &Owner));
    HelpWindow* window = Window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowTitle(), "Chess Zel Help");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    QTextBrowser* browser = window->Browser();
    // Read as HTML despite the file's name: the markup does not show as text.
    EXPECT_TRUE(browser->toPlainText().startsWith("Contents"));
    EXPECT_FALSE(browser->toPlainText().contains("<h1>"));
    EXPECT_FALSE(window->BackButton()->isEnabled());

    ClickLink(browser, "rules.html");
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("rules.html"));
    EXPECT_TRUE(browser->toPlainText().contains("Checkmate ends the game."));
    ASSERT_TRUE(window->BackButton()->isEnabled());

    QTest::mouseClick(window->BackButton(), Qt::LeftButton);
    EXPECT_EQ(browser->source().toLocalFile(), first);
    EXPECT_FALSE(window->BackButton()->isEnabled());
}

TEST_F(Help, ASecondRequestReusesTheWindowOnTheFirstPage) {
    const QString first = Write("a.hlp", "<p><a href=\"b.html\">next</a></p>");
    Write("b.html", "<p>second page</p>");
    ASSERT_TRUE(ShowHelp(first, &Owner));
    HelpWindow* window = Window();
    ASSERT_TRUE(window);
    ClickLink(window->Browser(), "b.html");
    window->close();

    ASSERT_TRUE(ShowHelp(first, &Owner));
    EXPECT_EQ(Owner.findChildren<HelpWindow*>().size(), 1);
    EXPECT_EQ(Window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Browser()->source().toLocalFile(), first);
    EXPECT_FALSE(window->BackButton()->isEnabled()); // a fresh history
}

TEST_F(Help, AMissingFileOpensNothing) {
    EXPECT_FALSE(ShowHelp(Folder.filePath("chess.hlp"), &Owner));
    EXPECT_FALSE(ShowHelp(Folder.path(), &Owner)); // a folder is no help file
    EXPECT_FALSE(Window());
}

TEST_F(Help, TheShippedHelpLoadsAndItsLinksLeadSomewhere) {
    QFile file(ShippedHelp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << ShippedHelp.toStdString();
    const QString html = QString::fromUtf8(file.readAll());

    // Every link inside the page names an anchor that exists, and every section is linked.
    QSet<QString> anchors;
    for (const auto& m : QRegularExpression("<a name=\"([^\"]+)\"").globalMatch(html))
        anchors << m.captured(1);
    QSet<QString> targets;
    for (const auto& m : QRegularExpression("<a href=\"#([^\"]+)\"").globalMatch(html))
        targets << m.captured(1);
    EXPECT_GE(targets.size(), 10);
    for (const QString& t : targets)
        EXPECT_TRUE(anchors.contains(t)) << "link to missing #" << t.toStdString();
    for (const QString& a : anchors)
        EXPECT_TRUE(a == "top" || targets.contains(a)) << "section #" << a.toStdString();

    ASSERT_TRUE(ShowHelp(ShippedHelp, &Owner));
    QTextBrowser* browser = Window()->Browser();
    EXPECT_EQ(browser->documentTitle(), "Chess Zel Help");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window()));
    ClickLink(browser, "#saved");
    EXPECT_EQ(browser->source().fragment(), "saved");
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(Window()->BackButton()->isEnabled());
}

// What the help says agrees with the program: each command of the window's menu is named
// and each of its keys listed, the files, the engine and the command line are explained, and
// no promise is made that the window does not keep.
TEST_F(Help, TheShippedHelpDescribesEveryCommandAndItsKeys) {
    TTempHome home;
    TRecordingSound sound;
    TForm1 form(&sound);
    InstallPlayOptions(form);
    TGameFiles* files = InstallGameFiles(form, TStartOptions{});
    InstallUciEngine(form, TStartOptions{}, files);
    ASSERT_TRUE(ShowHelp(ShippedHelp, &Owner));
    const QString text = Window()->Browser()->toPlainText().simplified();
    for (const QAction* command : form.Commands()) {
        if (command->isSeparator()) continue;
        const QString name = command->text().remove('&');
        EXPECT_TRUE(text.contains(name, Qt::CaseInsensitive)) << name.toStdString();
        const QString keys = command->shortcut().toString(QKeySequence::PortableText);
        if (!keys.isEmpty()) {
            EXPECT_TRUE(text.contains(keys)) << name.toStdString() << ": " << keys.toStdString();
        }
    }
    for (const char* subject : {"PGN", "FEN", "clipboard", "--engine", "UCI", "chesszel game.pgn"})
        EXPECT_TRUE(text.contains(subject)) << subject;
    // The board is not resized by a corner that the side panel covers, and a promotion is
    // the player's choice.
    EXPECT_FALSE(text.contains("larger or smaller"));
    EXPECT_FALSE(text.contains("far rank becomes a queen."));
}
