#include "Clocks.h"

#include <QLabel>
#include <QPixmap>

#include <algorithm>
#include <climits>

#include "ChessBrd.h"
#include "ClockPanel.h"
#include "GameRecord.h"
#include "Unit1.h"

namespace {

// The half-move of a (move number, side) counted from the game's first record.
int PlyOf(const TChessGame& g, int move, bool white) {
    return (move - g.HistoryFirstMove()) * 2 + (white ? 0 : 1) - (g.HistoryFirstWhite() ? 0 : 1);
}

int Millis(std::int64_t ms) {
    return static_cast<int>(std::clamp<std::int64_t>(ms, 0, INT_MAX));
}

// A colour of the skin for the running face: the mean of the window's title strip, dark
// enough under white text.
QColor SkinAccent(const QPixmap& skin) {
    if (skin.isNull()) return {0x40, 0x60, 0xA0};
    const QImage strip = skin.toImage().copy(0, 0, skin.width(), std::min(skin.height(), 24));
    const QImage one = strip.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QColor c = one.pixelColor(0, 0);
    if (c.lightness() > 110) c = c.darker(100 * c.lightness() / 110);
    return c;
}

} // namespace

TClocks::TClocks(TForm1& form, TClockSource now)
    : QObject(&form), FForm(form), FBoard(form.Board()), FClock(std::move(now)) {
    FControl = TimeControlPresets().front();
    if (FBoard == nullptr) return;
    // Under the text lines, beside the board.
    if (auto* area = form.findChild<QWidget*>("Panel8")) {
        FPanel = new TClockPanel(area);
        FPanel->setGeometry(424, 388, 153, 20);
        FPanel->hide();
    }
    connect(&form, &TForm1::GameStarted, this, &TClocks::NewGame);
    connect(&form, &TForm1::GameEnded, this, &TClocks::GameOver);
    // A move is counted as soon as it stands on the board, before the window's handlers
    // (which may hold the thread with a sound); its flag is told when it is complete.
    auto moved = FBoard->OnLegalMove;
    FBoard->OnLegalMove = [this, moved](TChessGame* g, Square from, Square to) {
        MoveMade();
        if (moved) moved(g, from, to);
    };
    auto reported = FBoard->OnMoveReport;
    FBoard->OnMoveReport = [this, reported](TChessGame* g, const TMoveReport& move) {
        if (reported) reported(g, move);
        MoveReported();
    };
    FTimer.setInterval(kTickMs);
    connect(&FTimer, &QTimer::timeout, this, &TClocks::Tick);
    FTimer.start();
}

TClocks::~TClocks() = default;

void TClocks::SetControl(const TTimeControl& control) {
    FControl = control;
    // A game without a move yet takes the new control at once.
    if (FClock.State() == TClockState::Idle) Rebase();
    ShowFaces();
}

int TClocks::ShownPly() const {
    return PlyOf(*FBoard, FBoard->CurrentMove(), FBoard->WhiteToMove());
}

int TClocks::LatestPly() const {
    return PlyOf(*FBoard, FBoard->HistoryLastMove(), FBoard->HistoryLastWhite());
}

int TClocks::ClockPly() const {
    return FBase + static_cast<int>(FClock.History().size()) - 1;
}

void TClocks::Rebase() {
    if (FBoard == nullptr) return;
    FFlagTold = false;
    FClock.Reset(FControl, FBoard->WhiteToMove());
    FBase = LatestPly();
}

void TClocks::NewGame() {
    Rebase();
    ShowFaces();
}

void TClocks::GameLoaded() {
    if (FBoard == nullptr) return;
    Rebase();
    if (FBoard->GameOver() != TGameOver::None) FClock.Stop();
    ShowFaces();
}

void TClocks::MoveMade() {
    if (FBoard == nullptr || FControl.Untimed()) return;
    const int before = LatestPly() - 1;
    const int clock = ClockPly();
    if (clock < before) {
        // Moves the clock never saw (a game put on the board): it starts from here.
        Rebase();
        return;
    }
    if (clock > before || FClock.State() == TClockState::Stopped ||
        FClock.State() == TClockState::Flagged) {
        // Play goes on from an earlier position, or from an end stepped back to: the clocks
        // as they stood there.
        if (before < FBase) {
            Rebase();
            return;
        }
        FClock.Rewind(static_cast<std::size_t>(before - FBase));
        FFlagTold = false;
    }
    // A flag that fell before the move is told once the move is complete.
    FClock.Moved();
}

void TClocks::MoveReported() {
    if (FClock.FlagFallen() && !FFlagTold) FlagFell();
    ShowFaces();
}

void TClocks::GameOver() {
    if (FBoard == nullptr || FControl.Untimed()) return;
    FClock.Stop();
    ShowFaces();
}

bool TClocks::MayRun() const {
    // The game shows its latest position, goes on, and is not suspended under the Play panel.
    return FBoard->isEnabled() && ShownPly() == LatestPly() && ClockPly() == LatestPly() &&
           FBoard->GameOver() == TGameOver::None;
}

void TClocks::Tick() {
    if (FBoard == nullptr || FControl.Untimed()) return;
    ShowSkin();
    switch (FClock.State()) {
    case TClockState::Running:
        if (!MayRun()) {
            FClock.Pause();
        } else if (FClock.Poll()) {
            FlagFell();
        }
        break;
    case TClockState::Paused:
        if (MayRun()) {
            FClock.Resume();
            // The computer was halted by the stepping; its clock runs again, so must it.
            if (FBoard->ComputersTurn()) FBoard->StartComputerMove();
        }
        break;
    case TClockState::Flagged:
        if (!FFlagTold) {
            FlagFell();
            break;
        }
        // The position where the flag fell stays frozen, though stepping took its mark away.
        if (ShownPly() == LatestPly() && FBoard->GameOver() == TGameOver::None) {
            FBoard->StopThinking();
            FBoard->MarkGameOver();
            FForm.FreezeBoard();
        }
        break;
    case TClockState::Idle:
    case TClockState::Stopped:
        break;
    }
    ShowFaces();
}

void TClocks::FlagFell() {
    FFlagTold = true;
    // A move that ended the game by the rules stands: its end is the game's.
    if (FBoard->GameEnded()) return;
    const bool white = FClock.FlaggedWhite();
    const std::string result = FlagFallResult(*FBoard, white);
    FBoard->StopThinking();
    FBoard->MarkGameOver();
    FForm.FreezeBoard();
    const QString side = white ? "White" : "Black";
    const QString other = white ? "Black" : "White";
    FForm.ShowRecordedResult(QString::fromStdString(result));
    FForm.SetMessageLine(result == "1/2-1/2" ? "Draw: time out, " + other + " cannot mate"
                                             : side + " lost on time");
    ShowFaces();
}

void TClocks::ShowSkin() {
    const auto* skin = FPanel ? FForm.findChild<QLabel*>("Image2") : nullptr;
    if (skin == nullptr) return;
    const QPixmap picture = skin->pixmap();
    if (picture.cacheKey() == FSkinKey) return;
    FSkinKey = picture.cacheKey();
    FPanel->SetAccent(SkinAccent(picture));
}

QString TClocks::InWords() const {
    if (FControl.Untimed()) return {};
    const auto side = [this](bool white) {
        return QString(white ? "White has " : "Black has ") +
               QString::fromStdString(ClockText(FClock.Remaining(white)));
    };
    QString words = side(true) + ", " + side(false);
    if (FClock.FlagFallen())
        words += FClock.FlaggedWhite() ? ", White's flag has fallen" : ", Black's flag has fallen";
    else if (FClock.State() == TClockState::Running)
        words += FClock.WhiteToMove() ? ", White's clock runs" : ", Black's clock runs";
    return words;
}

void TClocks::ShowFaces() {
    if (FPanel == nullptr) return;
    FPanel->setVisible(!FControl.Untimed());
    if (FControl.Untimed()) return;
    using TSide = TClockPanel::TSide;
    const bool white = FClock.WhiteToMove();
    const TSide mover = white ? TSide::White : TSide::Black;
    FPanel->Show(FClock.Remaining(true), FClock.Remaining(false),
                 FClock.State() == TClockState::Running ? mover : TSide::None,
                 FClock.FlagFallen() ? mover : TSide::None);
}

bool TClocks::SearchLimits(strong::TSearchLimits& limits) const {
    if (FBoard == nullptr || FControl.Untimed()) return false;
    // A clock that has not caught up with the board (a new game on its way) stands for the
    // control's start.
    const bool current = ClockPly() == LatestPly() && FClock.Control() == FControl;
    for (const bool white : {true, false}) {
        const int side = white ? strong::White : strong::Black;
        limits.Time[side] = Millis(current ? FClock.Remaining(white) : FControl.BaseMillis);
        limits.Inc[side] = Millis(FControl.IncrementMillis);
    }
    limits.MoveTime = 0;
    return true;
}

void TClocks::Annotate(GameRecord& record) const {
    if (FBoard == nullptr || FClock.Control().Untimed() || FClock.History().size() < 2) return;
    record.SetTag("TimeControl", TimeControlTagText(FClock.Control()));
    // Move i of the record leaves the board at half-move start + i + 1 (a game Black began
    // starts at the board's half-move 1); the clock's record begins at FBase.
    const auto& times = FClock.History();
    bool white = record.Start.WhiteToMove;
    const int start = PlyOf(*FBoard, FBoard->HistoryFirstMove(), white);
    for (size_t i = 0; i < record.Moves.size(); ++i, white = !white) {
        const long at = start + static_cast<long>(i) + 1 - FBase;
        if (at < 1 || at >= static_cast<long>(times.size())) continue;
        record.NoteToWrite(i).ClockMillis = white ? times[at].White : times[at].Black;
    }
    if (FClock.FlagFallen() && record.Result == "*")
        record.Result = FlagFallResult(*FBoard, FClock.FlaggedWhite());
    if (FClock.FlagFallen()) record.SetTag("Termination", "time forfeit");
}
