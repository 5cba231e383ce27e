// Chess Zel: the program's start-up. The splash window shows first; then the main window
// and the about, save and open windows are created, each once, and kept until the end.

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "Caminho.h"
#include "ClockChoice.h"
#include "Fonts.h"
#include "GameFiles.h"
#include "UciEngine.h"
#include "PlayOptions.h"
#include "ReviewCommand.h"
#include "ScoreSheetCommands.h"
#include "StartOptions.h"
#include "Strength.h"
#include "ThinkingNotice.h"
#include "UnSobre.h"
#include "UniSplash.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

namespace {

// With ZEL_STARTUP_MARK set (for bench/startup-memory.sh), the program writes to its error
// output the wall-clock time, in nanoseconds, at which its main window became usable: the
// board has been painted for the first time and the event loop is back, waiting for input.
class TStartupMark final : public QObject {
  public:
    explicit TStartupMark(QWidget* board) : QObject(board) { board->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !Done) {
            Done = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                std::fprintf(stderr, "chesszel: usable at %lld%09ld\n",
                             static_cast<long long>(now.tv_sec), now.tv_nsec);
                std::fflush(stderr);
            });
        }
        return false;
    }

  private:
    bool Done = false;
};

} // namespace

int main(int argc, char* argv[]) {
    // Help and the version need no display: they are answered before the application
    // starts. Anything else waits for it, which takes its own options off the line first.
    {
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        TStartOptions options;
        QString text;
        const TStartAction action = ReadStartOptions(arguments, options, text);
        if (action == TStartAction::Help || action == TStartAction::Version) {
            std::printf("%s\n", qPrintable(text));
            return EXIT_SUCCESS;
        }
    }
    QApplication app(argc, argv);
    // The command line, read once; its options go to those who need them.
    TStartOptions options;
    QString text;
    switch (ReadStartOptions(QCoreApplication::arguments(), options, text)) {
    case TStartAction::Run: break;
    case TStartAction::Help:
    case TStartAction::Version:
        std::printf("%s\n", qPrintable(text));
        return EXIT_SUCCESS;
    case TStartAction::Refuse:
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return EXIT_FAILURE;
    }
    // For the installation test: say where the data files were found, and stop.
    if (options.SelfTestData) {
        std::printf("%s\n", Caminho().c_str());
        return EXIT_SUCCESS;
    }
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    InstallFontSubstitutes();
    QApplication::setFont(LayoutFont());

    // 1. The splash window, shown and painted at once.
    auto* splash = new TFrmSplash;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    // 2. The application's title.
    QApplication::setApplicationName("Chess Zel");
    QGuiApplication::setDesktopFileName("org.chesszel.ChessZel");
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/hicolor/%1x%1/apps/chesszel.png").arg(size));
    QApplication::setWindowIcon(icon);

    // 3. The windows, in this order; the main window's creation reads the settings.
    TForm1 form;
    TFrmSobre about;
    TFrmSalvar save;
    TFrmAbrir open;
    form.SetWindows(&about, &save, &open);
    InstallPlayOptions(form);
    TGameFiles* files = InstallGameFiles(form, options);
    InstallScoreSheet(form, *files);
    TUciPlayer* program = InstallUciEngine(form, options, files);
    TLadderPlayer* ladder = InstallStrength(form, program);
    InstallClocks(form, files, ladder, program);
    InstallGameReview(form, *files);
    ShowComputerThinking(form);

    // 4. The first showing of the main window ends the splash.
    form.OnFirstShow = [&splash] {
        delete splash;
        splash = nullptr;
    };
    if (std::getenv("ZEL_STARTUP_MARK") != nullptr) new TStartupMark(form.Board());
    form.show();
    // 5. The program ends when the main window has closed.
    return app.exec();
}
