// The main window's commands: the Play panel, the side panel, the options panel and the
// title bar.

#include "Unit1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTime>

#include <iterator>

#include "Caminho.h"
#include "HelpWindow.h"
#include "MoveListWalk.h"
#include "MovePrinter.h"
#include "UnSobre.h"
#include "Unit2.h"
#include "Unit3.h"

namespace {

struct TLevel {
    const char* Label2;
};
constexpr TLevel kLevels[] = {
    {"Level: Novice"},    {"Level: Middle"}, {"Level: Normal"},
    {"Level: Difficult"}, {"Level: Master"},
};

} // namespace

void TForm1::ConnectControls() {
    const auto click = [this](QAbstractButton* b, void (TForm1::*handler)()) {
        connect(b, &QAbstractButton::clicked, this, handler);
    };
    click(ui.SpeedButton1, &TForm1::SpeedButton1Click);
    click(ui.SpeedButton2, &TForm1::SpeedButton2Click);
    click(ui.SpeedButton3, &TForm1::SpeedButton3Click);
    click(ui.SpeedButton4, &TForm1::SpeedButton4Click);
    click(ui.SpeedButton5, &TForm1::SpeedButton5Click);
    click(ui.SpeedButton6, &TForm1::SpeedButton6Click);
    click(ui.SpeedButton7, &TForm1::SpeedButton7Click);
    click(ui.SpeedButton9, &TForm1::SpeedButton9Click);
    click(ui.SpeedButton10, &TForm1::SpeedButton10Click);
    click(ui.SpeedButton11, &TForm1::SpeedButton11Click);
    click(ui.SpeedButton12, &TForm1::SpeedButton12Click);
    click(ui.SpeedButton13, &TForm1::SpeedButton13Click);
    click(ui.SpeedButton14, &TForm1::SpeedButton14Click);
    click(ui.SpeedButton15, &TForm1::SpeedButton15Click);
    click(ui.SpeedButton16, &TForm1::SpeedButton16Click);
    click(ui.SpeedButton17, &TForm1::SpeedButton17Click);
    click(ui.SpeedButton18, &TForm1::SpeedButton18Click);
    click(ui.CheckBox1, &TForm1::CheckBox1Click);
    click(ui.CheckBox4, &TForm1::CheckBox4Click);
    click(ui.CheckBox5, &TForm1::CheckBox5Click);
    click(ui.RadioButton1, &TForm1::RadioGroup1Click);
    click(ui.RadioButton2, &TForm1::RadioGroup1Click);
    // "activated" comes from the user's choice only, as the lists' change events do.
    connect(ui.ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    connect(ui.ComboBox2, &QComboBox::activated, this, &TForm1::ComboBox2Change);
    connect(ui.ComboBox3, &QComboBox::activated, this, &TForm1::ComboBox3Change);
    connect(ui.ComboBox5, &QComboBox::activated, this, &TForm1::ComboBox5Change);
}

// --- The Play panel ---------------------------------------------------------------------------

void TForm1::SpeedButton1Click() {
    StartGame();
}

void TForm1::StartGame() {
    TChessBrd* board = ui.ChessBrd1;
    // 1. and 2.
    MIDI(MusicFile(), "Stop");
    ui.Panel3->hide();
    // 3. The players, White first; a list without a selection changes nothing.
    const QString white = ui.ComboBox1->currentText();
    const QString black = ui.ComboBox2->currentText();
    const auto valid = [](const QString& t) { return t == "Player" || t == "Computer"; };
    if (valid(white) && valid(black)) {
        board->SetComputerPlaysWhite(white == "Computer");
        board->SetComputerPlaysBlack(black == "Computer");
    }
    // 4. The level line and the depth.
    if (white == "Player" && black == "Player") {
        ui.Label2->setText("Player1 x Player2");
    } else {
        const int level = ui.ComboBox4->currentIndex();
        if (level >= 0) ui.Label2->setText(kLevels[level].Label2);
        board->SetSearchDepth(level + 1);
    }
    // 5. and 6.
    GameStartTime = LongTime(QTime::currentTime());
    ui.SpeedButton2->setEnabled(true);
    ui.Panel4->setEnabled(true);
    ui.Panel3->hide();
    ui.Panel1->setEnabled(true);
    // 7. and 8. A new game; the computer opens it when it plays White. The move list shows
    // the new game, not the lines of the last one.
    board->NewGame();
    RefreshMoveList();
    if (board->ComputerPlaysWhite()) board->StartComputerMove();
    // 9.
    ui.Label1->setText("game in process");
    ui.Label3->clear();
    emit GameStarted();
}

QString TForm1::LevelLine() const {
    return ui.Label2->text();
}

void TForm1::SetLevelLine(const QString& text) {
    ui.Label2->setText(text);
}

void TForm1::SetDifficulty(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kLevels))) return;
    ui.ComboBox4->setCurrentIndex(index);
    ui.ChessBrd1->SetSearchDepth(index + 1);
    if (ui.Label2->text().startsWith("Level: ")) ui.Label2->setText(kLevels[index].Label2);
}

void TForm1::SpeedButton2Click() {
    // Before the first game there is none to return to.
    if (!ui.SpeedButton2->isEnabled()) return;
    ui.Panel3->hide();
    if (ui.ChessBrd1->ComputerPlaysWhite() && ui.ChessBrd1->ComputerPlaysBlack())
        ui.Panel1->repaint();
    ui.Panel1->setEnabled(true);
    ui.Panel4->setEnabled(true);
    ui.ChessBrd1->StartComputerMove();
}

void TForm1::SpeedButton3Click() {
    close();
}

// --- The side panel ----------------------------------------------------------------------------

void TForm1::SpeedButton13Click() {
    ui.ChessBrd1->StopThinking();
    MIDI(MusicFile(), "Play");
    ui.Panel4->setEnabled(false);
    ui.Panel3->show();
    ui.Panel3->raise();
    ui.Panel1->setEnabled(false);
}

void TForm1::SpeedButton14Click() {
    GameStartTime = LongTime(QTime::currentTime());
    ui.Panel1->setEnabled(true);
    ui.Panel3->hide();
    ui.ChessBrd1->NewGame();
    if (ui.ChessBrd1->ComputerPlaysWhite()) ui.ChessBrd1->StartComputerMove();
    ui.Label1->setText("Restarted game");
    ui.ListBox1->clear();
    ui.Label3->clear();
    emit GameStarted();
}

void TForm1::SpeedButton4Click() {
    ui.ChessBrd1->StepBack();
    RefreshMoveList();
    if (FMoveListWalk) FMoveListWalk->MarkCurrentMove();
    ui.Panel1->setEnabled(true);
    // The message and the game time spoke of the position left, not of the one shown.
    ui.Label1->clear();
    ui.Label3->clear();
}

void TForm1::SpeedButton5Click() {
    ui.ChessBrd1->StepForward();
    RefreshMoveList();
    if (FMoveListWalk) FMoveListWalk->MarkCurrentMove();
}

bool TForm1::GoToPosition(int move, bool whiteToMove) {
    TChessBrd* board = ui.ChessBrd1;
    // Where the board already is, nothing changes (the computer is not halted).
    if (board->CurrentMove() == move && board->WhiteToMove() == whiteToMove) return true;
    if (!board->GotoHalfMove(move, whiteToMove)) return false;
    // A position before the end is one Move back could reach, and is left as it leaves it;
    // the end is left as Move forward leaves it.
    if (move != board->HistoryLastMove() || whiteToMove != board->HistoryLastWhite()) {
        ui.Panel1->setEnabled(true);
        ui.Label1->clear();
        ui.Label3->clear();
    }
    return true;
}

void TForm1::RefreshMoveList() {
    std::vector<std::string> lines;
    ui.ChessBrd1->GetMoveList(lines);
    QStringList texts;
    texts.reserve(int(lines.size()));
    for (const std::string& l : lines)
        texts << QString::fromStdString(l);
    ui.ListBox1->clear();
    ui.ListBox1->addItems(texts);
}

void TForm1::SpeedButton9Click() {
    QStringList lines;
    for (int i = 0; i < ui.ListBox1->count(); ++i)
        lines << ui.ListBox1->item(i)->text();
    PrintMoveListOnDefaultPrinter(lines, this);
}

void TForm1::SpeedButton15Click() {
    MIDI(MusicFile(), "Play");
    ui.Panel4->setEnabled(false);
    ui.PanelOpc->show();
    ui.PanelOpc->raise();
}

void TForm1::SpeedButton11Click() {
    MIDI(MusicFile(), "Stop");
    ui.PanelOpc->hide();
    ui.Panel4->setEnabled(true);
}

void TForm1::SpeedButton16Click() {
    if (!FAbout) return;
    FAbout->SetBackground(ui.Image2->pixmap());
    ShowDialog(FAbout);
}

void TForm1::SpeedButton10Click() {
    if (!FSave) return;
    FSave->SetBackground(ui.Image2->pixmap());
    FSave->SetMainBoard(ui.ChessBrd1);
    ShowDialog(FSave);
}

void TForm1::SpeedButton12Click() {
    if (!FOpen) return;
    FOpen->SetBackground(ui.Image2->pixmap());
    FOpen->SetMainBoard(ui.ChessBrd1);
    FOpen->SetMoveList(ui.ListBox1);
    FOpen->SetMessageLine(ui.Label1);
    ShowDialog(FOpen);
}

void TForm1::SpeedButton17Click() {
    if (ui.Panel1->isEnabled() && ui.ChessBrd1->ComputerPlaysWhite()) ui.ChessBrd1->StopThinking();
    close();
}

// --- The side panel's commands as operations ---------------------------------------------------

namespace {

// Each command of the side panel: its button and the button's handler.
struct TCommandEntry {
    TForm1::TCommand Command;
    QToolButton* Ui::TForm1::*Button;
    void (TForm1::*Handler)();
};
constexpr TCommandEntry kCommands[] = {
    {TForm1::TCommand::NewGame, &Ui::TForm1::SpeedButton13, &TForm1::SpeedButton13Click},
    {TForm1::TCommand::Restart, &Ui::TForm1::SpeedButton14, &TForm1::SpeedButton14Click},
    {TForm1::TCommand::MoveBack, &Ui::TForm1::SpeedButton4, &TForm1::SpeedButton4Click},
    {TForm1::TCommand::MoveForward, &Ui::TForm1::SpeedButton5, &TForm1::SpeedButton5Click},
    {TForm1::TCommand::Print, &Ui::TForm1::SpeedButton9, &TForm1::SpeedButton9Click},
    {TForm1::TCommand::Options, &Ui::TForm1::SpeedButton15, &TForm1::SpeedButton15Click},
    {TForm1::TCommand::About, &Ui::TForm1::SpeedButton16, &TForm1::SpeedButton16Click},
    {TForm1::TCommand::Save, &Ui::TForm1::SpeedButton10, &TForm1::SpeedButton10Click},
    {TForm1::TCommand::Open, &Ui::TForm1::SpeedButton12, &TForm1::SpeedButton12Click},
    {TForm1::TCommand::Help, &Ui::TForm1::SpeedButton18, &TForm1::SpeedButton18Click},
    {TForm1::TCommand::Exit, &Ui::TForm1::SpeedButton17, &TForm1::SpeedButton17Click},
};

const TCommandEntry* Entry(TForm1::TCommand command) {
    for (const TCommandEntry& e : kCommands)
        if (e.Command == command) return &e;
    return nullptr;
}

} // namespace

bool TForm1::CanRun(TCommand command) const {
    const TCommandEntry* e = Entry(command);
    return e != nullptr && ui.ChessBrd1 != nullptr && (ui.*e->Button)->isEnabled();
}

bool TForm1::Run(TCommand command) {
    if (!CanRun(command)) return false;
    (this->*Entry(command)->Handler)();
    return true;
}

QString TForm1::MessageLine() const {
    return ui.Label1->text();
}

void TForm1::SetMessageLine(const QString& text) {
    ui.Label1->setText(text);
}

// --- The title bar -----------------------------------------------------------------------------

void TForm1::SpeedButton7Click() {
    ui.ChessBrd1->StopThinking();
    close();
}

void TForm1::SpeedButton6Click() {
    showMinimized();
}

void TForm1::SpeedButton18Click() {
    ShowHelp(QString::fromStdString(Caminho() + "chess.hlp"), this);
}

// --- Lists, boxes and the orientation ---------------------------------------------------------

void TForm1::ComboBox1Change() {
    const bool bothPlayers =
        ui.ComboBox1->currentText() == "Player" && ui.ComboBox2->currentText() == "Player";
    ui.ComboBox4->setEnabled(!bothPlayers);
}

void TForm1::ComboBox2Change() {
    ComboBox1Change();
}

void TForm1::ComboBox3Change() {
    AplicaSkin(ui.ComboBox3->currentIndex());
    ui.ComboBox5->setCurrentIndex(ui.ComboBox3->currentIndex());
}

void TForm1::ComboBox5Change() {
    AplicaSkin(ui.ComboBox5->currentIndex());
    ui.ComboBox3->setCurrentIndex(ui.ComboBox5->currentIndex());
}

void TForm1::CheckBox1Click() {
    CoordSet coords;
    if (ui.CheckBox1->isChecked()) {
        coords.Include(West);
        coords.Include(North);
    }
    ui.ChessBrd1->SetDisplayCoords(coords);
}

void TForm1::CheckBox5Click() {
    ui.ChessBrd1->SetBoardLines(ui.CheckBox5->isChecked());
}

void TForm1::CheckBox4Click() {
    MIDI(MusicFile(), ui.CheckBox4->isChecked() ? "Play" : "Stop");
}

void TForm1::RadioGroup1Click() {
    ui.ChessBrd1->SetWhiteOnTop(RadioGroup1Index() == 0);
}
