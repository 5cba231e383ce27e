#pragma once
// TReviewRun runs one game review at a time on a worker thread of the engine's thread
// layer, so the window thread stays free while the search looks at every position. It
// reports its progress and its result on the window thread; Cancel ends the search at once
// and nothing more is reported for that review.

#include <QObject>

#include <memory>
#include <vector>

#include "GameRecord.h"
#include "GameReview.h"

class TReviewRun : public QObject {
    Q_OBJECT

  public:
    explicit TReviewRun(QObject* parent = nullptr);
    ~TReviewRun() override;

    // Starts reviewing the game; false when a review runs already.
    bool Start(const GameRecord& game, const TReviewOptions& options = {});
    // Ends the running review; its result is not reported. Returns at once; the worker
    // winds down by itself.
    void Cancel();
    bool Running() const;

  signals:
    // Positions evaluated so far, of all the game's positions.
    void Progress(int done, int total);
    // The whole review (Complete) or as far as the search came before it was refused.
    void Finished(const TGameReview& review);

  private:
    class TWorker;
    void Deliver(TWorker* worker, const TGameReview& review);
    void Retire(TWorker* worker);

    std::unique_ptr<TWorker> FWorker; // the review under way
    // Workers finished or cancelled whose threads have not returned yet; each goes when its
    // thread says it has.
    std::vector<std::unique_ptr<TWorker>> FRetiring;
};
