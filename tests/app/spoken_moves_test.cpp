// Moves said aloud on the main window: the choice in the context menu and chesszel.conf, and
// what a game on the window says through a speaker that writes the phrases down.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <memory>

#include "ChessBrd.h"
#include "GameFiles.h"
#include "StartOptions.h"
#include "MainWindowSupport.h"
#include "PlayOptions.h"
#include "PromotionChooser.h"
#include "Speech.h"

// Phrases in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class TWrittenSpeaker : public TSpeaker {
  public:
    void Say(const QString& text) override { Said << text; }
    QStringList Said;
};

struct TWindow {
    std::shared_ptr<TWrittenSpeaker> Voice = std::make_shared<TWrittenSpeaker>();
    TRecordingSound Sound;
    TForm1 Form{&Sound};
    TMainControls ctl{Form};
    TChessBrd* B = ctl.ChessBrd1;

    TWindow() {
        InstallPlayOptions(Form, Voice);
        B->SetAnimateMoves(false);
    }
    QAction* Choice() { return PlayCommand(Form, "SpeakMoves"); }
    void Speak(bool on) {
        ASSERT_NE(Choice(), nullptr);
        if (Choice()->isChecked() != on) Choice()->trigger();
    }
    void Play(const char* white, const char* black) {
        ctl.ComboBox1->setCurrentText(white);
        ctl.ComboBox2->setCurrentText(black);
        Form.ComboBox1Change();
        Form.SpeedButton1Click();
    }
    void SetUp(const QString& position, bool whiteToMove = true) {
        Play("Player", "Player");
        B->SetPositionText(position);
        B->SetCastlingAllowedBits(0);
        B->SetWhiteToMove(whiteToMove);
    }
    // Plays the moves and answers what they said.
    QStringList Moves(std::initializer_list<std::pair<Square, Square>> moves) {
        Voice->Said.clear();
        for (const auto& [from, to] : moves)
            if (!B->PlayerMove(from, to)) ADD_FAILURE() << "refused: " << int(from) << "-" << int(to);
        return Voice->Said;
    }
};

} // namespace

TEST(SpokenMoves, TheChoiceStartsOffAndSaysNothing) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    QAction* a = w.Choice();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), "Speak moves");
    EXPECT_TRUE(a->isCheckable());
    EXPECT_FALSE(a->isChecked());
    EXPECT_TRUE(w.Form.actions().contains(a));
    w.Play("Player", "Player");
    EXPECT_TRUE(w.Moves({{E2, E4}, {E7, E5}, {D1, H5}, {B8, C6}, {F1, C4}, {G8, F6}, {H5, F7}})
                    .isEmpty());
    EXPECT_EQ(w.ctl.Label1->text(), "Checkmate!");
}

TEST(SpokenMoves, AGameIsToldMoveByMoveToItsEnd) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    w.Speak(true);
    w.Play("Player", "Player");
    EXPECT_EQ(w.Moves({{E2, E4}, {E7, E5}, {D1, H5}, {B8, C6}, {F1, C4}, {G8, F6}, {H5, F7}}),
              (QStringList{"Pawn e2 to e4", "Pawn e7 to e5", "Queen d1 to h5", "Knight b8 to c6",
                           "Bishop f1 to c4", "Knight g8 to f6",
                           "Queen h5 takes f7, checkmate. White wins."}));

    // A capture that checks, and castling.
    w.SetUp(Board({"    k", "", "", "    n", "", "", "", "K   R"}));
    EXPECT_EQ(w.Moves({{E1, E5}}), QStringList{"Rook e1 takes e5, check"});
    w.SetUp(Board({"r   k  r", "", "", "", "", "", "", "    K"}), false);
    w.B->SetCastlingAllowedBits(0x0F);
    EXPECT_EQ(w.Moves({{E8, C8}}), QStringList{"Castles queen side"});

    // Taken en passant: the pawn that goes is not on the square moved to.
    w.SetUp(Board({"    k", "   p", "", "    P", "", "", "", "    K"}), false);
    EXPECT_EQ(w.Moves({{D7, D5}, {E5, D6}}), (QStringList{"Pawn d7 to d5", "Pawn e5 takes d6"}));
}

TEST(SpokenMoves, APromotionNamesThePieceChosen) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    w.Speak(true);
    w.Form.show();
    w.SetUp(Board({"r     k", " P     p", "", "", "", "", "", "    K"}));
    // The chooser's own event loop runs inside the move; the phrase waits for its end.
    QTimer::singleShot(0, &w.Form, [&w] {
        auto* c = w.Form.findChild<TPromotionChooser*>();
        ASSERT_NE(c, nullptr);
        QTest::keyClick(c, Qt::Key_N);
    });
    EXPECT_EQ(w.Moves({{B7, A8}}), QStringList{"Pawn b7 takes a8 promotes to knight"});
    EXPECT_EQ(w.B->PieceAt(A8), 'N');
    // Without the chooser every promotion makes a queen, and says so.
    PlayCommand(w.Form, "ChoosePromotion")->trigger();
    w.SetUp(Board({"      k", "", "", "", "", "", " p", "    K"}), false);
    EXPECT_EQ(w.Moves({{B2, B1}}), QStringList{"Pawn b2 to b1 promotes to queen, check"});
}

TEST(SpokenMoves, EveryKindOfDrawIsToldInPlainWords) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    w.Speak(true);
    w.SetUp(Board({"       k", "", "     K", "      Q"}));
    EXPECT_EQ(w.Moves({{G5, G6}}), QStringList{"Queen g5 to g6. Stalemate. The game is a draw."});
    EXPECT_EQ(w.ctl.Label1->text(), "The game was a Draw!");
    w.SetUp(Board({"k", "", "", "   r", "    K"}));
    EXPECT_EQ(w.Moves({{E4, D5}}),
              QStringList{"King e4 takes d5. Neither side can checkmate. The game is a draw."});
    w.Play("Player", "Player");
    const QStringList said =
        w.Moves({{G1, F3}, {G8, F6}, {F3, G1}, {F6, G8}, {G1, F3}, {G8, F6}, {F3, G1}, {F6, G8}});
    ASSERT_EQ(said.size(), 8);
    EXPECT_EQ(said.back(),
              "Knight f6 to g8. The same position has come three times. The game is a draw.");
    EXPECT_EQ(said.front(), "Knight g1 to f3");
}

TEST(SpokenMoves, TheComputersMovesAreToldAndTheHistoryIsNot) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    w.Speak(true);
    w.Play("Player", "Computer");
    ASSERT_TRUE(w.B->PlayerMove(E2, E4));
    ASSERT_TRUE(PumpUntil([&] { return w.Voice->Said.size() == 2; }));
    EXPECT_EQ(w.Voice->Said.front(), "Pawn e2 to e4");
    const QRegularExpression reply("^(Pawn|Knight) [a-h][78] (to|takes) [a-h][3-6]$");
    EXPECT_TRUE(reply.match(w.Voice->Said.back()).hasMatch()) << w.Voice->Said.back().toStdString();

    // Back and forward through the moves made: nothing new is said.
    w.Play("Player", "Player");
    w.Moves({{D2, D4}, {D7, D5}, {C2, C4}});
    w.Voice->Said.clear();
    for (const char* step : {"MoveBack", "MoveBack", "MoveForward", "MoveBack", "MoveForward",
                             "MoveForward"})
        PlayCommand(w.Form, step)->trigger();
    EXPECT_EQ(w.B->PieceAt(C4), 'P');
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.Voice->Said.isEmpty()) << w.Voice->Said.join(" | ").toStdString();
    // Turned off in the middle of a game, it says nothing more.
    w.Speak(false);
    EXPECT_TRUE(w.Moves({{D5, C4}}).isEmpty());
}

TEST(SpokenMoves, AGameLoadedIsToldByItsLastMoveOnly) {
    EnsureApplication();
    TTempHome home;
    TWindow w;
    TGameFiles* files = InstallGameFiles(w.Form, TStartOptions{});
    w.Speak(true);
    w.Play("Player", "Player");
    w.Voice->Said.clear();
    QString error;
    ASSERT_TRUE(files->LoadText("1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Bxc6 *", error))
        << error.toStdString();
    EXPECT_EQ(w.Voice->Said, QStringList{"Bishop b5 takes c6"});
    // The game goes on and is told as before.
    EXPECT_EQ(w.Moves({{D7, C6}}), QStringList{"Pawn d7 takes c6"});
}

TEST(SpokenMoves, TheChoiceIsKeptInTheProgramsOwnSettings) {
    EnsureApplication();
    TTempHome home;
    {
        TWindow w;
        w.Speak(true);
    }
    QFile conf(home.ConfigPath() + "/chesszel/chesszel.conf");
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    const QByteArray text = conf.readAll();
    EXPECT_TRUE(text.contains("[Play]")) << text.constData();
    EXPECT_TRUE(text.contains("SpeakMoves=true")) << text.constData();
    QFile ini(QString::fromStdString(home.SettingsFile()));
    if (ini.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(ini.readAll().contains("SpeakMoves"));
    }

    {
        TWindow again;
        EXPECT_TRUE(again.Choice()->isChecked());
        again.Play("Player", "Player");
        EXPECT_EQ(again.Moves({{G1, F3}}), QStringList{"Knight g1 to f3"});
        again.Speak(false);
    }
    TWindow third;
    EXPECT_FALSE(third.Choice()->isChecked());
}
