#pragma once
// Shared by the main window's tests: the application, private settings and data folders, a
// sound device that records instead of playing, and a recorder for the window's messages.

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "SoundDevice.h"
#include "Unit1.h"

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
