// The game review in the main window: a game whose one blunder is known is reviewed and
// marked there and nowhere else; the move goes on the board with the better move as an
// arrow; the graph picks a move; Try again sets the position up against the computer and
// Back returns; the review's notes survive a PGN written and read back; a review cancelled
// midway reports nothing and leaves the window free; the offer appears when a game ends.

#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

#include "EvalGraph.h"
#include "GameFiles.h"
#include "MainWindowSupport.h"
#include "PgnReader.h"
#include "ReviewCommand.h"
#include "ReviewWindow.h"
#include "StartOptions.h"

namespace {

// White's queen takes a defended pawn with check on move 3 and is lost to the knight.
const char* kHungQueen = "1. e4 e5 2. Qh5 Nc6 3. Qxe5+ Nxe5 *";
constexpr int kBlunder = 4; // the half-move 3. Qxe5+

struct TWindow : TFilesWindow {
    TReviewWindow* Review = InstallGameReview(Form, *Files);

    TWindow() {
        Controls(Form).ComboBox1->setCurrentText("Player");
        Controls(Form).ComboBox2->setCurrentText("Player");
        B->SetAnimateMoves(false);
        // A node budget: the same marks on every run, and quickly.
        Review->Options.NodesPerPosition = 10000;
        Form.show();
    }
    void Load(const char* pgn) {
        QString error;
        ASSERT_TRUE(Files->LoadText(pgn, error)) << error.toStdString();
    }
    bool Reviewed() {
        bool finished = false;
        QObject::connect(Review, &TReviewWindow::ReviewFinished, [&finished] { finished = true; });
        if (!Review->StartReview()) return false;
        return PumpUntil([&] { return finished; }, 120000);
    }
    // The half-moves in the board's history.
    int HalfMoves() const {
        const int first = 2 * B->HistoryFirstMove() + (B->HistoryFirstWhite() ? 0 : 1);
        const int last = 2 * B->HistoryLastMove() + (B->HistoryLastWhite() ? 0 : 1);
        return last - first;
    }
};

void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

} // namespace

TEST(GameReview, TheHungQueenIsTheOneBlunderAndItsBetterMoveIsAnArrow) {
    EnsureApplication();
    TWindow w;
    w.Load(kHungQueen);
    ASSERT_TRUE(w.Reviewed());
    const TGameReview* review = w.Review->Review();
    ASSERT_NE(review, nullptr);
    ASSERT_EQ(review->Moves.size(), 6u);
    for (size_t i = 0; i < review->Moves.size(); ++i) {
        if (int(i) == kBlunder)
            EXPECT_EQ(review->Moves[i].Mark, MarkBlunder);
        else
            EXPECT_NE(review->Moves[i].Mark, MarkBlunder) << i;
    }
    EXPECT_LT(review->Accuracy[0], review->Accuracy[1]);
    // The list says so, and the graph has a point for every position.
    ASSERT_EQ(w.Review->MoveList()->count(), 6);
    EXPECT_TRUE(w.Review->MoveList()->item(kBlunder)->text().startsWith("3. Qxe5+??"))
        << w.Review->MoveList()->item(kBlunder)->text().toStdString();
    EXPECT_EQ(w.Review->Graph()->Count(), 7);
    EXPECT_FALSE(w.Review->Summary()->text().isEmpty());

    // Selected, the position it was played in is on the board, with the better move's arrow.
    w.Review->SelectMove(kBlunder);
    EXPECT_EQ(w.B->CurrentMove(), 3);
    EXPECT_TRUE(w.B->WhiteToMove());
    EXPECT_EQ(w.B->PieceAt(H5), 'Q');
    const GameMove best = review->Moves[kBlunder].Best;
    EXPECT_EQ(w.B->Arrow(), std::make_pair(best.From, best.To));
    EXPECT_FALSE(w.Review->BetterLine().isEmpty());
    EXPECT_FALSE(w.Review->BetterLine().startsWith("Qxe5"));
    // An unmarked move shows no arrow.
    w.Review->SelectMove(1);
    EXPECT_EQ(w.B->Arrow(), std::make_pair(None, None));
    EXPECT_TRUE(w.Review->BetterLine().isEmpty());

    // A click on the graph where the blunder's drop ends picks it.
    TEvalGraph* graph = w.Review->Graph();
    const QPoint at(graph->XOf(kBlunder + 1), graph->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(graph->mapToGlobal(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(graph, &press);
    EXPECT_EQ(w.Review->SelectedMove(), kBlunder);
    EXPECT_EQ(w.Review->MoveList()->currentRow(), kBlunder);
    EXPECT_EQ(graph->Selected(), kBlunder + 1);
    EXPECT_EQ(w.B->Arrow(), std::make_pair(best.From, best.To));
    // The last point is the final position: no move, no arrow.
    w.Review->SelectMove(6);
    EXPECT_EQ(w.B->PieceAt(E5), 'n');
    EXPECT_EQ(w.B->Arrow(), std::make_pair(None, None));
    // Closing the window takes the arrow away, and so does a new game.
    w.Review->close();
    EXPECT_EQ(w.B->Arrow(), std::make_pair(None, None));
    w.Review->SelectMove(kBlunder);
    ASSERT_NE(w.B->Arrow(), std::make_pair(None, None));
    w.Review->SelectMove(kBlunder);
    w.Form.StartGame();
    EXPECT_EQ(w.B->Arrow(), std::make_pair(None, None));
    // Selecting again brings the reviewed game back onto the board first.
    w.Review->SelectMove(kBlunder);
    EXPECT_EQ(w.B->PieceAt(H5), 'Q');
    EXPECT_EQ(w.HalfMoves(), 6);
}

TEST(GameReview, TryAgainPlaysTheMistakesPositionAgainstTheComputerAndBackReturns) {
    EnsureApplication();
    TWindow w;
    w.Load(kHungQueen);
    ASSERT_TRUE(w.Reviewed());
    w.Review->SelectMove(kBlunder);
    ASSERT_TRUE(w.Review->TryAgainButton()->isEnabled());
    EXPECT_FALSE(w.Review->BackButton()->isEnabled());
    w.Review->TryAgainButton()->click();
    ASSERT_TRUE(w.Review->Trying());
    // The game up to the blunder, White (the blunderer) the person's, Black the computer's.
    EXPECT_EQ(w.HalfMoves(), kBlunder);
    EXPECT_TRUE(w.B->WhiteToMove());
    EXPECT_FALSE(w.B->ComputerPlaysWhite());
    EXPECT_TRUE(w.B->ComputerPlaysBlack());
    EXPECT_EQ(w.B->GameOver(), TGameOver::None);
    EXPECT_EQ(w.B->Arrow(), std::make_pair(None, None));
    EXPECT_FALSE(w.Review->TryAgainButton()->isEnabled());
    // The person finds another move; the computer answers it.
    ASSERT_TRUE(w.B->PlayerMove(F1, C4));
    ASSERT_TRUE(PumpUntil([&] { return w.HalfMoves() == kBlunder + 2; }, 30000));
    // Back: the reviewed game, its players as they were, the move and its arrow.
    w.Review->BackButton()->click();
    EXPECT_FALSE(w.Review->Trying());
    EXPECT_EQ(w.HalfMoves(), 6);
    EXPECT_FALSE(w.B->ComputerPlaysWhite());
    EXPECT_FALSE(w.B->ComputerPlaysBlack());
    EXPECT_EQ(w.B->PieceAt(H5), 'Q');
    EXPECT_EQ(w.B->Arrow().first, w.Review->Review()->Moves[kBlunder].Best.From);
    EXPECT_TRUE(w.Review->TryAgainButton()->isEnabled());
    // Selecting another move while trying goes back to the review as well.
    w.Review->SelectMove(kBlunder);
    w.Review->TryAgain();
    w.Review->SelectMove(2);
    EXPECT_FALSE(w.Review->Trying());
    EXPECT_EQ(w.HalfMoves(), 6);
}

TEST(GameReview, ItsNotesGoIntoThePgnAndComeBackWhenItIsRead) {
    EnsureApplication();
    TWindow w;
    w.Load(kHungQueen);
    // Nothing reviewed, nothing noted.
    EXPECT_EQ(w.Files->GamePgn().indexOf("%eval"), -1);
    ASSERT_TRUE(w.Reviewed());
    const GameRecord written = w.Files->CurrentRecord();
    ASSERT_EQ(written.Notes.size(), 6u);
    EXPECT_EQ(written.Notes[kBlunder].Mark, MarkBlunder);
    EXPECT_FALSE(written.Notes[kBlunder].Better.empty());
    const QString pgn = w.Files->GamePgn();
    EXPECT_NE(pgn.indexOf("$4"), -1) << pgn.toStdString();
    EXPECT_NE(pgn.indexOf("[%eval"), -1);
    EXPECT_NE(pgn.indexOf('('), -1);
    // Read back through the program: the notes as written.
    QString error;
    ASSERT_TRUE(w.Files->LoadText(pgn, error)) << error.toStdString();
    ASSERT_NE(w.Files->LoadedRecord(), nullptr);
    EXPECT_EQ(w.Files->LoadedRecord()->Moves, written.Moves);
    EXPECT_EQ(w.Files->LoadedRecord()->Notes, written.Notes);
    // A game that goes another way keeps the notes only of the moves it shares.
    w.Load("1. e4 e5 2. Nf3 *");
    const GameRecord other = w.Files->CurrentRecord();
    for (const MoveNote& note : other.Notes)
        EXPECT_EQ(note.Mark, MarkNone);
    EXPECT_LE(other.Notes.size(), 3u);
    EXPECT_TRUE(other.Notes.empty() || !other.Notes[2].Eval);
}

TEST(GameReview, CancelledMidwayReportsNothingAndTheWindowStaysFree) {
    EnsureApplication();
    TWindow w;
    // A long game at the default time budget: far from done when cancelled.
    w.Review->Options = TReviewOptions{};
    w.Load("1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 *");
    bool finished = false;
    QObject::connect(w.Review, &TReviewWindow::ReviewFinished, [&finished] { finished = true; });
    ASSERT_TRUE(w.Review->StartReview());
    EXPECT_TRUE(w.Review->Running());
    EXPECT_TRUE(w.Review->CancelButton()->isVisibleTo(w.Review));
    ASSERT_TRUE(PumpUntil([&] { return w.Review->ProgressBar()->value() >= 1; }, 10000));
    w.Review->CancelButton()->click();
    EXPECT_FALSE(w.Review->Running());
    EXPECT_FALSE(w.Review->CancelButton()->isVisibleTo(w.Review));
    const int progress = w.Review->ProgressBar()->value();
    PumpFor(800);
    EXPECT_FALSE(finished);
    EXPECT_EQ(w.Review->Review(), nullptr);
    EXPECT_EQ(w.Review->ProgressBar()->value(), progress);
    // The person plays on meanwhile, and a new review runs to its end.
    w.Review->Options.NodesPerPosition = 5000;
    ASSERT_TRUE(w.Reviewed());
    EXPECT_TRUE(w.Review->Review()->Complete);
    // Cancelled twice in a row and started again at once, then the window closed while one
    // runs: nothing left behind.
    w.Review->Options = TReviewOptions{};
    ASSERT_TRUE(w.Review->StartReview());
    w.Review->Cancel();
    ASSERT_TRUE(w.Review->StartReview());
    w.Review->Cancel();
    ASSERT_TRUE(w.Review->StartReview());
    w.Review->close();
    EXPECT_FALSE(w.Review->Running());
    ASSERT_TRUE(w.Review->StartReview());
    PumpFor(50);
}

TEST(GameReview, OfferedWhenAGameEndsAndGoneWithTheNext) {
    EnsureApplication();
    TWindow w;
    auto* offer = w.Form.findChild<TReviewOffer*>("ReviewOffer");
    ASSERT_NE(offer, nullptr);
    EXPECT_FALSE(offer->isVisible());
    w.Load("1. f3 e5 2. g4 Qh4# 0-1");
    EXPECT_TRUE(offer->isVisible());
    // It blocks nothing: the window takes a new game, which takes the offer away.
    w.Form.StartGame();
    EXPECT_FALSE(offer->isVisible());
    w.Load("1. f3 e5 2. g4 Qh4# 0-1");
    ASSERT_TRUE(offer->isVisible());
    offer->ReviewButton()->click();
    EXPECT_FALSE(offer->isVisible());
    EXPECT_TRUE(w.Review->Running());
    EXPECT_TRUE(w.Review->isVisible());
    // The context menu holds the command too.
    bool listed = false;
    for (const QAction* a : w.Form.Commands())
        listed = listed || a->text() == "Review game";
    EXPECT_TRUE(listed);
}
