#include "ReviewWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

#include "ChessBrd.h"
#include "EvalGraph.h"
#include "GameFiles.h"
#include "ReviewRun.h"
#include "San.h"
#include "Unit1.h"

namespace {

// "+0.35", "-1.20", "#3", "#-2", "mate" for a position already mate.
QString EvalWords(int whiteScore) {
    if (IsMateScore(whiteScore)) {
        const int moves = MateMoves(whiteScore);
        return moves == 0 ? QString("mate") : QString("#%1").arg(moves);
    }
    return QString::asprintf("%+.2f", whiteScore / 100.0);
}

QString Text(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The index of a position of a game on a board of the rules whose history holds the game
// from its first record on: the move number and side GotoHalfMove takes.
std::pair<int, bool> HalfMoveOf(const TChessGame& game, int index) {
    const int h = 2 * game.HistoryFirstMove() + (game.HistoryFirstWhite() ? 0 : 1) + index;
    return {h / 2, h % 2 == 0};
}

// How many of the first moves two records share, when they begin in the same position.
std::size_t SharedMoves(const GameRecord& a, const GameRecord& b) {
    if (a.Start.Board != b.Start.Board || a.Start.WhiteToMove != b.Start.WhiteToMove) return 0;
    const std::size_t n = std::min(a.Moves.size(), b.Moves.size());
    std::size_t k = 0;
    while (k < n && a.Moves[k] == b.Moves[k])
        ++k;
    return k;
}

} // namespace

TReviewWindow::TReviewWindow(TForm1& form, TGameFiles& files)
    : QWidget(&form, Qt::Tool), FForm(form), FFiles(files), FRun(new TReviewRun(this)) {
    setObjectName("ReviewWindow");
    setWindowTitle("Game review");
    auto* layout = new QVBoxLayout(this);
    FSummary = new QLabel;
    FSummary->setWordWrap(true);
    layout->addWidget(FSummary);
    auto* progressRow = new QHBoxLayout;
    FProgress = new QProgressBar;
    FCancel = new QPushButton("Cancel");
    progressRow->addWidget(FProgress, 1);
    progressRow->addWidget(FCancel);
    layout->addLayout(progressRow);
    FGraph = new TEvalGraph;
    layout->addWidget(FGraph);
    FMoves = new QListWidget;
    FMoves->setObjectName("ReviewMoves");
    layout->addWidget(FMoves, 1);
    FBetter = new QLabel;
    FBetter->setWordWrap(true);
    FBetter->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(FBetter);
    auto* buttons = new QHBoxLayout;
    FTry = new QPushButton("Try again");
    FBack = new QPushButton("Back to the review");
    buttons->addWidget(FTry);
    buttons->addWidget(FBack);
    layout->addLayout(buttons);
    resize(380, 560);

    connect(FCancel, &QPushButton::clicked, this, &TReviewWindow::Cancel);
    connect(FTry, &QPushButton::clicked, this, &TReviewWindow::TryAgain);
    connect(FBack, &QPushButton::clicked, this, &TReviewWindow::BackToReview);
    // A point of the graph is the position a move led to; a click picks that move.
    connect(FGraph, &TEvalGraph::Clicked, this,
            [this](int point) { SelectMove(std::max(0, point - 1)); });
    connect(FMoves, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != FSelected) SelectMove(row);
    });
    connect(FRun, &TReviewRun::Progress, this, [this](int done, int total) {
        FProgress->setRange(0, total);
        FProgress->setValue(done);
    });
    connect(FRun, &TReviewRun::Finished, this, &TReviewWindow::Finished);
    // A new game on the board takes the arrow away; the review's own loads set it again.
    connect(&form, &TForm1::GameStarted, this, [this] {
        if (TChessBrd* board = FForm.Board()) board->SetArrow(None, None);
    });
    UpdateButtons();
}

TReviewWindow::~TReviewWindow() = default;

bool TReviewWindow::Running() const {
    return FRun->Running();
}

bool TReviewWindow::StartReview() {
    if (FForm.Board() == nullptr) return false;
    GameRecord record = FFiles.CurrentRecord();
    if (record.Moves.empty()) {
        FForm.SetMessageLine("There is no move to review.");
        return false;
    }
    FRun->Cancel();
    // The notes of an earlier review go; the clocks stay.
    for (MoveNote& note : record.Notes) {
        note.Eval.reset();
        note.Mark = MarkNone;
        note.Better.clear();
    }
    FReviewed = record;
    FReview.reset();
    FSelected = -1;
    FTrying = false;
    FMoves->clear();
    FGraph->SetValues({}, {});
    FBetter->clear();
    FForm.Board()->SetArrow(None, None);
    FProgress->setRange(0, int(record.Moves.size()) + 1);
    FProgress->setValue(0);
    FSummary->setText("Reviewing the game...");
    FRun->Start(record, Options);
    UpdateButtons();
    if (!isVisible()) {
        // Beside the main window where the screen has room, else over its right edge.
        const QRect main = FForm.frameGeometry();
        QPoint at(main.right() + 8, main.top());
        if (const QScreen* screen = FForm.screen())
            at.setX(std::min(at.x(), screen->availableGeometry().right() - width()));
        move(at);
    }
    show();
    raise();
    return true;
}

void TReviewWindow::Cancel() {
    if (!FRun->Running()) return;
    FRun->Cancel();
    FSummary->setText("The review was cancelled.");
    UpdateButtons();
}

void TReviewWindow::closeEvent(QCloseEvent* e) {
    Cancel();
    if (TChessBrd* board = FForm.Board()) board->SetArrow(None, None);
    QWidget::closeEvent(e);
}

void TReviewWindow::Finished(const TGameReview& review) {
    FReview = review;
    Fill();
    UpdateButtons();
    emit ReviewFinished();
}

// The accuracy, the moves and the graph of the review.
void TReviewWindow::Fill() {
    const TGameReview& r = *FReview;
    QString summary = QString("Accuracy: White %1%, Black %2%")
                          .arg(r.Accuracy[0], 0, 'f', 1)
                          .arg(r.Accuracy[1], 0, 'f', 1);
    if (!r.Complete) summary += "\nThe review did not reach the end of the game.";
    FSummary->setText(summary);
    TReplayGame game(FReviewed.Start);
    QStringList lines;
    std::vector<double> scores;
    std::vector<int> marks{MarkNone};
    for (std::size_t i = 0; i < r.Moves.size(); ++i) {
        const TMoveReview& m = r.Moves[i];
        if (i == 0) scores.push_back(ExpectedScore(m.Before, true));
        const int number = game.FullMoveNumber();
        const QString prefix =
            game.WhiteToMove() ? QString("%1. ").arg(number) : QString("%1... ").arg(number);
        const QString san = Text(WriteSan(game, FReviewed.Moves[i])) + MarkSign(m.Mark);
        lines << prefix + san + "   " + EvalWords(m.After);
        scores.push_back(ExpectedScore(m.After, true));
        marks.push_back(m.Mark);
        game.Play(FReviewed.Moves[i]);
    }
    FMoves->clear();
    FMoves->addItems(lines);
    FGraph->SetValues(std::move(scores), std::move(marks));
}

QString TReviewWindow::BetterLine() const {
    if (!FReview || FSelected < 0 || FSelected >= int(FReview->Moves.size())) return {};
    const TMoveReview& m = FReview->Moves[size_t(FSelected)];
    if (m.Mark == MarkNone) return {};
    TReplayGame game(FReviewed.Start);
    for (int i = 0; i < FSelected; ++i)
        game.Play(FReviewed.Moves[size_t(i)]);
    QStringList words;
    for (const GameMove& move : m.BestLine) {
        const std::string san = WriteSan(game, move);
        if (san.empty() || !game.Play(move)) break;
        words << Text(san);
    }
    return words.join(' ');
}

void TReviewWindow::SelectMove(int index) {
    if (!FReview) return;
    const int moves = int(FReview->Moves.size());
    if (index < 0 || index > moves) return;
    if (FTrying) BackToReview();
    FSelected = index;
    FGraph->SetSelected(std::min(index + 1, moves));
    {
        const QSignalBlocker quiet(FMoves);
        FMoves->setCurrentRow(index < moves ? index : -1);
    }
    ShowPosition(index);
    FBetter->clear();
    if (index < moves) {
        const TMoveReview& m = FReview->Moves[size_t(index)];
        const QString line = BetterLine();
        FBetter->setText(line.isEmpty()
                             ? QString("Evaluation before the move: %1").arg(EvalWords(m.Before))
                             : QString("Better: %1   (%2)").arg(line, EvalWords(m.Before)));
    }
    UpdateButtons();
}

// The position a move was played in, on the board, with the better move as an arrow when
// the move is marked.
void TReviewWindow::ShowPosition(int index) {
    TChessBrd* board = FForm.Board();
    if (board == nullptr) return;
    if (!ReviewedGameOnBoard()) PutReviewedGameOnBoard();
    const auto [n, white] = HalfMoveOf(*board, index);
    board->GotoHalfMove(n, white);
    FForm.RefreshMoveList();
    const int moves = int(FReview->Moves.size());
    const TMoveReview* m = index < moves ? &FReview->Moves[size_t(index)] : nullptr;
    if (m && m->Mark != MarkNone && m->Best.From != None)
        board->SetArrow(m->Best.From, m->Best.To);
    else
        board->SetArrow(None, None);
}

bool TReviewWindow::ReviewedGameOnBoard() const {
    const TChessBrd* board = FForm.Board();
    if (board == nullptr) return false;
    const GameRecord onBoard = RecordFromHistory(*board, &FReviewed.Start);
    return SharedMoves(onBoard, FReviewed) == FReviewed.Moves.size();
}

void TReviewWindow::PutReviewedGameOnBoard() {
    FFiles.LoadRecord(FReviewed);
}

void TReviewWindow::TryAgain() {
    TChessBrd* board = FForm.Board();
    if (!FReview || board == nullptr || FTrying) return;
    if (FSelected < 0 || FSelected >= int(FReview->Moves.size())) return;
    // The game up to the move, the person on the mover's side and the computer on the other.
    GameRecord upTo = FReviewed;
    upTo.Moves.resize(size_t(FSelected));
    upTo.Notes.clear();
    upTo.Result = std::string(1, '*'); // the game goes on
    FSavedComputerWhite = board->ComputerPlaysWhite();
    FSavedComputerBlack = board->ComputerPlaysBlack();
    FTrying = true;
    FFiles.LoadRecord(upTo);
    const bool personWhite = board->WhiteToMove();
    board->SetComputerPlaysWhite(!personWhite);
    board->SetComputerPlaysBlack(personWhite);
    board->SetArrow(None, None);
    FForm.SetMessageLine(
        QString("Find a better move for %1.").arg(personWhite ? "White" : "Black"));
    UpdateButtons();
}

void TReviewWindow::BackToReview() {
    TChessBrd* board = FForm.Board();
    if (!FTrying || board == nullptr) return;
    FTrying = false;
    board->StopThinking();
    FFiles.LoadRecord(FReviewed);
    board->SetComputerPlaysWhite(FSavedComputerWhite);
    board->SetComputerPlaysBlack(FSavedComputerBlack);
    if (FSelected >= 0) SelectMove(FSelected);
    UpdateButtons();
}

void TReviewWindow::Annotate(GameRecord& record) const {
    if (!FReview) return;
    const std::size_t shared = std::min(SharedMoves(record, FReviewed), FReview->Moves.size());
    if (shared == 0) return;
    TGameReview part = *FReview;
    part.Moves.resize(shared);
    AnnotateRecord(record, part);
}

void TReviewWindow::UpdateButtons() {
    const bool running = FRun->Running();
    FProgress->setVisible(running);
    FCancel->setVisible(running);
    const bool moveSelected = FReview && FSelected >= 0 && FSelected < int(FReview->Moves.size());
    FTry->setEnabled(moveSelected && !FTrying && !running);
    FBack->setEnabled(FTrying);
}
