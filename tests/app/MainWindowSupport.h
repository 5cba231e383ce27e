#pragma once
// Shared by the main window's tests: the application, private settings and data folders, a
// sound device that records instead of playing, and a recorder for the window's messages.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "ChessBrd.h"
#include "GameFiles.h"
#include "SoundDevice.h"
#include "StartOptions.h"
#include "Unit1.h"

// The main window's controls that the tests look at, found by their object names (the
// layout names); a control the window no longer has is null.
struct TMainControls {
    explicit TMainControls(const QWidget& form) : Form(form) {}
    template <class T> T* Find(const char* name) const { return Form.findChild<T*>(name); }

    const QWidget& Form;
    TChessBrd* const ChessBrd1 = Find<TChessBrd>("ChessBrd1");
    QComboBox* const ComboBox1 = Find<QComboBox>("ComboBox1");
    QComboBox* const ComboBox2 = Find<QComboBox>("ComboBox2");
    QComboBox* const ComboBox3 = Find<QComboBox>("ComboBox3");
    QComboBox* const ComboBox4 = Find<QComboBox>("ComboBox4");
    QComboBox* const ComboBox5 = Find<QComboBox>("ComboBox5");
    QCheckBox* const CheckBox1 = Find<QCheckBox>("CheckBox1");
    QCheckBox* const CheckBox3 = Find<QCheckBox>("CheckBox3");
    QCheckBox* const CheckBox4 = Find<QCheckBox>("CheckBox4");
    QCheckBox* const CheckBox5 = Find<QCheckBox>("CheckBox5");
    QLabel* const Label1 = Find<QLabel>("Label1");
    QLabel* const Label2 = Find<QLabel>("Label2");
    QLabel* const Label3 = Find<QLabel>("Label3");
    QLabel* const Image1 = Find<QLabel>("Image1");
    QLabel* const Image2 = Find<QLabel>("Image2");
    QLabel* const Image3 = Find<QLabel>("Image3");
    QListWidget* const ListBox1 = Find<QListWidget>("ListBox1");
    QWidget* const Panel1 = Find<QWidget>("Panel1");
    QWidget* const Panel3 = Find<QWidget>("Panel3");
    QWidget* const Panel4 = Find<QWidget>("Panel4");
    QWidget* const PanelOpc = Find<QWidget>("PanelOpc");
    QAbstractButton* const SpeedButton1 = Find<QAbstractButton>("SpeedButton1");
    QAbstractButton* const SpeedButton2 = Find<QAbstractButton>("SpeedButton2");
    QAbstractButton* const SpeedButton14 = Find<QAbstractButton>("SpeedButton14");
};

// The controls as they are now.
inline TMainControls Controls(const QWidget& form) {
    return TMainControls(form);
}

inline bool PumpUntil(const std::function<bool()>& pred, int ms = 20000) {
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    tick.start(5);
    while (!pred()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A position text from rows of the board, a8 first; short rows end in blanks.
inline QString Board(std::initializer_list<const char*> rows) {
    QString text;
    for (const char* r : rows)
        text += QString::fromLatin1(r).leftJustified(8, ' ');
    return text;
}

// Points the settings and data folders at fresh temporary folders for one test.
class TTempHome {
  public:
    TTempHome() {
        qputenv("XDG_CONFIG_HOME", FConfig.path().toUtf8());
        qputenv("XDG_DATA_HOME", FData.path().toUtf8());
    }
    QString ConfigPath() const { return FConfig.path(); }
    std::string SettingsFile() const {
        return (FConfig.path() + "/chesszel/Kavrel.ini").toStdString();
    }

  private:
    QTemporaryDir FConfig;
    QTemporaryDir FData;
};

// Every call as "sync:<file>", "async:<file>" (file name only) or the command string.
class TRecordingSound : public TSoundDevice {
  public:
    void PlaySound(const std::string& path, TSoundMode mode) override {
        const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
        Calls.push_back((mode == TSoundMode::SyncNoDefault ? "sync:" : "async:") + name);
    }
    void SendMediaCommand(const std::string& command) override { Calls.push_back(command); }
    std::vector<std::string> Calls;
};

// Collects the window's messages instead of showing them.
class TMessageRecorder {
  public:
    TMessageRecorder() : FPrevious(TForm1::ShowMessage) {
        TForm1::ShowMessage = [this](QWidget*, const QString& text) { Messages.push_back(text); };
    }
    ~TMessageRecorder() { TForm1::ShowMessage = FPrevious; }
    std::vector<QString> Messages;

  private:
    std::function<void(QWidget*, const QString&)> FPrevious;
};

// A main window with its game files, in a home of its own, its sounds and messages
// recorded: what the tests that put games on the board and take them off start from.
struct TFilesWindow {
    TTempHome Home;
    TRecordingSound Sound;
    TMessageRecorder Messages;
    TForm1 Form{&Sound};
    TChessBrd* B = Form.Board();
    TGameFiles* Files = InstallGameFiles(Form, TStartOptions{});
};
