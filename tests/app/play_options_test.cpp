// The main window's ways of playing: the switches kept in chesszel.conf, the promotion
// chooser, the hint and the keyboard shortcuts of the commands.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "ChessBrd.h"
#include "Hint.h"
#include "MainWindowSupport.h"
#include "PlayOptions.h"
#include "PromotionChooser.h"

namespace {

struct TWindow {
    TRecordingSound Sound;
    TForm1 Form{&Sound};
    TMainControls ctl{Form};
    TChessBrd* B = ctl.ChessBrd1;

    TWindow() {
        InstallPlayOptions(Form);
        B->SetAnimateMoves(false);
    }
    void PlayHumans() {
        ctl.ComboBox1->setCurrentText("Player");
        ctl.ComboBox2->setCurrentText("Player");
        Form.ComboBox1Change();
        Form.SpeedButton1Click();
    }
    void Trigger(const char* name) {
        QAction* a = PlayCommand(Form, name);
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }
    // Runs fn on the chooser as soon as one is shown.
    void OnChooser(std::function<void(TPromotionChooser*)> fn) {
        QTimer::singleShot(0, &Form, [this, fn] {
            auto* c = Form.findChild<TPromotionChooser*>();
            ASSERT_NE(c, nullptr);
            fn(c);
        });
    }
};

} // namespace

TEST(PlayOptions, SwitchesAreOnByDefaultAndKeptInTheProgramSettings) {
    EnsureApplication();
    TTempHome home;
    {
        TWindow w;
        EXPECT_TRUE(w.B->ClickToMove());
        EXPECT_TRUE(w.B->ShowLegalMoves());
        EXPECT_TRUE(w.B->HighlightLastMove());
        EXPECT_TRUE(w.B->HighlightCheck());
        EXPECT_TRUE(w.B->KeyboardPlay());
        w.Trigger("ShowLegalMoves");
        w.Trigger("KeyboardPlay");
        EXPECT_FALSE(w.B->ShowLegalMoves());
        EXPECT_FALSE(w.B->KeyboardPlay());
    }
    QFile conf(home.ConfigPath() + "/chesszel/chesszel.conf");
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    const QByteArray text = conf.readAll();
    EXPECT_TRUE(text.contains("ShowLegalMoves=false")) << text.constData();
    EXPECT_TRUE(text.contains("ClickToMove=true")) << text.constData();
    // Kavrel.ini keeps only its own keys.
    QFile ini(QString::fromStdString(home.SettingsFile()));
    if (ini.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(ini.readAll().contains("ShowLegalMoves"));
    }

    TWindow again;
    EXPECT_FALSE(again.B->ShowLegalMoves());
    EXPECT_FALSE(again.B->KeyboardPlay());
    EXPECT_TRUE(again.B->HighlightCheck());
    EXPECT_FALSE(PlayCommand(again.Form, "ShowLegalMoves")->isChecked());
}

TEST(PlayOptions, EveryShortcutHasItsCommand) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    const std::pair<const char*, QKeySequence> keys[] = {
        {"NewGame", QKeySequence("Ctrl+N")},  {"Restart", QKeySequence("Ctrl+R")},
        {"MoveBack", QKeySequence("Ctrl+Z")}, {"MoveForward", QKeySequence("Ctrl+Shift+Z")},
        {"Save", QKeySequence("Ctrl+S")},     {"Open", QKeySequence("Ctrl+O")},
        {"Print", QKeySequence("Ctrl+P")},    {"Help", QKeySequence("F1")},
        {"Flip", QKeySequence("F")},          {"Hint", QKeySequence("H")},
        {"Exit", QKeySequence("Ctrl+Q")}};
    for (const auto& [name, key] : keys) {
        QAction* a = PlayCommand(w.Form, name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->shortcut(), key) << name;
        EXPECT_TRUE(w.Form.actions().contains(a)) << name;
    }

    // Back and forward step through the game, as the side panel's buttons do.
    w.PlayHumans();
    ASSERT_TRUE(w.B->PlayerMove(E2, E4));
    w.Trigger("MoveBack");
    EXPECT_EQ(w.B->PieceAt(E2), 'P');
    w.Trigger("MoveForward");
    EXPECT_EQ(w.B->PieceAt(E4), 'P');
    // The flip turns the board and the options panel's orientation with it.
    const bool top = w.B->WhiteOnTop();
    w.Trigger("Flip");
    EXPECT_NE(w.B->WhiteOnTop(), top);
    EXPECT_EQ(w.Form.RadioGroup1Index() == 0, w.B->WhiteOnTop());
    w.Trigger("Flip");
    EXPECT_EQ(w.B->WhiteOnTop(), top);
    // While the Play panel is up the side panel is off, and so are its keys.
    w.Trigger("NewGame");
    ASSERT_FALSE(w.ctl.Panel4->isEnabled());
    w.Trigger("MoveBack");
    EXPECT_EQ(w.B->PieceAt(E4), 'P');
}

TEST(PlayOptions, PromotionChooserForEachPieceAndColour) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    w.PlayHumans();
    w.Form.show();
    const struct {
        bool White;
        Qt::Key Key;
        char Expected;
    } cases[] = {{true, Qt::Key_Return, 'Q'}, {true, Qt::Key_R, 'R'},       {true, Qt::Key_B, 'B'},
                 {true, Qt::Key_N, 'N'},      {false, Qt::Key_Escape, 'q'}, {false, Qt::Key_R, 'r'},
                 {false, Qt::Key_B, 'b'},     {false, Qt::Key_N, 'n'}};
    for (const auto& c : cases) {
        w.B->SetPositionText(Board({"", "P", "       k", "", "", "K", "       p", ""}));
        w.B->SetCastlingAllowedBits(0);
        w.B->SetWhiteToMove(c.White);
        w.OnChooser([&c](TPromotionChooser* chooser) { QTest::keyClick(chooser, c.Key); });
        const Square from = c.White ? A7 : H2, to = c.White ? A8 : H1;
        ASSERT_TRUE(w.B->PlayerMove(from, to));
        EXPECT_EQ(w.B->PieceAt(to), c.Expected);
        EXPECT_EQ(w.ctl.Label1->text(), QString::fromUtf8("Pe\u00e3o Promovido!"));
    }
    // The arrow keys and a click choose as well.
    w.B->SetPositionText(Board({"", "P", "       k", "", "", "K", "", ""}));
    w.B->SetWhiteToMove(true);
    w.OnChooser([](TPromotionChooser* chooser) {
        QTest::keyClick(chooser, Qt::Key_Down);
        QTest::keyClick(chooser, Qt::Key_Down);
        QTest::keyClick(chooser, Qt::Key_Enter);
    });
    ASSERT_TRUE(w.B->PlayerMove(A7, A8));
    EXPECT_EQ(w.B->PieceAt(A8), 'B');
    w.B->SetPositionText(Board({"", "P", "       k", "", "", "K", "", ""}));
    w.B->SetWhiteToMove(true);
    w.OnChooser([](TPromotionChooser* chooser) { chooser->Button(3)->click(); });
    ASSERT_TRUE(w.B->PlayerMove(A7, A8));
    EXPECT_EQ(w.B->PieceAt(A8), 'N');
}

TEST(PlayOptions, ComputerAndAlwaysQueenPromoteToAQueenWithoutAsking) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    w.PlayHumans();
    w.B->SetPromotionPiece('n');
    w.Trigger("ChoosePromotion");
    w.B->SetPositionText(Board({"", "P", "       k", "", "", "K", "", ""}));
    w.B->SetWhiteToMove(true);
    ASSERT_TRUE(w.B->PlayerMove(A7, A8));
    EXPECT_EQ(w.B->PieceAt(A8), 'Q');
    EXPECT_EQ(w.Form.findChild<TPromotionChooser*>(), nullptr);

    w.Trigger("ChoosePromotion");
    w.B->SetPromotionPiece('r');
    w.B->SetPositionText(Board({"       k", "", "", "", "", "", "p", "       K"}));
    w.B->SetWhiteToMove(false);
    // The computer's promotion comes with its own piece: nobody is asked, and neither the
    // board's PromotionPiece nor the chooser decides it.
    bool asked = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &w.Form, [&] {
        if (auto* c = w.Form.findChild<TPromotionChooser*>()) {
            asked = true;
            c->Button(1)->click();
        }
    });
    watch.start(10);
    w.B->SetSearchDepth(1);
    w.B->SetComputerPlaysBlack(true);
    ASSERT_TRUE(PumpUntil([&] { return w.B->PieceAt(A1) != ' '; }, 10000));
    w.B->SetComputerPlaysBlack(false);
    EXPECT_EQ(w.B->PieceAt(A1), 'q');
    EXPECT_FALSE(asked);
    EXPECT_EQ(w.B->PromotionPiece(), 'r');
}

TEST(PlayOptions, HintShowsAMoveWithoutChangingTheGame) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    w.PlayHumans();
    // White mates in one: the hint finds it at any level.
    w.B->SetPositionText(Board({"      k ", "     ppp", "", "", "", "", "", "R     K "}));
    w.B->SetCastlingAllowedBits(0);
    w.B->SetWhiteToMove(true);
    w.B->SetSearchDepth(2);
    const std::string before = w.B->Position();
    const int last = w.B->HistoryLastMove();
    auto* hint = w.Form.findChild<THint*>();
    ASSERT_NE(hint, nullptr);
    w.Trigger("Hint");
    ASSERT_TRUE(PumpUntil([&] { return w.B->MarksAt(A8) != 0; }, 20000));
    EXPECT_EQ(w.B->MarksAt(A1), TChessBrd::mkSuggest);
    EXPECT_EQ(w.B->Position(), before);
    EXPECT_TRUE(w.B->WhiteToMove());
    EXPECT_EQ(w.B->HistoryLastMove(), last);
    EXPECT_EQ(w.B->MarksAt(A8), TChessBrd::mkSuggest);
    // No hint for the computer's move.
    w.B->SetWhiteToMove(false);
    w.B->SetComputerPlaysBlack(true);
    w.Trigger("Hint");
    EXPECT_FALSE(hint->Busy());
}
