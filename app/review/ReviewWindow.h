#pragma once
// TReviewWindow is the game review beside the main window: it runs the review of the
// board's game (with a progress bar and Cancel; the main window stays usable), then shows
// each side's accuracy, the moves with their marks and evaluations and a graph of the whole
// game. Selecting a move puts the position it was played in on the board, with the better
// move as an arrow and its line in words when the move is marked. "Try again" sets that
// position up against the computer; "Back to the review" brings the reviewed game back.

#include <QPointer>
#include <QWidget>

#include <optional>

#include "GameRecord.h"
#include "GameReview.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TEvalGraph;
class TForm1;
class TGameFiles;
class TReviewRun;

class TReviewWindow : public QWidget {
    Q_OBJECT

  public:
    TReviewWindow(TForm1& form, TGameFiles& files);
    ~TReviewWindow() override;

    // Reviews the board's game, showing the window; the review before it is dropped.
    // False (and nothing starts) when the game has no move.
    bool StartReview();
    // Ends a running review; the window tells it was cancelled.
    void Cancel();
    bool Running() const;
    // The search's budget for each position (tests set a node count).
    TReviewOptions Options;

    // The finished review and the game it looked at; null while there is none.
    const TGameReview* Review() const { return FReview ? &*FReview : nullptr; }
    const GameRecord& Reviewed() const { return FReviewed; }

    // Selects the move played from the game's position index (0 for the first move); the
    // number of moves selects the final position. The board goes there.
    void SelectMove(int index);
    int SelectedMove() const { return FSelected; }
    // The better line of the selected move, in SAN; empty when it is not marked.
    QString BetterLine() const;
    // Whether the person is trying the selected position again.
    bool Trying() const { return FTrying; }
    void TryAgain();
    void BackToReview();

    // Puts the review's notes into a record of the board's game: as far as its moves are
    // the reviewed game's, they get the marks, evaluations and better lines.
    void Annotate(GameRecord& record) const;

    // The controls, for tests.
    TEvalGraph* Graph() const { return FGraph; }
    QListWidget* MoveList() const { return FMoves; }
    QPushButton* CancelButton() const { return FCancel; }
    QPushButton* TryAgainButton() const { return FTry; }
    QPushButton* BackButton() const { return FBack; }
    QProgressBar* ProgressBar() const { return FProgress; }
    QLabel* Summary() const { return FSummary; }

  signals:
    void ReviewFinished();

  protected:
    // Closing the window ends a running review and takes the arrow off the board.
    void closeEvent(QCloseEvent* e) override;

  private:
    void Finished(const TGameReview& review);
    void Fill();
    void ShowPosition(int index);
    bool ReviewedGameOnBoard() const;
    void PutReviewedGameOnBoard();
    void UpdateButtons();

    TForm1& FForm;
    TGameFiles& FFiles;
    TReviewRun* FRun;
    GameRecord FReviewed;
    std::optional<TGameReview> FReview;
    int FSelected = -1;
    bool FTrying = false;
    bool FSavedComputerWhite = false;
    bool FSavedComputerBlack = false;

    QLabel* FSummary;
    QProgressBar* FProgress;
    QPushButton* FCancel;
    TEvalGraph* FGraph;
    QListWidget* FMoves;
    QLabel* FBetter;
    QPushButton* FTry;
    QPushButton* FBack;
};
