// The save and open windows driven through their handlers, on private data folders: what
// they list, what they write, what they open onto the main board, and how they behave on
// refused names, shared names, damaged files and files that can't be written.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "ChessBrd.h"
#include "Fonts.h"
#include "IniFile.h"
#include "Unit2.h"
#include "Unit3.h"

// Texts in failure messages as text rather than as arrays of characters.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString kStart = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
const QString kBlankCorners = " nbqkbnrpppppppp                                PPPPPPPPRNBQKBN ";

// A position text from rows of the board, a8 first; short rows end in blanks.
QString Board(std::initializer_list<const char*> rows) {
    QString text;
    for (const char* r : rows)
        text += QString::fromLatin1(r).leftJustified(8, ' ');
    return text.leftJustified(64, ' ');
}

// Declared first in the fixture, so the application exists before its windows.
struct TApplicationFirst {
    TApplicationFirst() { EnsureApplication(); }
};

class SaveOpenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", FConfig.path().toUtf8());
        qputenv("XDG_DATA_HOME", FData.path().toUtf8());

        FSave.SetMainBoard(&FMain);
        FSave.AskName = [this](const QString& suggestion) -> std::optional<QString> {
            Suggestions.push_back(suggestion);
            if (Answers.empty()) return std::nullopt;
            const QString answer = Answers.front();
            Answers.erase(Answers.begin());
            return answer;
        };
        FSave.AskReplace = [this](const QString& name) {
            Replaces.push_back(name);
            return ReplaceAnswer;
        };
        FSave.ShowMessage = [this](const QString& text) { Messages.push_back(text); };
        FOpen.SetMainBoard(&FMain);
        FOpen.SetMoveList(&FMoveList);
        FOpen.ShowMessage = [this](const QString& text) { Messages.push_back(text); };
    }
    void TearDown() override {
        FSave.hide();
        FOpen.hide();
    }

    std::string SavFile() const { return (FData.path() + "/chesszel/kavrel.sav").toStdString(); }
    std::string Read(const char* section, const std::string& key) const {
        return ini::ReadString(SavFile(), section, key, "<missing>");
    }
    void WriteSav(const QByteArray& bytes) const {
        QDir().mkpath(FData.path() + "/chesszel");
        QFile f(QString::fromStdString(SavFile()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    template <class W> static QListWidget* List(W& w) {
        return w.template findChild<QListWidget*>("ListBox1");
    }
    template <class W> static QPushButton* Button(W& w, const char* name) {
        return w.template findChild<QPushButton*>(name);
    }
    static QStringList Lines(QListWidget* list) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    TChessBrd* Preview() { return FOpen.findChild<TChessBrd*>("ChessBrd1"); }

    // Shows the save window, selects line and presses "Save" with the given answers.
    void SaveInto(int line, QStringList answers, const QString& position) {
        FMain.SetPositionText(position);
        Answers = {answers.begin(), answers.end()};
        FSave.show();
        List(FSave)->setCurrentRow(line);
        FSave.SpeedButton1Click();
    }
    // Shows the open window and selects line, which previews it.
    void SelectInOpen(int line) {
        FOpen.show();
        List(FOpen)->setCurrentRow(line);
    }

    TApplicationFirst FApplication;
    QTemporaryDir FConfig;
    QTemporaryDir FData;
    TChessBrd FMain;
    QListWidget FMoveList;
    TFrmSalvar FSave;
    TFrmAbrir FOpen;
    std::vector<QString> Suggestions;
    std::vector<QString> Answers;
    std::vector<QString> Replaces;
    std::vector<QString> Messages;
    bool ReplaceAnswer = true;
};

TEST_F(SaveOpenTest, TheWindowsAreBorderlessModalAndTheirCaptionsFit) {
    for (QDialog* w : {static_cast<QDialog*>(&FSave), static_cast<QDialog*>(&FOpen)}) {
        EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(w->isModal());
        for (QPushButton* b : w->findChildren<QPushButton*>()) {
            const QString caption = b->text().remove('&');
            EXPECT_LT(b->fontMetrics().horizontalAdvance(caption), b->width() - 8)
                << caption.toStdString();
            EXPECT_EQ(b->font().pixelSize(), 11);
        }
    }
    EXPECT_EQ(List(FSave)->font().pixelSize(), 13);

    // The preview as described: 25-pixel squares in gray and silver, no computer player.
    TChessBrd* preview = Preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(preview->Loading());
    EXPECT_EQ(preview->SizeOfSquare(), 25);
    EXPECT_EQ(preview->SquareColorDark(), 0x808080u);
    EXPECT_EQ(preview->SquareColorLight(), 0xC0C0C0u);
    EXPECT_FALSE(preview->ComputerPlaysWhite() || preview->ComputerPlaysBlack());
    EXPECT_FALSE(preview->Resizable());
    EXPECT_EQ(preview->PieceSize(), 25) << "pieces as large as the squares, not spilling over";
    EXPECT_EQ(preview->PositionText(), kStart);
}

TEST_F(SaveOpenTest, AnEmptyThirdLineSuggestsGame3AndSavesItAsPlace2) {
    FSave.show();
    EXPECT_EQ(Lines(List(FSave)), QStringList(20, "Empty"));

    // Nothing selected: nothing asked, nothing written.
    FSave.SpeedButton1Click();
    EXPECT_TRUE(Suggestions.empty());

    // A cancelled name leaves the window open and the file untouched.
    SaveInto(2, {}, kStart);
    EXPECT_EQ(Suggestions, std::vector<QString>{"Game3"});
    EXPECT_TRUE(FSave.isVisible());
    EXPECT_EQ(Read("Save", "Game2"), "<missing>");

    SaveInto(2, {"Game3"}, kStart);
    EXPECT_FALSE(FSave.isVisible());
    EXPECT_EQ(FSave.result(), QDialog::Accepted);
    EXPECT_EQ(Read("save", "Game2"), "Game3");
    EXPECT_EQ(Read("Game", "Game3"), kStart.toStdString());

    // The next showing lists the name on its line, and suggests it again.
    Suggestions.clear();
    SaveInto(2, {}, kStart);
    EXPECT_EQ(List(FSave)->item(2)->text(), "Game3");
    EXPECT_EQ(Suggestions, std::vector<QString>{"Game3"});
}

TEST_F(SaveOpenTest, RefusedNamesAreAskedAgainAndChangeNothing) {
    SaveInto(0, {"Kept"}, kStart);
    SaveInto(1, {"bad=name", " padded", "", "Fine"}, kBlankCorners);
    EXPECT_EQ(Messages.size(), 3u);
    EXPECT_EQ(Suggestions.back(), "") << "the dialog comes back with what was typed";
    EXPECT_EQ(Read("Save", "Game1"), "Fine");
    EXPECT_EQ(Read("Game", "bad"), "<missing>");
    EXPECT_EQ(Read("Save", "Game0"), "Kept");
    EXPECT_EQ(Read("Game", "Kept"), kStart.toStdString());
}

TEST_F(SaveOpenTest, SavingANameAnotherPlaceUsesAsksFirst) {
    SaveInto(0, {"Shared"}, kStart);
    const QString later = QString(kStart).replace(52, 1, ' ').replace(36, 1, 'P');

    // "No" asks for another name; cancelling then keeps both places as they were.
    ReplaceAnswer = false;
    SaveInto(3, {"shared"}, later);
    EXPECT_EQ(Replaces, std::vector<QString>{"shared"});
    EXPECT_TRUE(FSave.isVisible());
    EXPECT_EQ(Read("Game", "Shared"), kStart.toStdString());
    EXPECT_EQ(Read("Save", "Game3"), "<missing>");

    // Saving into the place that holds the name asks nothing.
    Replaces.clear();
    SaveInto(0, {"Shared"}, kStart);
    EXPECT_TRUE(Replaces.empty());

    // "Yes": both places open the later position.
    ReplaceAnswer = true;
    SaveInto(3, {"Shared"}, later);
    EXPECT_EQ(Replaces.size(), 1u);
    for (int line : {0, 1}) {
        FMain.SetPositionText(kStart);
        SelectInOpen(line);
        FOpen.SpeedButton1Click();
        EXPECT_EQ(FMain.PositionText(), later) << line;
    }
}

TEST_F(SaveOpenTest, OpeningContinuesAsAFreshGameWithWhiteToMove) {
    SaveInto(4, {"Corners"}, kBlankCorners);
    FMain.NewGame();
    ASSERT_TRUE(FMain.MakeMove(E2, E4));
    ASSERT_TRUE(FMain.MakeMove(E7, E5));
    ASSERT_TRUE(FMain.MakeMove(G1, F3));
    ASSERT_FALSE(FMain.WhiteToMove());
    FMoveList.addItems({"1. e2-e4 e7-e5", "2. g1-f3"});

    // Nothing selected: the window stays open and the board keeps its game.
    FOpen.show();
    EXPECT_EQ(Lines(List(FOpen)), QStringList{"Corners"});
    EXPECT_FALSE(Button(FOpen, "SpeedButton1")->isEnabled());
    FOpen.SpeedButton1Click();
    EXPECT_TRUE(FOpen.isVisible());
    EXPECT_FALSE(FMain.WhiteToMove());

    SelectInOpen(0);
    EXPECT_EQ(Preview()->PositionText(), kBlankCorners);
    EXPECT_TRUE(Button(FOpen, "SpeedButton1")->isEnabled());
    FOpen.SpeedButton1Click();
    EXPECT_FALSE(FOpen.isVisible());
    EXPECT_EQ(FMain.PositionText(), kBlankCorners) << "all 64 squares come back";
    EXPECT_TRUE(FMain.WhiteToMove());
    EXPECT_EQ(FMain.CurrentMove(), 1);
    EXPECT_EQ(FMain.EnPassant(), None);
    EXPECT_EQ(FMoveList.count(), 0);
}

TEST_F(SaveOpenTest, APositionWhiteCannotPlayOpensWithBlackToMoveAndOneWithoutAKingNot) {
    QLabel messageLine;
    FOpen.SetMessageLine(&messageLine);
    // Black in check after White's queen move: White to move would take the king.
    const QString check = Board({"   k", "", "", "", "", "", "", "   QK"});
    SaveInto(0, {"Check"}, check);
    // A black king mated where it stands.
    const QString mate = Board({"       k", "      Q", "      K"});
    SaveInto(1, {"Mate"}, mate);
    // Without a black king; with both kings attacked.
    SaveInto(2, {"NoKing"}, Board({"", "", "", "", "", "", "", "    K"}));
    SaveInto(3, {"Both"}, Board({"R   k", "", "", "", "", "", "", "    K  r"}));

    SelectInOpen(0);
    FOpen.SpeedButton1Click();
    EXPECT_EQ(FMain.PositionText(), check);
    EXPECT_FALSE(FMain.WhiteToMove());
    EXPECT_EQ(messageLine.text(), "Check: Black to move");
    EXPECT_FALSE(FMain.IsLegalMove(D1, D8));
    EXPECT_TRUE(FMain.MakeMove(D8, C7));

    int mates = 0;
    FMain.OnMate = [&](TChessGame*, Square, Square) { ++mates; };
    SelectInOpen(1);
    FOpen.SpeedButton1Click();
    EXPECT_EQ(FMain.PositionText(), mate);
    EXPECT_FALSE(FMain.WhiteToMove());
    EXPECT_EQ(mates, 1);
    EXPECT_EQ(FMain.GameOver(), TGameOver::Mate);
    FMain.OnMate = nullptr;

    // Refused with a message; the board keeps its game.
    for (int line : {2, 3}) {
        FMain.NewGame();
        ASSERT_TRUE(FMain.MakeMove(E2, E4));
        FMoveList.addItem("1. E2-E4");
        SelectInOpen(line);
        FOpen.SpeedButton1Click();
        EXPECT_FALSE(FOpen.isVisible());
        EXPECT_EQ(FMain.PieceAt(E4), 'P') << line;
        EXPECT_FALSE(FMain.WhiteToMove()) << line;
        EXPECT_EQ(FMoveList.count(), 1) << line;
        FMoveList.clear();
    }
    EXPECT_EQ(Messages,
              (std::vector<QString>{"This position cannot be opened: Black has no king.",
                                    "This position cannot be opened: both kings are in check."}));
}

TEST_F(SaveOpenTest, DeletingTheSecondOfPlaces0And5RemovesPlace5AndItsPosition) {
    SaveInto(0, {"First"}, kStart);
    SaveInto(5, {"Sixth"}, kBlankCorners);
    SelectInOpen(1);
    EXPECT_EQ(Lines(List(FOpen)), (QStringList{"First", "Sixth"}));
    FOpen.SpeedButton3Click();
    EXPECT_EQ(Read("Save", "Game5"), "<missing>");
    EXPECT_EQ(Read("Game", "Sixth"), "<missing>");
    EXPECT_EQ(Read("Save", "Game0"), "First");
    EXPECT_EQ(Lines(List(FOpen)), QStringList{"First"});
    EXPECT_FALSE(Button(FOpen, "SpeedButton1")->isEnabled());
    EXPECT_FALSE(Button(FOpen, "SpeedButton3")->isEnabled());
    EXPECT_EQ(Preview()->PositionText(), kBlankCorners) << "the preview keeps what it showed";
    EXPECT_TRUE(FOpen.isVisible());
}

TEST_F(SaveOpenTest, DeletingOneOfTwoPlacesWithOneNameKeepsTheOthersPosition) {
    SaveInto(1, {"Twice"}, kBlankCorners);
    SaveInto(6, {"Twice"}, kBlankCorners);
    SelectInOpen(1);
    FOpen.SpeedButton3Click();
    EXPECT_EQ(Read("Save", "Game6"), "<missing>") << "the line's own place goes";
    EXPECT_EQ(Read("Save", "Game1"), "Twice");
    FMain.SetPositionText(kStart);
    SelectInOpen(0);
    FOpen.SpeedButton1Click();
    EXPECT_EQ(FMain.PositionText(), kBlankCorners);
}

TEST_F(SaveOpenTest, ADamagedFileOpensWhatItCanAndTouchesNothingElse) {
    QByteArray bytes(
        "[Save]\nGame0=Good\nGame2=Bad\n\xFF\xFE\x01garbage\nGame9=Lost\n[Game]\nGood=");
    bytes += kStart.toLatin1() + "\nBad=KKKK\n" + QByteArray(300, '\0');
    WriteSav(bytes);

    FSave.show();
    const QStringList save = Lines(List(FSave));
    EXPECT_EQ(save.value(0), "Good");
    EXPECT_EQ(save.value(2), "Bad");
    EXPECT_EQ(save.value(1), "Empty");

    FOpen.show();
    ASSERT_GE(List(FOpen)->count(), 2);
    const QString shown = Preview()->PositionText();
    SelectInOpen(1); // "Bad": not a position, the preview stays
    EXPECT_EQ(Preview()->PositionText(), shown);
    FMain.SetPositionText(kBlankCorners);
    FOpen.SpeedButton1Click();
    EXPECT_FALSE(FOpen.isVisible()) << "the window closes even when nothing opens";
    EXPECT_EQ(FMain.PositionText(), kBlankCorners);
    EXPECT_EQ(Messages, std::vector<QString>{"The saved position \"Bad\" cannot be read."});

    Messages.clear();
    SelectInOpen(0);
    FOpen.SpeedButton1Click();
    EXPECT_EQ(FMain.PositionText(), kStart);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(SaveOpenTest, AFileThatCannotBeWrittenIsReportedAndTheWindowStaysOpen) {
    // A regular file where the program's data folder should be.
    QFile blocker(FData.path() + "/chesszel");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    SaveInto(0, {"Game1"}, kStart);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], "Unable to write to " + QString::fromStdString(SavFile()));
    EXPECT_TRUE(FSave.isVisible());
}

TEST_F(SaveOpenTest, ThePreviewCannotBePlayedOn) {
    SaveInto(0, {"Start"}, kStart);
    SelectInOpen(0);
    TChessBrd* preview = Preview();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FOpen));
    // Press on the white e-pawn and pull it two squares up.
    const QPoint e2 = preview->geometry().topLeft() + preview->SquareTopLeft(E2) + QPoint(12, 12);
    const QPoint e4 = e2 - QPoint(0, 50);
    // Through the window, so the press goes to whatever lies under the point.
    QWindow* window = FOpen.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, e2);
    QTest::mouseMove(window, e2 - QPoint(0, 10));
    QTest::mouseMove(window, e4);
    QTest::mouseRelease(window, Qt::LeftButton, {}, e4);
    EXPECT_EQ(preview->DragFrom(), None);
    EXPECT_EQ(preview->PositionText(), kStart);
}

} // namespace
