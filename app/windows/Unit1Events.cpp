// The board's events as the main window hears them: messages, sounds, the move list and
// the end of a game; and the background music.

#include "Unit1.h"

#include <QDateTime>
#include <QItemSelectionModel>
#include <QLocale>
#include <QRegularExpression>

#include "Caminho.h"
#include "SoundDevice.h"
#include "TimeFormat.h"

void TForm1::ConnectBoard() {
    TChessBrd* b = ui.ChessBrd1;
    b->OnLegalMove = [this](TChessGame*, Square, Square) { ChessBrd1LegalMove(); };
    b->OnCapture = [this](TChessGame*, Square, Square, char) { ChessBrd1Capture(); };
    b->OnPromotion = [this](TChessGame*, Square, Square, char&) { ChessBrd1Promotion(); };
    b->OnCheck = [this](TChessGame*, Square, Square) { ChessBrd1Check(); };
    b->OnMate = [this](TChessGame*, Square, Square) { ChessBrd1Mate(); };
    b->OnDraw = [this](TChessGame*) { ChessBrd1Draw(); };
    b->OnIllegalMove = [this](TChessGame*, Square) { ChessBrd1IllegalMove(); };
}

void TForm1::PlaySound(const char* file, bool synchronous) {
    if (!ui.CheckBox3->isChecked()) return;
    FSound->PlaySound(Caminho() + file,
                      synchronous ? TSoundMode::SyncNoDefault : TSoundMode::Async);
}

void TForm1::ChessBrd1LegalMove() {
    PlaySound("PjdSom1.wav", true);
    RefreshMoveList();
    // The last line selected and in view; a list that cannot take the focus (its panel is
    // disabled, as while the options panel is open) means the options panel is closed.
    // A move played from the keyboard on the board leaves the focus there, and the line is
    // selected without becoming the list's current one: the list tells assistive technology
    // that its current line has the focus, whether it has or not.
    if (ui.ListBox1->isEnabled()) {
        const int last = ui.ListBox1->count() - 1;
        if (ui.ChessBrd1->hasFocus()) {
            ui.ListBox1->selectionModel()->select(ui.ListBox1->model()->index(last, 0),
                                                  QItemSelectionModel::ClearAndSelect);
        } else {
            ui.ListBox1->setFocus();
            ui.ListBox1->setCurrentRow(last);
        }
        ui.ListBox1->scrollToBottom();
    } else {
        SpeedButton11Click();
    }
    ui.Label1->clear();
}

void TForm1::ChessBrd1Capture() {
    ui.Label1->setText("Capture!");
    PlaySound("Captura.wav", false);
}

void TForm1::ChessBrd1Promotion() {
    // The board's proposal stands: every promotion makes a queen.
    ui.Label1->setText(QString::fromUtf8("Pe\u00e3o Promovido!"));
    PlaySound("Bell.wav", false);
}

void TForm1::ChessBrd1Check() {
    ui.Label1->setText("Check!");
    PlaySound("Cheque.wav", false);
}

void TForm1::ChessBrd1IllegalMove() {
    ui.Label1->setText("Not move allowed!");
}

// The game time: now less the start time read back as a time of day, shown as a time of
// day in the long format with a 24-hour clock (an elapsed time has no morning or evening).
static QString ElapsedText(const QString& startText) {
    const QString format = LongTimeFormat();
    QTime start = QLocale().toTime(startText, format);
    if (!start.isValid()) start = QTime(0, 0);
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 secs = QDateTime(now.date(), start).secsTo(now);
    const QTime elapsed = QTime(0, 0).addSecs(int(((secs % 86400) + 86400) % 86400));
    QString clock = format;
    clock.remove(QRegularExpression("\\s*[aA][pP]"));
    clock.replace(QLatin1Char('h'), QLatin1Char('H'));
    return QLocale().toString(elapsed, clock);
}

void TForm1::GameOverSummary(const QString& result) {
    ui.Label3->setText("Timer: " + ElapsedText(GameStartTime) + " hs");
    const auto appendLines = [&] { ui.ListBox1->addItems({QString(), result, ui.Label3->text()}); };
    // A mate lists its lines before the board freezes, a draw after.
    if (result == "Checkmate!") appendLines();
    ui.Panel1->setEnabled(false);
    if (result != "Checkmate!") appendLines();
    ui.ListBox1->scrollToBottom();
}

void TForm1::ChessBrd1Mate() {
    ui.Label1->setText("Checkmate!");
    GameOverSummary("Checkmate!");
    PlaySound("mate.wav", false);
    emit GameEnded("Checkmate!");
}

void TForm1::ChessBrd1Draw() {
    PlaySound("Empate.wav", false);
    ui.Label1->setText("The game was a Draw!");
    GameOverSummary("The game was a Draw!");
    emit GameEnded("The game was a Draw!");
}

void TForm1::ShowRecordedResult(const QString& result) {
    const QString text = result == "1-0"   ? "White won: 1-0"
                         : result == "0-1" ? "Black won: 0-1"
                                           : "Drawn: " + result;
    ui.Label1->setText(text);
    ui.ListBox1->addItems({QString(), text});
    ui.ListBox1->scrollToBottom();
    emit GameEnded(text);
}

std::string TForm1::MusicFile() const {
    return Caminho() + "Passport.mid";
}

void TForm1::MIDI(const std::string& file, const std::string& action) {
    if (action == "Play") {
        if (!ui.CheckBox4->isChecked()) return;
        FSound->SendMediaCommand("OPEN " + file + " TYPE SEQUENCER ALIAS MUSICA");
        FSound->SendMediaCommand("PLAY MUSICA FROM 0");
        FSound->SendMediaCommand("CLOSE ANIMATION");
    } else if (action == "Stop") {
        FSound->SendMediaCommand("STOP MUSICA");
        FSound->SendMediaCommand("CLOSE ANIMATION");
    }
}
