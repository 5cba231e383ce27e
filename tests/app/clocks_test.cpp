// The game clocks of the main window, driven by a time source of the test's own: a flag
// fall ends the game (a loss, or a draw when the other side cannot mate) and halts the
// computer; the clocks stand still at the game's end, under the Play panel and while the
// person looks back in the history, and go back with a move played from there; the chosen
// control survives a restart; the PGN carries the control and every move's clock.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <filesystem>

#include "ClockChoice.h"
#include "ClockPanel.h"
#include "Clocks.h"
#include "GameFiles.h"
#include "MainWindowSupport.h"
#include "PgnReader.h"
#include "ProgramSettings.h"
#include "StartOptions.h"
#include "UciEngine.h"

namespace {

QAction* ClockChoiceNamed(TForm1& form, const QString& name) {
    for (QAction* a : form.Commands())
        if (a->menu() && a->objectName() == "ClockMenu")
            for (QAction* c : a->menu()->actions())
                if (c->objectName() == name) return c;
    return nullptr;
}

// A window whose clocks read the test's time; both sides are persons unless a test says
// otherwise.
struct TClockWindow : TFilesWindow {
    std::int64_t Now = 1'000'000;
    TClocks* Clocks = InstallClocks(Form, Files, nullptr, nullptr, [this] { return Now; });

    explicit TClockWindow(const char* control = "Clock:Blitz 3+2") {
        B->SetAnimateMoves(false);
        Controls(Form).ComboBox1->setCurrentText("Player");
        Controls(Form).ComboBox2->setCurrentText("Player");
        QAction* choice = ClockChoiceNamed(Form, control);
        EXPECT_NE(choice, nullptr) << control;
        if (choice) choice->trigger();
    }
    // Time passes, then the window's timer ticks.
    void Pass(std::int64_t ms) {
        Now += ms;
        Clocks->Tick();
    }
    // A move after ms of thought.
    bool Move(Square from, Square to, std::int64_t ms = 0) {
        Pass(ms);
        return B->PlayerMove(from, to);
    }
    std::int64_t Left(bool white) const { return Clocks->Clock().Remaining(white); }
    QString LastLine() const {
        const auto* list = Controls(Form).ListBox1;
        return list->count() ? list->item(list->count() - 1)->text() : QString();
    }
};

constexpr std::int64_t kMinute = 60'000;

} // namespace

TEST(Clocks, AFallenFlagLosesTheGameOnceAndFreezesTheBoard) {
    EnsureApplication();
    TClockWindow w;
    QSignalSpy ended(&w.Form, &TForm1::GameEnded);
    Controls(w.Form).SpeedButton1->click();
    // Nothing runs before the first move, and White's first move costs nothing.
    w.Pass(10 * kMinute);
    EXPECT_EQ(w.Clocks->Clock().State(), TClockState::Idle);
    ASSERT_TRUE(w.Move(E2, E4));
    EXPECT_EQ(w.Left(true), 3 * kMinute + 2000);
    ASSERT_TRUE(w.Move(E7, E5, 1000));
    EXPECT_EQ(w.Left(false), 3 * kMinute + 1000);
    EXPECT_TRUE(w.Clocks->Panel()->Face(true)->Running());
    EXPECT_FALSE(w.Clocks->Panel()->Face(false)->Running());

    // A tenth of a second short of the flag the game goes on; then it falls.
    w.Pass(3 * kMinute + 2000 - 100);
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(w.Clocks->Panel()->Face(true)->text(), "0:00.1");
    w.Pass(100);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.at(0).at(0).toString(), "Black won: 0-1");
    EXPECT_EQ(w.Form.MessageLine(), "White lost on time");
    EXPECT_EQ(w.LastLine(), "Black won: 0-1");
    EXPECT_FALSE(Controls(w.Form).Panel1->isEnabled());
    EXPECT_TRUE(w.Clocks->Panel()->Face(true)->Flagged());
    EXPECT_TRUE(w.B->Answer(TBoardQuestion::Clock)
                    .startsWith("White has 0:00.0, Black has 3:01, White's flag has fallen"))
        << w.B->Answer(TBoardQuestion::Clock).toStdString();
    // The flag falls once, however long the window stays open.
    w.Pass(kMinute);
    EXPECT_EQ(ended.count(), 1);

    // Stepping back and forward takes the game's mark away; the flagged position stays
    // frozen all the same.
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveBack));
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveForward));
    w.Pass(100);
    EXPECT_FALSE(Controls(w.Form).Panel1->isEnabled());
    EXPECT_NE(w.B->GameOver(), TGameOver::None);
    EXPECT_EQ(ended.count(), 1);
}

TEST(Clocks, AFlagFallsAsADrawWhenTheOtherSideCannotMate) {
    EnsureApplication();
    TClockWindow w("Clock:Bullet 1+0");
    Controls(w.Form).SpeedButton1->click();
    // White: king and pawn; Black: king and knight, which cannot mate.
    w.B->SetPosition(Board({"    k", "", "", "", "", "", "    P", "    K  n"}).toStdString());
    ASSERT_TRUE(w.Move(E2, E3));
    ASSERT_TRUE(w.Move(H1, G3, 500));
    w.Pass(kMinute);
    EXPECT_EQ(w.Form.MessageLine(), "Draw: time out, Black cannot mate");
    EXPECT_EQ(w.LastLine(), "Drawn: 1/2-1/2");

    // The other way round the knight's side loses: a lone pawn could still mate.
    Controls(w.Form).SpeedButton14->click();
    w.B->SetPosition(Board({"    k", "", "", "", "", "", "    P", "    K  n"}).toStdString());
    ASSERT_TRUE(w.Move(E2, E3));
    w.Pass(kMinute);
    EXPECT_EQ(w.Form.MessageLine(), "Black lost on time");
    EXPECT_EQ(w.LastLine(), "White won: 1-0");
}

TEST(Clocks, TheComputerStopsWhenItsFlagFalls) {
    EnsureApplication();
    TClockWindow w("Clock:Bullet 1+0");
    Controls(w.Form).ComboBox2->setCurrentText("Computer");
    Controls(w.Form).SpeedButton1->click();
    ASSERT_TRUE(w.Move(E2, E4));
    EXPECT_TRUE(w.B->ComputerThinking());
    // Its time runs out before its answer can land.
    w.Pass(kMinute);
    EXPECT_EQ(w.Form.MessageLine(), "Black lost on time");
    EXPECT_FALSE(w.B->ComputerThinking());
    const std::string position = w.B->Position();
    PumpUntil([] { return false; }, 600);
    EXPECT_EQ(w.B->Position(), position);
    EXPECT_FALSE(w.B->WhiteToMove());
}

TEST(Clocks, StandStillAtTheEndUnderThePlayPanelAndWhileSteppedBack) {
    EnsureApplication();
    TClockWindow w;
    Controls(w.Form).SpeedButton1->click();
    ASSERT_TRUE(w.Move(E2, E4));
    ASSERT_TRUE(w.Move(E7, E5, 1000));
    // White thinks 2 s, then looks back a move: its clock stops there.
    w.Pass(2000);
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveBack));
    w.Pass(0);
    EXPECT_EQ(w.Clocks->Clock().State(), TClockState::Paused);
    w.Pass(kMinute);
    EXPECT_EQ(w.Left(true), 3 * kMinute);
    EXPECT_FALSE(w.Clocks->Panel()->Face(true)->Running());
    // Back at the latest position it runs again.
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveForward));
    w.Pass(0);
    w.Pass(1000);
    EXPECT_EQ(w.Left(true), 3 * kMinute - 1000);

    // "New game" suspends the game under the Play panel; Cancel goes back to it.
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::NewGame));
    w.Pass(0);
    w.Pass(kMinute);
    EXPECT_EQ(w.Left(true), 3 * kMinute - 1000);
    Controls(w.Form).SpeedButton2->click();
    w.Pass(0);
    w.Pass(500);
    EXPECT_EQ(w.Left(true), 3 * kMinute - 1500);

    // Play goes on from an earlier position: the clocks as they were there (Black to move
    // after 1. e4, White with its increment), then Black's move counted as made at once.
    ASSERT_TRUE(w.Form.Run(TForm1::TCommand::MoveBack));
    w.Pass(0);
    w.Pass(5000);
    ASSERT_TRUE(w.Move(D7, D5));
    EXPECT_EQ(w.Clocks->Clock().History().size(), 3u);
    EXPECT_EQ(w.Left(true), 3 * kMinute + 2000);
    EXPECT_EQ(w.Left(false), 3 * kMinute + 2000);
    EXPECT_EQ(w.Clocks->Clock().State(), TClockState::Running);

    // The mate ends the game: the mating move is counted and nothing runs afterwards.
    Controls(w.Form).SpeedButton14->click();
    for (auto [from, to] : {std::pair{F2, F3}, {E7, E5}, {G2, G4}, {D8, H4}})
        ASSERT_TRUE(w.Move(from, to, 1000));
    EXPECT_EQ(w.Form.MessageLine(), "Checkmate!");
    EXPECT_EQ(w.Clocks->Clock().State(), TClockState::Stopped);
    EXPECT_EQ(w.Clocks->Clock().History().size(), 5u);
    const std::int64_t white = w.Left(true), black = w.Left(false);
    w.Pass(10 * kMinute);
    EXPECT_EQ(w.Left(true), white);
    EXPECT_EQ(w.Left(false), black);
    EXPECT_FALSE(w.Clocks->Panel()->Face(true)->Running());
}

TEST(Clocks, TheChosenControlSurvivesARestartAndNoClockShowsNone) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    {
        TForm1 form(&sound);
        TClocks* clocks = InstallClocks(form, nullptr, nullptr, nullptr);
        EXPECT_TRUE(clocks->Control().Untimed());
        EXPECT_TRUE(clocks->Panel()->isHidden());
        ClockChoiceNamed(form, "Clock:Rapid 10+5")->trigger();
        EXPECT_FALSE(clocks->Panel()->isHidden());
    }
    {
        TForm1 form(&sound);
        TClocks* clocks = InstallClocks(form, nullptr, nullptr, nullptr);
        EXPECT_EQ(clocks->Control().Name, "Rapid 10+5");
        EXPECT_EQ(clocks->Panel()->Face(true)->text(), "10:00");
        // A custom control is asked for in minutes and seconds.
        const auto before = AskCustomTimeControl;
        AskCustomTimeControl = [](int& minutes, int& seconds) {
            minutes = 7;
            seconds = 3;
            return true;
        };
        ClockChoiceNamed(form, "Clock:Custom")->trigger();
        AskCustomTimeControl = before;
        EXPECT_EQ(clocks->Control().Name, "Custom 7+3");
    }
    {
        TForm1 form(&sound);
        TClocks* clocks = InstallClocks(form, nullptr, nullptr, nullptr);
        EXPECT_EQ(clocks->Control().BaseMillis, 7 * kMinute);
        EXPECT_EQ(clocks->Control().IncrementMillis, 3000);
        ClockChoiceNamed(form, "Clock:No clock")->trigger();
        EXPECT_FALSE(OpenProgramSettings()->contains("Clock/Base"));
    }
    // Nonsense in the file is no clock.
    OpenProgramSettings()->setValue("Clock/Base", "soon");
    TForm1 form(&sound);
    TClocks* clocks = InstallClocks(form, nullptr, nullptr, nullptr);
    EXPECT_TRUE(clocks->Control().Untimed());
    Controls(form).ComboBox1->setCurrentText("Player");
    Controls(form).ComboBox2->setCurrentText("Player");
    Controls(form).SpeedButton1->click();
    ASSERT_TRUE(form.Board()->PlayerMove(E2, E4));
    EXPECT_TRUE(clocks->Panel()->isHidden());
    strong::TSearchLimits limits;
    EXPECT_FALSE(clocks->SearchLimits(limits));
}

TEST(Clocks, ThePgnCarriesTheControlAndEveryMovesClock) {
    EnsureApplication();
    TClockWindow w;
    Controls(w.Form).SpeedButton1->click();
    ASSERT_TRUE(w.Move(E2, E4));
    ASSERT_TRUE(w.Move(E7, E5, 4000));
    ASSERT_TRUE(w.Move(G1, F3, 12'300));
    w.Pass(3 * kMinute + 2000);
    ASSERT_EQ(w.Form.MessageLine(), "Black lost on time");

    GameRecord record;
    std::string error;
    ASSERT_TRUE(ReadPgn(w.Files->GamePgn().toStdString(), record, error)) << error;
    EXPECT_EQ(record.Tag("TimeControl"), "180+2");
    EXPECT_EQ(record.Tag("Termination"), "time forfeit");
    EXPECT_EQ(record.Result, "1-0");
    ASSERT_EQ(record.Moves.size(), 3u);
    EXPECT_EQ(record.Note(0).ClockMillis, 182'000);
    EXPECT_EQ(record.Note(1).ClockMillis, 178'000);
    // The clock is written in whole seconds.
    EXPECT_EQ(record.Note(2).ClockMillis, 171'000);
}

TEST(Clocks, TheComputersSearchIsGivenBothClocks) {
    EnsureApplication();
    TClockWindow w("Clock:Rapid 10+5");
    strong::TSearchLimits limits;
    limits.MoveTime = 1000;
    // Before the game's first move the clocks stand at the control's start.
    ASSERT_TRUE(w.Clocks->SearchLimits(limits));
    EXPECT_EQ(limits.MoveTime, 0);
    EXPECT_EQ(limits.Time[strong::White], 10 * kMinute);
    EXPECT_EQ(limits.Inc[strong::Black], 5000);
    Controls(w.Form).SpeedButton1->click();
    ASSERT_TRUE(w.Move(E2, E4));
    ASSERT_TRUE(w.Move(E7, E5, 7000));
    w.Pass(1000);
    ASSERT_TRUE(w.Clocks->SearchLimits(limits));
    EXPECT_EQ(limits.Time[strong::White], 10 * kMinute + 5000 - 1000);
    EXPECT_EQ(limits.Time[strong::Black], 10 * kMinute - 2000);
}

TEST(Clocks, AnEngineProgramIsToldBothClocksInPlaceOfADepth) {
    EnsureApplication();
    const QString fake = QString::fromStdString(
        (std::filesystem::canonical("/proc/self/exe").parent_path() / "fake_uci_engine.sh")
            .string());
    QTemporaryDir dir;
    const QString log = dir.path() + "/sent.log";
    qputenv("FAKE_UCI_MODE", "good");
    qputenv("FAKE_UCI_MOVE", "e7e5");
    qputenv("FAKE_UCI_LOG", log.toUtf8());
    TTempHome home;
    TRecordingSound sound;
    TForm1 form(&sound);
    TGameFiles* files = InstallGameFiles(form, TStartOptions{});
    TStartOptions options;
    options.EnginePath = fake;
    TUciPlayer* program = InstallUciEngine(form, options, files);
    std::int64_t now = 0;
    TClocks* clocks = InstallClocks(form, files, nullptr, program, [&now] { return now; });
    ClockChoiceNamed(form, "Clock:Blitz 3+2")->trigger();
    Controls(form).ComboBox1->setCurrentText("Player");
    Controls(form).ComboBox2->setCurrentText("Computer");
    Controls(form).SpeedButton1->click();
    now += 5000;
    ASSERT_TRUE(form.Board()->PlayerMove(E2, E4));
    ASSERT_TRUE(PumpUntil([&] { return form.Board()->WhiteToMove(); }, 10000));
    QFile sent(log);
    ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(sent.readAll());
    EXPECT_TRUE(lines.contains("go wtime 182000 btime 180000 winc 2000 binc 2000"))
        << lines.toStdString();
    EXPECT_FALSE(lines.contains("go depth"));
    EXPECT_EQ(clocks->Clock().History().size(), 3u);
}
