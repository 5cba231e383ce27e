// The settings file as the main window reads it while it is created and writes it while it
// closes.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "IniFile.h"
#include "MainWindowSupport.h"

namespace {

void WriteFile(const std::string& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray ReadFile(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(Settings, FirstStartShowsTheDefaultsAndClosingWritesTheNineLines) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    {
        TForm1 form(&sound);
        const TMainControls ctl{form};
        EXPECT_EQ(ctl.ComboBox2->currentText(), "Computer");
        EXPECT_EQ(ctl.ComboBox1->currentText(), "Player");
        EXPECT_EQ(ctl.ComboBox4->currentText(), "Novice");
        EXPECT_EQ(form.RadioGroup1Index(), 1);
        EXPECT_EQ(ctl.ComboBox3->currentText(), "Wood");
        EXPECT_EQ(ctl.ComboBox5->currentText(), "Wood");
        EXPECT_FALSE(ctl.CheckBox1->isChecked());
        EXPECT_TRUE(ctl.CheckBox5->isChecked());
        EXPECT_TRUE(ctl.CheckBox3->isChecked());
        EXPECT_TRUE(ctl.CheckBox4->isChecked());
        EXPECT_EQ(ctl.ChessBrd1->SearchDepth(), 1);
        EXPECT_FALSE(ctl.ChessBrd1->WhiteOnTop());
        EXPECT_TRUE(ctl.ChessBrd1->BoardLines());
        EXPECT_EQ(ctl.ChessBrd1->DisplayCoordsBits(), 0);
        // The wood skin's squares are on the board; the players stay the layout's.
        EXPECT_EQ(ctl.ChessBrd1->SquareLight().size(), QSize(137, 74));
        EXPECT_TRUE(ctl.ChessBrd1->ComputerPlaysBlack());
        EXPECT_FALSE(ctl.ChessBrd1->ComputerPlaysWhite());
        // Creation sends no music commands while the music box keeps its layout value.
        EXPECT_TRUE(sound.Calls.empty());
        form.close();
    }
    EXPECT_EQ(ReadFile(home.SettingsFile()),
              "[Config]\nPretas=1\nBrancas=0\nNivel=1\nBrancaEncima=1\nSkin=4\nCoordenadas=0\n"
              "Linhas=1\nSom=1\nMusica=1\n");
}

TEST(Settings, ReadRulesOfEachKey) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    WriteFile(home.SettingsFile(), "[config]\npretas=0\nBrancas=1\nBrancaEncima=5\nSkin=2\n"
                                   "Coordenadas=7\nLinhas=0\nSom=2\nMusica=2\nNivel=7\n");
    TForm1 form(&sound);
    const TMainControls ctl{form};
    EXPECT_EQ(ctl.ComboBox2->currentText(), "Player");
    EXPECT_EQ(ctl.ComboBox1->currentText(), "Computer");
    EXPECT_EQ(form.RadioGroup1Index(), 1); // above 1 counts as 1
    EXPECT_EQ(ctl.ComboBox3->currentText(), "Blue");
    EXPECT_EQ(ctl.ComboBox5->currentText(), "Blue");
    EXPECT_EQ(ctl.ChessBrd1->SquareDark().size(), QSize(84, 68));
    EXPECT_TRUE(ctl.CheckBox1->isChecked());
    EXPECT_EQ(ctl.ChessBrd1->DisplayCoordsBits(), 0b0011); // West and North
    EXPECT_FALSE(ctl.CheckBox5->isChecked());
    EXPECT_FALSE(ctl.CheckBox3->isChecked()); // "Som" is on only for exactly "1"
    EXPECT_TRUE(ctl.CheckBox4->isChecked());  // "Musica" is on for anything but "0"
    // "Nivel" 7 is beyond the difficulty list: the default, "Novice" at depth 1.
    EXPECT_EQ(ctl.ComboBox4->currentText(), "Novice");
    EXPECT_EQ(ctl.ChessBrd1->SearchDepth(), 1);
    form.SpeedButton1Click();
    EXPECT_EQ(ctl.ChessBrd1->SearchDepth(), 1);
    EXPECT_EQ(ctl.Label2->text(), "Level: Novice");
}

TEST(Settings, OrientationSkinAndMusicEdges) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    WriteFile(home.SettingsFile(), "[Config]\nBrancaEncima=0\nSkin=0\nMusica=0\n");
    TForm1 form(&sound);
    EXPECT_EQ(form.RadioGroup1Index(), 0);
    EXPECT_TRUE(form.Board()->WhiteOnTop());
    EXPECT_EQ(Controls(form).ComboBox3->currentText(), "Wood");
    // A stored "0" turns the box off and so sends the stop commands once.
    EXPECT_FALSE(Controls(form).CheckBox4->isChecked());
    EXPECT_EQ(sound.Calls, (std::vector<std::string>{"STOP MUSICA", "CLOSE ANIMATION"}));

    // Values out of range give way to their defaults, so every list keeps a choice and every
    // window its skin.
    for (const char* text : {"[Config]\nPretas=2\nBrancas=-1\nBrancaEncima=-1\nSkin=9\nNivel=0\n",
                             "[Config]\nPretas=-7\nBrancas=5\nBrancaEncima=2\nSkin=-3\nNivel=6\n"}) {
        WriteFile(home.SettingsFile(), text);
        TMessageRecorder messages;
        TForm1 other(&sound);
        EXPECT_TRUE(messages.Messages.empty()) << text;
        EXPECT_EQ(Controls(other).ComboBox2->currentText(), "Computer") << text;
        EXPECT_EQ(Controls(other).ComboBox1->currentText(), "Player") << text;
        EXPECT_EQ(other.RadioGroup1Index(), 1) << text;
        EXPECT_EQ(Controls(other).ComboBox3->currentText(), "Wood") << text;
        EXPECT_EQ(Controls(other).ComboBox5->currentText(), "Wood") << text;
        EXPECT_FALSE(Controls(other).Image3->pixmap().isNull()) << text;
        EXPECT_EQ(Controls(other).ComboBox4->currentText(), "Novice") << text;
        EXPECT_EQ(other.Board()->SearchDepth(), 1) << text;
        other.close();
        EXPECT_EQ(ini::ReadString(home.SettingsFile(), "Config", "BrancaEncima", ""), "1");
        EXPECT_EQ(ini::ReadString(home.SettingsFile(), "Config", "Skin", ""), "4");
    }
}

TEST(Settings, AValueThatIsNotANumberIsReportedByFileAndKeyAndGivesWayToItsDefault) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    TMessageRecorder messages;
    WriteFile(home.SettingsFile(), "[Config]\nPretas=0\nBrancas=1\nBrancaEncima=x1\n"
                                   "Coordenadas=1\nSkin=1\nNivel=abc\n");
    TForm1 form(&sound);
    ASSERT_EQ(messages.Messages.size(), 1u);
    const QString file = QString::fromStdString(home.SettingsFile());
    EXPECT_EQ(messages.Messages[0],
              "'x1' is not a valid integer value (key \"BrancaEncima\" in " + file +
                  "; the default 1 is used)\n"
                  "'abc' is not a valid integer value (key \"Nivel\" in " + file +
                  "; the default 1 is used)");
    // Every other value is applied, before the bad ones and after them.
    EXPECT_EQ(Controls(form).ComboBox2->currentText(), "Player");
    EXPECT_EQ(Controls(form).ComboBox1->currentText(), "Computer");
    EXPECT_EQ(form.RadioGroup1Index(), 1);
    EXPECT_TRUE(Controls(form).CheckBox1->isChecked());
    EXPECT_EQ(Controls(form).ComboBox3->currentText(), "Red");
    EXPECT_EQ(Controls(form).ComboBox4->currentText(), "Novice");
    EXPECT_EQ(form.Board()->SearchDepth(), 1);
}

TEST(Settings, AnUnwritableFileIsReportedAndTheWindowStillCloses) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    TMessageRecorder messages;
    TForm1 form(&sound);
    form.show();
    // The settings folder is taken by a plain file, so nothing can be written inside it.
    QDir(home.ConfigPath()).rmdir("chesszel");
    WriteFile(home.ConfigPath().toStdString() + "/chesszel", "not a folder");
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_TRUE(messages.Messages[0].startsWith("Unable to write to "));
    EXPECT_TRUE(messages.Messages[0].endsWith("Kavrel.ini"));
}

TEST(Settings, ClosingAfterAHumanGameWritesTheLastComputerDepth) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    TForm1 form(&sound);
    Controls(form).ComboBox4->setCurrentIndex(3);
    form.SpeedButton1Click(); // Player against Computer at "Difficult"
    Controls(form).ComboBox2->setCurrentIndex(0);
    Controls(form).ComboBox4->setCurrentIndex(0);
    form.SpeedButton1Click(); // two players: the depth stays
    EXPECT_EQ(Controls(form).Label2->text(), "Player1 x Player2");
    form.close();
    EXPECT_EQ(ini::ReadString(home.SettingsFile(), "Config", "Nivel", ""), "4");
    EXPECT_EQ(ini::ReadString(home.SettingsFile(), "Config", "Pretas", ""), "0");
}

} // namespace
