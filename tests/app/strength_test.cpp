// The Strength submenu: a strong level of the ladder plays the computer's side, is named on
// the level line and survives a restart through chesszel.conf; a plain level is the
// Difficulty; a program chosen to play stands over the ladder.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <filesystem>

#include "LadderPlayer.h"
#include "MainWindowSupport.h"
#include "ProgramSettings.h"
#include "StartOptions.h"
#include "Strength.h"
#include "UciEngine.h"

namespace {

const QString kFake = QString::fromStdString(
    (std::filesystem::canonical("/proc/self/exe").parent_path() / "fake_uci_engine.sh").string());

QAction* StrengthChoice(TForm1& form, const QString& name) {
    for (QAction* a : form.Commands())
        if (a->menu() && a->objectName() == "StrengthMenu")
            for (QAction* c : a->menu()->actions())
                if (c->objectName() == name) return c;
    return nullptr;
}

QAction* Checked(TForm1& form) {
    for (QAction* a : form.Commands())
        if (a->menu() && a->objectName() == "StrengthMenu") {
            emit a->menu()->aboutToShow();
            for (QAction* c : a->menu()->actions())
                if (c->isChecked()) return c;
        }
    return nullptr;
}

// Starts a game with the person as White against the computer.
void Play(TForm1& form) {
    Controls(form).ComboBox1->setCurrentText("Player");
    Controls(form).ComboBox2->setCurrentText("Computer");
    Controls(form).SpeedButton1->click();
}

} // namespace

TEST(Strength, AStrongLevelPlaysIsNamedOnTheLevelLineAndSurvivesARestart) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    {
        TForm1 form(&sound);
        TLadderPlayer* ladder = InstallStrength(form, nullptr);
        ASSERT_NE(ladder, nullptr);
        // Today's behaviour until a level is chosen.
        EXPECT_FALSE(form.Board()->CustomEngine());
        QAction* expert = StrengthChoice(form, "Strength:Expert 2300");
        ASSERT_NE(expert, nullptr);
        expert->trigger();
        EXPECT_EQ(OpenProgramSettings()->value("Strength/Level").toString(), "Expert 2300");
        EXPECT_EQ(&form.Board()->ComputerPlayer(), ladder);
    }
    TForm1 form(&sound);
    TLadderPlayer* ladder = InstallStrength(form, nullptr);
    EXPECT_EQ(&form.Board()->ComputerPlayer(), ladder);
    EXPECT_EQ(Checked(form), StrengthChoice(form, "Strength:Expert 2300"));
    Play(form);
    EXPECT_EQ(Controls(form).Label2->text(), "Level: Expert 2300");
    ASSERT_TRUE(form.Board()->PlayerMove(E2, E4));
    ASSERT_TRUE(PumpUntil([&] { return form.Board()->WhiteToMove(); }, 5000));

    // Two persons: the level line says so, whatever the strength.
    Controls(form).ComboBox2->setCurrentText("Player");
    Controls(form).SpeedButton1->click();
    EXPECT_EQ(Controls(form).Label2->text(), "Player1 x Player2");

    // Back to the Difficulty: the built-in engine at the list's level, and nothing stored.
    StrengthChoice(form, "Strength")->trigger();
    EXPECT_FALSE(form.Board()->CustomEngine());
    EXPECT_FALSE(OpenProgramSettings()->contains("Strength/Level"));
    Play(form);
    EXPECT_EQ(Controls(form).Label2->text(), "Level: Novice");
}

TEST(Strength, APlainLevelIsTheDifficultyOfItsDepth) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    TForm1 form(&sound);
    InstallStrength(form, nullptr);
    StrengthChoice(form, "Strength:Strong club 1850")->trigger();
    Play(form);
    EXPECT_EQ(Controls(form).Label2->text(), "Level: Strong club 1850");

    StrengthChoice(form, "Strength:Master 1650")->trigger();
    EXPECT_FALSE(form.Board()->CustomEngine());
    EXPECT_EQ(form.Board()->SearchDepth(), 5);
    EXPECT_EQ(Controls(form).ComboBox4->currentText(), "Master");
    EXPECT_EQ(Controls(form).Label2->text(), "Level: Master");
    EXPECT_FALSE(OpenProgramSettings()->contains("Strength/Level"));
    EXPECT_EQ(Checked(form), StrengthChoice(form, "Strength:Master 1650"));
    // A stored name that is no strong level is the Difficulty.
    OpenProgramSettings()->setValue("Strength/Level", "Novice 1250");
    EXPECT_EQ(ReadStrengthLevel(), -1);
}

TEST(Strength, AProgramChosenToPlayStandsOverTheLadderUntilItIsLeft) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    OpenProgramSettings()->setValue("Strength/Level", "Expert 2300");
    qputenv("FAKE_UCI_MODE", "good");
    qputenv("FAKE_UCI_MOVE", "e7e5");
    TForm1 form(&sound);
    TStartOptions options;
    options.EnginePath = kFake;
    TUciPlayer* program = InstallUciEngine(form, options);
    TLadderPlayer* ladder = InstallStrength(form, program);
    EXPECT_EQ(&form.Board()->ComputerPlayer(), program);
    Play(form);
    EXPECT_EQ(Controls(form).Label2->text(), "Level: Novice");
    // Choosing the built-in engine again lets the ladder's level play.
    program->AskForEngine = [] { return QString(""); };
    program->ChooseEngine();
    EXPECT_EQ(&form.Board()->ComputerPlayer(), ladder);
    ASSERT_TRUE(form.Board()->PlayerMove(D2, D4));
    ASSERT_TRUE(PumpUntil([&] { return form.Board()->WhiteToMove(); }, 5000));
}
