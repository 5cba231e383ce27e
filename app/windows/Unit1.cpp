// The main window's creation, showing, activation and closing, and its clock.

#include "Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include "DescriptionLoading.h"
#include "DragArea.h"
#include "Fonts.h"
#include "MoveListWalk.h"
#include "ScreenFit.h"
#include "SoundDevice.h"
#include "TimeFormat.h"
#include "UnSobre.h"
#include "Unit2.h"
#include "Unit3.h"

std::function<void(QWidget*, const QString&)> TForm1::ShowMessage = [](QWidget* parent,
                                                                       const QString& text) {
    QMessageBox::warning(parent, QApplication::applicationName(), text);
};

TForm1::TForm1(TSoundDevice* sound, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      FSound(sound ? sound : &SystemSoundDevice()) {
    setFont(LayoutFont());
    {
        TDescriptionLoading loading;
        ui.setupUi(this);
    }
    setFixedSize(633, 457);
    StyleControls();
    LoadButtonPictures();
    ConnectControls();
    ConnectBoard();
    FMoveListWalk = new TMoveListWalk(ui.ListBox1, ui.ChessBrd1, [this](int move, bool white) {
        return GoToPosition(move, white);
    });
    InstallDragArea(this, ui.ImageAreaMove->geometry());
    FTimer1 = new QTimer(this);
    FTimer1->setInterval(1000);
    connect(FTimer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    FTimer1->start();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::SetWindows(TFrmSobre* about, TFrmSalvar* save, TFrmAbrir* open) {
    FAbout = about;
    FSave = save;
    FOpen = open;
}

QString TForm1::LongTime(const QTime& t) const {
    return QLocale().toString(t, LongTimeFormat());
}

QPoint TForm1::PlaceOnScreen(QSize screen, QSize window) {
    const int left = screen.width() / 2 - window.width() / 2;
    const int top = screen.height() == 480 ? 2 : screen.height() / 2 - window.height() / 2;
    return {left, top};
}

void TForm1::FormCreate() {
    // 1. to 8. The settings; a value that is not a number is reported and gives way to its
    // default, as does one out of range, so the window is always usable.
    ReadSettings();
    // 9. and 10. Orientation and depth go to the board.
    ui.ChessBrd1->SetWhiteOnTop(RadioGroup1Index() == 0);
    ui.ChessBrd1->SetSearchDepth(FStoredLevel);
    // 11. The difficulty list's enabled state.
    ComboBox1Change();
    // 12. The window's place.
    FitOnScreen(this, &TForm1::PlaceOnScreen);
    // 13. The text lines.
    ui.Label1->clear();
    ui.Label2->clear();
    ui.Label3->clear();
}

void TForm1::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!FShown) {
        FShown = true;
        FormShow();
    }
}

void TForm1::FormShow() {
    if (OnFirstShow) OnFirstShow();
}

void TForm1::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // Only the first activation comes from here; the later ones follow the closing of a
    // window the program showed over this one (ShowDialog), so coming back from another
    // program does not restart the music.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !FActivatedOnce) {
        FActivatedOnce = true;
        FormActivate();
    }
}

void TForm1::FormActivate() {
    repaint();
    MIDI(MusicFile(), "Play");
}

void TForm1::ShowDialog(QDialog* dialog) {
    if (!dialog) return;
    dialog->exec();
    if (!FClosing) FormActivate();
}

void TForm1::AddCommand(QAction* action, QAction* after) {
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    const qsizetype place = FCommands.indexOf(after);
    if (after != nullptr && place >= 0)
        FCommands.insert(place + 1, action);
    else
        FCommands << action;
}

void TForm1::contextMenuEvent(QContextMenuEvent* e) {
    // The board keeps its right button for dragging; the menu belongs to the rest.
    if (ui.ChessBrd1 && e->reason() == QContextMenuEvent::Mouse &&
        ui.ChessBrd1->rect().contains(ui.ChessBrd1->mapFrom(this, e->pos())))
        return;
    if (FCommands.isEmpty()) return;
    QMenu menu(this);
    menu.addActions(FCommands);
    menu.exec(e->globalPos());
}

void TForm1::FreezeBoard() {
    if (ui.Panel1) ui.Panel1->setEnabled(false);
}

void TForm1::Timer1Timer() {
    ui.Label4->setText("Hs.: " + LongTime(QTime::currentTime()));
}

void TForm1::closeEvent(QCloseEvent* e) {
    if (FClosing) {
        e->accept();
        return;
    }
    FormClose();
    e->accept();
}

void TForm1::FormClose() {
    FClosing = true;
    // 1. The settings. A file that cannot be written is reported, and the program still
    // closes: the user must always be able to quit.
    WriteSettings();
    // 2. The board panel with the board and its computer player, then the move list. The
    // list's walk goes first: it reads the board, and the focus may pass to the list while
    // the board goes.
    delete FMoveListWalk;
    FMoveListWalk = nullptr;
    delete ui.Panel1;
    ui.Panel1 = nullptr;
    ui.ChessBrd1 = nullptr;
    delete ui.ListBox1;
    ui.ListBox1 = nullptr;
    // 3. and 4. Hide, then show the about window over the skin.
    hide();
    if (FAbout) {
        FAbout->SetBackground(ui.Image2->pixmap());
        FAbout->exec();
    }
}
