// The move list as a way through the game: clicks and walking keys go to the position after
// the line's half-move, the mark follows the board (also through Move back and Move
// forward), a game Black began, the lines of a result, and the computer's turn.

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

#include "MainWindowSupport.h"
#include "MoveListWalk.h"

namespace {

struct TWindow {
    TTempHome Home;
    TRecordingSound Sound;
    TForm1 Form{&Sound};
    TMainControls ctl{Form};
    TChessBrd* B = ctl.ChessBrd1;
    QListWidget* List = ctl.ListBox1;

    TWindow() {
        Form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
    void PlayHumans() {
        ctl.ComboBox1->setCurrentText("Player");
        ctl.ComboBox2->setCurrentText("Player");
        Form.ComboBox1Change();
        Form.SpeedButton1Click();
    }
    void Play(std::initializer_list<std::pair<Square, Square>> moves) {
        for (auto [from, to] : moves)
            ASSERT_TRUE(B->PlayerMove(from, to)) << int(from) << "-" << int(to);
    }
    void Click(int row, Qt::MouseButton button = Qt::LeftButton) {
        List->scrollToItem(List->item(row));
        QCoreApplication::processEvents();
        QTest::mouseClick(List->viewport(), button, {},
                          List->visualItemRect(List->item(row)).center());
    }
    void Key(Qt::Key key) { QTest::keyClick(List, key); }
    // The board's half-move: (move, White to move).
    std::pair<int, bool> At() const { return {B->CurrentMove(), B->WhiteToMove()}; }
    // The marked line: the selected one, -1 for none.
    int Marked() const {
        const auto rows = List->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().row() : -1;
    }
    QStringList Lines() const {
        QStringList l;
        for (int i = 0; i < List->count(); ++i)
            l << List->item(i)->text();
        return l;
    }
};

using P = std::pair<int, bool>;

} // namespace

TEST(MoveListLines, EachLineIsTheHalfMoveItsFormatSays) {
    const QStringList lines = {
        "1. ...",     QString(14, ' ') + "E8-D7", "2. D2-D4", QString(14, ' ') + "D7-E6", "",
        "Checkmate!", "Timer: 00:01:02 hs"};
    EXPECT_EQ(HalfMoveOfLine(lines, 0), (THalfMove{1, true}));
    EXPECT_EQ(HalfMoveOfLine(lines, 1), (THalfMove{1, false}));
    EXPECT_EQ(HalfMoveOfLine(lines, 2), (THalfMove{2, true}));
    EXPECT_EQ(HalfMoveOfLine(lines, 3), (THalfMove{2, false}));
    for (int row : {4, 5, 6, -1, 7})
        EXPECT_FALSE(HalfMoveOfLine(lines, row)) << row;
    // A Black line without White's line above it names no half-move.
    EXPECT_FALSE(HalfMoveOfLine({QString(14, ' ') + "E7-E5"}, 0));
    EXPECT_EQ(LineOfPosition(lines, 1, true), -1);
    EXPECT_EQ(LineOfPosition(lines, 1, false), 0);
    EXPECT_EQ(LineOfPosition(lines, 2, true), 1);
    EXPECT_EQ(LineOfPosition(lines, 3, true), 3);
    EXPECT_EQ(LineOfPosition(lines, 9, true), -1);
}

TEST(MoveListWalk, ClicksAndKeysGoToTheLinesPositions) {
    EnsureApplication();
    TWindow w;
    w.PlayHumans();
    w.Play({{E2, E4}, {E7, E5}, {G1, F3}, {B8, C6}, {F1, B5}});
    const std::string afterE4 = [&] {
        w.B->GotoHalfMove(1, false);
        return w.B->Position();
    }();
    w.B->GotoHalfMove(3, false);

    w.Click(0);
    EXPECT_EQ(w.At(), (P{1, false}));
    EXPECT_EQ(w.B->Position(), afterE4);
    EXPECT_EQ(w.Marked(), 0);
    EXPECT_TRUE(w.List->hasFocus());
    EXPECT_EQ(w.List->currentRow(), 0); // the line a screen reader announces
    w.Click(3);
    EXPECT_EQ(w.At(), (P{3, true}));
    EXPECT_EQ(w.Marked(), 3);

    w.Key(Qt::Key_Home);
    EXPECT_EQ(w.At(), (P{1, false}));
    w.Key(Qt::Key_Down);
    EXPECT_EQ(w.At(), (P{2, true}));
    EXPECT_EQ(w.Marked(), 1);
    EXPECT_EQ(w.List->currentRow(), 1);
    w.Key(Qt::Key_End);
    EXPECT_EQ(w.At(), (P{3, false}));
    EXPECT_EQ(w.Marked(), 4);
    w.Key(Qt::Key_Down); // past the end: stays
    EXPECT_EQ(w.At(), (P{3, false}));
    w.Key(Qt::Key_Up);
    EXPECT_EQ(w.At(), (P{3, true}));
    // Typing would search the list and move its line away from the board's position.
    QTest::keyClicks(w.List, "1");
    EXPECT_EQ(w.List->currentRow(), 3);
    EXPECT_EQ(w.At(), (P{3, true}));
    // A right click opens the menu and leaves the game where it is.
    w.Click(0, Qt::RightButton);
    EXPECT_EQ(w.At(), (P{3, true}));
    EXPECT_EQ(w.List->currentRow(), 3);
    // The list keeps the whole game and its lines as they were.
    EXPECT_EQ(w.List->count(), 5);
}

TEST(MoveListWalk, MoveBackAndForwardMoveTheMark) {
    EnsureApplication();
    TWindow w;
    w.PlayHumans();
    w.Play({{D2, D4}, {D7, D5}, {C2, C4}});
    EXPECT_EQ(w.Marked(), 2);
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveBack));
    EXPECT_EQ(w.Marked(), 1);
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveBack));
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveBack));
    EXPECT_EQ(w.Marked(), -1); // the first position: no move has led to it
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveForward));
    EXPECT_EQ(w.Marked(), 0);
    // The walk goes on from the mark the buttons left.
    w.List->setFocus();
    w.Key(Qt::Key_Down);
    EXPECT_EQ(w.At(), (P{2, true}));
    EXPECT_EQ(w.Marked(), 1);
}

TEST(MoveListWalk, AGameBlackBeganStartsAtItsFirstLine) {
    EnsureApplication();
    TWindow w;
    w.PlayHumans();
    const QString start = Board({"    k", "", "", "", "", "", "   P", "    K"});
    w.B->SetPositionText(start);
    w.B->SetCastlingAllowedBits(0);
    w.B->SetWhiteToMove(false);
    w.Play({{E8, D7}, {D2, D4}, {D7, E6}});
    ASSERT_EQ(w.Lines().front(), "1. ...");
    ASSERT_EQ(w.List->count(), 4);
    // "1. ..." stands for the game's first position, Black to move.
    w.Click(0);
    EXPECT_EQ(w.At(), (P{1, false}));
    EXPECT_EQ(QString::fromStdString(w.B->Position()), start);
    EXPECT_EQ(w.Marked(), 0);
    w.Key(Qt::Key_Down);
    EXPECT_EQ(w.At(), (P{2, true}));
    w.Key(Qt::Key_End);
    EXPECT_EQ(w.At(), (P{3, true}));
    EXPECT_EQ(w.Marked(), 3);
    w.Key(Qt::Key_Home);
    EXPECT_EQ(w.At(), (P{1, false}));
    w.Key(Qt::Key_Up); // nothing before the first position
    EXPECT_EQ(w.At(), (P{1, false}));
    EXPECT_EQ(w.Marked(), 0);
}

TEST(MoveListWalk, AfterTheResultLinesTheyStandForTheEnd) {
    EnsureApplication();
    TWindow w;
    w.PlayHumans();
    w.Play({{F2, F3}, {E7, E5}, {G2, G4}, {D8, H4}});
    ASSERT_EQ(w.List->count(), 7);
    ASSERT_FALSE(w.ctl.Panel1->isEnabled());
    // A result line is the end of the game: nothing moves, the last move stays marked.
    w.Click(5);
    EXPECT_EQ(w.At(), (P{3, true}));
    EXPECT_EQ(w.Marked(), 3);
    EXPECT_FALSE(w.ctl.Panel1->isEnabled());
    EXPECT_EQ(w.ctl.Label1->text(), "Checkmate!");
    // An earlier line reopens the game there, as Move back does; the list keeps the result.
    w.Click(1);
    EXPECT_EQ(w.At(), (P{2, true}));
    EXPECT_TRUE(w.ctl.Panel1->isEnabled());
    EXPECT_EQ(w.ctl.Label1->text(), "");
    EXPECT_EQ(w.List->count(), 7);
    // The keys stop at the last move, never on the result's lines.
    w.Key(Qt::Key_End);
    EXPECT_EQ(w.At(), (P{3, true}));
    EXPECT_EQ(w.Marked(), 3);
    w.Key(Qt::Key_PageDown);
    EXPECT_EQ(w.Marked(), 3);
    w.Click(6);
    EXPECT_EQ(w.At(), (P{3, true}));
    // A move from an earlier position ends the old line and its result.
    w.Click(1);
    w.Play({{G1, H3}});
    EXPECT_EQ(w.List->count(), 3);
    EXPECT_EQ(w.Marked(), 2);
}

TEST(MoveListWalk, GoingBackToTheComputersTurnLeavesItHalted) {
    EnsureApplication();
    TWindow w;
    w.ctl.ComboBox1->setCurrentText("Player");
    w.ctl.ComboBox2->setCurrentText("Computer");
    w.ctl.ComboBox4->setCurrentIndex(0);
    w.Form.SpeedButton1Click();
    w.Play({{E2, E4}});
    ASSERT_TRUE(PumpUntil([&] { return w.List->count() == 2; }));
    // The line of White's first move, clicked while the computer answers 2.d4: it is to
    // move there, and must not, as after Move back; nor must the search it had begun come
    // back with a move for the position it left.
    w.Play({{D2, D4}});
    w.Click(0);
    ASSERT_EQ(w.At(), (P{1, false}));
    const std::string shown = w.B->Position();
    const int lines = w.List->count();
    PumpUntil([] { return false; }, 800);
    EXPECT_EQ(w.At(), (P{1, false}));
    EXPECT_EQ(w.B->Position(), shown);
    EXPECT_EQ(w.List->count(), lines);
    EXPECT_EQ(w.Marked(), 0);
    w.B->StopThinking();
}
