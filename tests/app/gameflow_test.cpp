// The main window's game flow: Play and its players, the board's events as messages, sounds
// and move-list lines, the end of a game, the options panel, the music and the skins.

#include <gtest/gtest.h>

#include <QListWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "MainWindowSupport.h"

namespace {

struct TWindow {
    TTempHome Home;
    TRecordingSound Sound;
    TForm1 Form{&Sound};
    TMainControls ctl{Form};
    TChessBrd* B = ctl.ChessBrd1;

    // Both players human, a game started.
    void PlayHumans() {
        ctl.ComboBox1->setCurrentText("Player");
        ctl.ComboBox2->setCurrentText("Player");
        Form.ComboBox1Change();
        Form.SpeedButton1Click();
        Sound.Calls.clear();
    }
    void SetUp(const QString& position) {
        B->SetPositionText(position);
        B->SetCastlingAllowedBits(0);
    }
    QStringList Lines() const {
        QStringList l;
        for (int i = 0; i < ctl.ListBox1->count(); ++i)
            l << ctl.ListBox1->item(i)->text();
        return l;
    }
};

TEST(GameFlow, PlayGivesTheBoardItsPlayersAndTheLevelLine) {
    EnsureApplication();
    struct TCase {
        const char* White;
        const char* Black;
        bool ComputerWhite, ComputerBlack;
        const char* Label2;
    };
    for (const TCase& c : {TCase{"Computer", "Computer", true, true, "Level: Normal"},
                           TCase{"Player", "Player", false, false, "Player1 x Player2"},
                           TCase{"Player", "Computer", false, true, "Level: Normal"},
                           TCase{"Computer", "Player", true, false, "Level: Normal"}}) {
        TWindow w;
        w.B->SetSearchDepth(6);
        w.ctl.ComboBox1->setCurrentText(c.White);
        w.ctl.ComboBox2->setCurrentText(c.Black);
        w.ctl.ComboBox4->setCurrentIndex(2);
        w.Form.SpeedButton1Click();
        EXPECT_EQ(w.B->ComputerPlaysWhite(), c.ComputerWhite) << c.White << c.Black;
        EXPECT_EQ(w.B->ComputerPlaysBlack(), c.ComputerBlack) << c.White << c.Black;
        EXPECT_EQ(w.ctl.Label2->text(), c.Label2);
        EXPECT_EQ(w.B->SearchDepth(), c.ComputerWhite || c.ComputerBlack ? 3 : 6);
        EXPECT_EQ(w.ctl.Label1->text(), "game in process");
        EXPECT_TRUE(w.ctl.Panel3->isHidden());
        EXPECT_TRUE(w.ctl.Panel4->isEnabled());
        EXPECT_TRUE(w.ctl.SpeedButton2->isEnabled());
        EXPECT_EQ(w.Sound.Calls.front(), "STOP MUSICA");
        w.B->StopThinking();
    }
}

TEST(GameFlow, TheComputerOpensWithWhiteAndTheListFollowsItsMove) {
    EnsureApplication();
    TWindow w;
    w.Form.show();
    w.ctl.ComboBox1->setCurrentText("Computer");
    w.ctl.ComboBox2->setCurrentText("Player");
    w.Form.SpeedButton1Click();
    ASSERT_TRUE(PumpUntil([&] { return w.ctl.ListBox1->count() == 1; }));
    EXPECT_FALSE(w.B->WhiteToMove());
    EXPECT_EQ(w.ctl.ListBox1->currentRow(), 0);
    EXPECT_EQ(w.Sound.Calls.back(), "sync:PjdSom1.wav");
    // Restart makes it open again at once, with an empty list first.
    w.Form.SpeedButton14Click();
    EXPECT_EQ(w.ctl.Label1->text(), "Restarted game");
    ASSERT_TRUE(PumpUntil([&] { return w.ctl.ListBox1->count() == 1; }));
}

TEST(GameFlow, MessagesAndSoundsOfOneMoveEndWithItsLastEvent) {
    EnsureApplication();
    TWindow w;
    w.PlayHumans();
    // Rxe5+: a capture that checks.
    w.SetUp(Board({"    k", "", "", "    n", "", "", "", "K   R"}));
    ASSERT_TRUE(w.B->PlayerMove(E1, E5));
    EXPECT_EQ(w.ctl.Label1->text(), "Check!");
    EXPECT_EQ(w.Sound.Calls, (std::vector<std::string>{"sync:PjdSom1.wav", "async:Captura.wav",
                                                       "async:Cheque.wav"}));
    // bxa8=Q: a capture that promotes.
    w.Sound.Calls.clear();
    w.SetUp(Board({"r", " P", "", "       k", "", "", "", "    K"}));
    w.B->SetWhiteToMove(true);
    ASSERT_TRUE(w.B->PlayerMove(B7, A8));
    EXPECT_EQ(w.ctl.Label1->text(), QString::fromUtf8("Pe\u00e3o Promovido!"));
    EXPECT_EQ(w.Sound.Calls, (std::vector<std::string>{"sync:PjdSom1.wav", "async:Captura.wav",
                                                       "async:Bell.wav"}));
    // A quiet move leaves the line empty; a refused one says so and plays nothing.
    w.Sound.Calls.clear();
    ASSERT_TRUE(w.B->PlayerMove(H5, H4));
    EXPECT_EQ(w.ctl.Label1->text(), "");
    w.B->OnIllegalMove(w.B, A1);
    EXPECT_EQ(w.ctl.Label1->text(), "Not move allowed!");
    EXPECT_EQ(w.Sound.Calls, (std::vector<std::string>{"sync:PjdSom1.wav"}));
    // With "Sound" off no sound call is made at all.
    w.ctl.CheckBox3->setChecked(false);
    w.Sound.Calls.clear();
    ASSERT_TRUE(w.B->PlayerMove(E1, E2));
    EXPECT_TRUE(w.Sound.Calls.empty());
}

TEST(GameFlow, MateEndsTheGameAndMoveBackReopensIt) {
    EnsureApplication();
    TWindow w;
    w.PlayHumans();
    for (auto [from, to] : {std::pair{F2, F3}, {E7, E5}, {G2, G4}, {D8, H4}})
        ASSERT_TRUE(w.B->PlayerMove(from, to));
    const QStringList lines = w.Lines();
    ASSERT_EQ(lines.size(), 7); // a line per half-move, then the three of the result
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "Checkmate!");
    EXPECT_TRUE(QRegularExpression("^Timer: \\d+:\\d\\d:\\d\\d hs$").match(lines[6]).hasMatch())
        << lines[6].toStdString();
    EXPECT_EQ(w.ctl.Label3->text(), lines[6]);
    EXPECT_EQ(w.ctl.Label1->text(), "Checkmate!");
    EXPECT_FALSE(w.ctl.Panel1->isEnabled());
    EXPECT_EQ(w.Sound.Calls.back(), "async:mate.wav");
    w.Form.SpeedButton4Click();
    EXPECT_TRUE(w.ctl.Panel1->isEnabled());
    // The list is the game's again: the result lines are gone, the moves stay listed.
    EXPECT_EQ(w.ctl.ListBox1->count(), 4);
    EXPECT_TRUE(w.B->WhiteToMove() == false);
    w.Form.SpeedButton5Click();
    EXPECT_EQ(w.ctl.ListBox1->count(), 4);
}

TEST(GameFlow, EachGameIsSignalledOnceWhenItStartsAndOnceWhenItEnds) {
    EnsureApplication();
    TWindow w;
    QSignalSpy started(&w.Form, &TForm1::GameStarted);
    QSignalSpy ended(&w.Form, &TForm1::GameEnded);
    w.ctl.ComboBox1->setCurrentText("Player");
    w.ctl.ComboBox2->setCurrentText("Player");
    w.ctl.SpeedButton1->click(); // "&Play"
    EXPECT_EQ(started.count(), 1);
    // A mate: one end, with the result of the move list, and no new start.
    for (auto [from, to] : {std::pair{F2, F3}, {E7, E5}, {G2, G4}, {D8, H4}})
        ASSERT_TRUE(w.B->PlayerMove(from, to));
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.front().front().toString(), "Checkmate!");
    EXPECT_EQ(started.count(), 1);
    // Move back and forward replay no start and no end.
    w.Form.SpeedButton4Click();
    w.Form.SpeedButton5Click();
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(ended.count(), 1);
    // Restart game starts one, as its key does; a stalemate (the board also counts it as
    // a draw) ends it once.
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::Restart));
    EXPECT_EQ(started.count(), 2);
    w.SetUp(Board({"       k", "", "     K", "      Q"}));
    ASSERT_TRUE(w.B->PlayerMove(G5, G6));
    ASSERT_EQ(ended.count(), 2);
    EXPECT_EQ(ended.back().front().toString(), "The game was a Draw!");
    // New game opens the Play panel without starting anything; Play then starts one.
    w.Form.SpeedButton13Click();
    EXPECT_EQ(started.count(), 2);
    EXPECT_FALSE(w.Form.Run(TForm1::TCommand::Restart)); // the side panel is off
    w.Form.StartGame();
    EXPECT_EQ(started.count(), 3);
    EXPECT_EQ(ended.count(), 2);
}

TEST(GameFlow, TheEndOfALongGameIsInViewAndMoveBackTakesItsMessagesAway) {
    EnsureApplication();
    TWindow w;
    w.Form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.Form));
    w.PlayHumans();
    // Fourteen half-moves, more than the list shows at once, the last a mate.
    for (auto [from, to] : {std::pair{A2, A3}, {A7, A6}, {B2, B3}, {B7, B6}, {C2, C3}, {C7, C6},
                            {H2, H3}, {H7, H6}, {A3, A4}, {A6, A5}, {F2, F3}, {E7, E5},
                            {G2, G4}, {D8, H4}})
        ASSERT_TRUE(w.B->PlayerMove(from, to));
    QListWidget* list = w.ctl.ListBox1;
    ASSERT_EQ(list->count(), 17);
    QCoreApplication::processEvents();
    const QRect view = list->viewport()->rect();
    for (int row : {15, 16})
        EXPECT_TRUE(view.contains(list->visualItemRect(list->item(row))))
            << list->item(row)->text().toStdString();
    w.Form.SpeedButton4Click();
    EXPECT_EQ(w.ctl.Label1->text(), "");
    EXPECT_EQ(w.ctl.Label3->text(), "");
}

TEST(GameFlow, AMoveWhileTheOptionsPanelIsOpenClosesItAndStopsTheMusic) {
    EnsureApplication();
    TWindow w;
    w.PlayHumans();
    w.Form.SpeedButton15Click();
    EXPECT_TRUE(w.ctl.PanelOpc->isVisibleTo(&w.Form));
    EXPECT_FALSE(w.ctl.Panel4->isEnabled());
    EXPECT_EQ(w.Sound.Calls.at(1), "PLAY MUSICA FROM 0");
    w.Sound.Calls.clear();
    ASSERT_TRUE(w.B->PlayerMove(E2, E4));
    EXPECT_FALSE(w.ctl.PanelOpc->isVisibleTo(&w.Form));
    EXPECT_TRUE(w.ctl.Panel4->isEnabled());
    EXPECT_EQ(w.Sound.Calls,
              (std::vector<std::string>{"sync:PjdSom1.wav", "STOP MUSICA", "CLOSE ANIMATION"}));
}

TEST(GameFlow, MusicCommandsFollowTheMusicBox) {
    EnsureApplication();
    TWindow w;
    w.Form.FormActivate();
    const std::string open = "OPEN " + w.Form.MusicFile() + " TYPE SEQUENCER ALIAS MUSICA";
    EXPECT_EQ(w.Sound.Calls,
              (std::vector<std::string>{open, "PLAY MUSICA FROM 0", "CLOSE ANIMATION"}));
    w.Sound.Calls.clear();
    w.ctl.CheckBox4->setChecked(false);
    w.Form.CheckBox4Click();
    w.Form.FormActivate();
    w.Form.SpeedButton13Click();
    EXPECT_EQ(w.Sound.Calls, (std::vector<std::string>{"STOP MUSICA", "CLOSE ANIMATION"}));
}

TEST(GameFlow, NewGameCancelAndTheDifficultyList) {
    EnsureApplication();
    TWindow w;
    // Before the first game Cancel has no game to return to: a click changes nothing.
    w.Form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.Form));
    EXPECT_FALSE(w.ctl.SpeedButton2->isEnabled());
    QTest::mouseClick(w.ctl.SpeedButton2, Qt::LeftButton);
    QTest::keyClick(&w.Form, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(w.ctl.Panel3->isVisible());
    EXPECT_FALSE(w.ctl.Panel4->isEnabled());
    EXPECT_EQ(w.ctl.Label1->text(), "");
    w.Form.hide();
    w.PlayHumans();
    EXPECT_FALSE(w.ctl.ComboBox4->isEnabled());
    ASSERT_TRUE(w.B->PlayerMove(E2, E4));
    w.Form.SpeedButton13Click();
    EXPECT_FALSE(w.ctl.Panel3->isHidden());
    EXPECT_FALSE(w.ctl.Panel1->isEnabled());
    EXPECT_FALSE(w.ctl.Panel4->isEnabled());
    w.ctl.ComboBox2->setCurrentText("Computer");
    w.Form.ComboBox2Change();
    EXPECT_TRUE(w.ctl.ComboBox4->isEnabled());
    w.Form.SpeedButton2Click(); // back to the game in progress
    EXPECT_TRUE(w.ctl.Panel3->isHidden());
    EXPECT_TRUE(w.ctl.Panel1->isEnabled());
    EXPECT_EQ(w.B->PieceAt(E4), 'P');
}

TEST(GameFlow, SkinListsAgreeAndStoneToWoodKeepsTheSquares) {
    EnsureApplication();
    TWindow w;
    w.ctl.ComboBox5->setCurrentIndex(0);
    w.Form.ComboBox5Change();
    EXPECT_EQ(w.ctl.ComboBox3->currentText(), "Red");
    EXPECT_EQ(w.B->SquareLight().size(), QSize(75, 73));
    EXPECT_EQ(w.ctl.Image3->pixmap().size(), QSize(314, 190));
    w.ctl.ComboBox3->setCurrentIndex(2);
    w.Form.ComboBox3Change();
    EXPECT_EQ(w.ctl.ComboBox5->currentText(), "Stone");
    const QImage light = w.B->SquareLight();
    w.ctl.ComboBox3->setCurrentIndex(3);
    w.Form.ComboBox3Change();
    EXPECT_EQ(w.B->SquareLight(), light);
    EXPECT_EQ(w.ctl.Image1->pixmap().size(), QSize(458, 256));
    w.Form.AplicaSkin(7); // no such skin: nothing changes
    EXPECT_EQ(w.ctl.Image2->pixmap().size(), QSize(458, 256));
}

TEST(GameFlow, WindowPlacement) {
    EXPECT_EQ(TForm1::PlaceOnScreen({640, 480}, {633, 457}), QPoint(4, 2));
    EXPECT_EQ(TForm1::PlaceOnScreen({1024, 768}, {633, 457}), QPoint(196, 156));
    EXPECT_EQ(TForm1::PlaceOnScreen({1023, 767}, {633, 457}), QPoint(195, 155));
}

TEST(GameFlow, ClosingWhileTheComputerThinksEndsAtOnce) {
    EnsureApplication();
    for (auto button :
         {&TForm1::SpeedButton7Click, &TForm1::SpeedButton17Click, &TForm1::SpeedButton3Click}) {
        TWindow w;
        w.Form.show();
        w.ctl.ComboBox1->setCurrentText("Computer");
        w.ctl.ComboBox2->setCurrentText("Computer");
        w.ctl.ComboBox4->setCurrentIndex(4);
        w.Form.SpeedButton1Click();
        PumpUntil([&] { return w.B->Thinking(); }, 3000);
        (w.Form.*button)();
        EXPECT_FALSE(w.Form.isVisible());
        EXPECT_EQ(w.Form.Board(), nullptr);
    }
}

} // namespace
