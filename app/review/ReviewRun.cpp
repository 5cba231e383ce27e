#include "ReviewRun.h"

#include <QMetaObject>

#include <atomic>

#include "Thread.h"

// One review: the reviewer lives and runs on the worker. Its progress goes to the window
// thread as queued calls, which need not wait; its result through a synchronized call; and
// last of all a queued call that lets the window thread join it. The run outlives every
// call posted to it, since it joins its workers before it goes.
class TReviewRun::TWorker : public TThread {
  public:
    TWorker(TReviewRun& run, const GameRecord& game, const TReviewOptions& options)
        : FRun(run), FGame(game), FReviewer(options) {
        SetPostFunction([&run](std::function<void()> call) {
            QMetaObject::invokeMethod(&run, std::move(call), Qt::QueuedConnection);
        });
        // Below the window thread, which must answer the person at once: the search only
        // gets less deep for it, since its budget is a time.
        SetPriority(tpIdle);
    }
    ~TWorker() override {
        FReviewer.Stop();
        TerminateAndWait();
    }

    // Window thread: nothing of this review is reported any more.
    void Cancel() {
        Cancelled = true;
        FReviewer.Stop();
        Terminate();
    }

    bool Cancelled = false; // window thread only

  protected:
    void Execute() override {
        const TGameReview review =
            FReviewer.Review(FGame, [this](std::size_t done, std::size_t total) {
                QMetaObject::invokeMethod(
                    &FRun,
                    [this, done, total] {
                        if (!Cancelled) emit FRun.Progress(int(done), int(total));
                    },
                    Qt::QueuedConnection);
            });
        if (!Terminated()) Synchronize([this, &review] { FRun.Deliver(this, review); });
        QMetaObject::invokeMethod(
            &FRun, [this] { FRun.Retire(this); }, Qt::QueuedConnection);
    }

  private:
    TReviewRun& FRun;
    GameRecord FGame;
    TGameReviewer FReviewer;
};

TReviewRun::TReviewRun(QObject* parent) : QObject(parent) {}

TReviewRun::~TReviewRun() {
    Cancel();
    for (auto& w : FRetiring)
        w->Cancel();
    FRetiring.clear(); // joins them while this object is whole
}

bool TReviewRun::Running() const {
    return FWorker != nullptr;
}

bool TReviewRun::Start(const GameRecord& game, const TReviewOptions& options) {
    if (FWorker) return false;
    FWorker = std::make_unique<TWorker>(*this, game, options);
    FWorker->Resume();
    return true;
}

void TReviewRun::Cancel() {
    if (!FWorker) return;
    FWorker->Cancel();
    FRetiring.push_back(std::move(FWorker));
}

void TReviewRun::Deliver(TWorker* worker, const TGameReview& review) {
    if (worker->Cancelled || worker != FWorker.get()) return;
    // No longer running when the result is heard, so a listener may start another.
    FRetiring.push_back(std::move(FWorker));
    const TGameReview copy = review;
    emit Finished(copy);
}

void TReviewRun::Retire(TWorker* worker) {
    // Its thread has nothing left to do but return; joining it is quick.
    std::erase_if(FRetiring, [worker](const auto& w) { return w.get() == worker; });
}
