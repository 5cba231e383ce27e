#pragma once
// TThread is a worker thread that is created suspended and can be suspended and resumed from
// the window thread, asked to terminate, run a function on the window thread while it waits
// for the result, and given one of seven relative priorities. It knows nothing of any window
// toolkit: the owner plugs in the function that posts a call to its window thread.
//
// Suspension is cooperative: Suspend only raises a flag, and the worker stops at its next
// suspension point (the end of every synchronized call, or CheckSuspended). The flag is a
// boolean, not a count: resuming a thread that is not suspended has no effect and is not
// remembered. The OS thread is started by the first Resume, so a thread that is never resumed
// costs nothing.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "ThreadPriority.h"

// The nice value that stands for a relative priority: tpIdle 15 ... tpNormal 0 ...
// tpTimeCritical -15.
int NiceValueOf(TThreadPriority p);

class TThread {
  public:
    // Hands a call to the window thread, to run there later. It may be called from any thread;
    // the call may also never be run (its owner gone), which the facility tolerates.
    using TPostFunction = std::function<void(std::function<void()>)>;

    TThread();
    // Terminates the thread and waits for it. A derived class whose Execute uses its own
    // members must call TerminateAndWait in its own destructor.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Set before the first Resume. Without one, synchronized calls run on the worker itself.
    void SetPostFunction(TPostFunction post) { FPost = std::move(post); }

    // Window-thread side.
    void Resume();
    void Suspend();
    bool Suspended() const;
    void Terminate();
    void TerminateAndWait();
    bool Terminated() const;
    // True while the window thread is running a call this thread is waiting for.
    bool InSynchronizedCall() const;

    // Applies at once when the thread runs; a refused raise leaves the old nice value.
    void SetPriority(TThreadPriority p);
    TThreadPriority Priority() const;

  protected:
    // The thread body; it should return soon after Terminated() becomes true.
    virtual void Execute() = 0;
    // Runs on the window thread before a suspended thread is woken, while the worker still
    // waits; what it writes is visible to the worker afterwards.
    virtual void BeforeResume() {}

    // Worker side: runs fn on the window thread and blocks until it has returned, then stops
    // at the suspension point. Returns false, without waiting any longer, when the thread is
    // terminated before the call has completed.
    bool Synchronize(std::function<void()> fn);
    // Worker side: waits while suspended; false once terminated.
    bool CheckSuspended();

  private:
    struct TShared;
    struct TCall;

    void Run();
    static void RunPosted(const std::shared_ptr<TShared>& shared,
                          const std::shared_ptr<TCall>& call);
    void ApplyPriorityLocked();

    std::shared_ptr<TShared> FShared;
    TPostFunction FPost;
    std::thread FThread;
};

// A queue of calls for one consuming thread (usually the window thread). Any thread may post;
// when the queue turns non-empty the wake function runs on the posting thread to tell the
// consumer, which then runs what is queued. The mutex orders everything a call carries.
class TCallQueue {
  public:
    explicit TCallQueue(std::function<void()> wake = {}) : FWake(std::move(wake)) {}

    void Post(std::function<void()> call);
    // Runs the calls queued so far, in order, on the calling thread; returns their number.
    int RunPending();
    // A post function for TThread that queues its calls here.
    TThread::TPostFunction Poster() {
        return [this](std::function<void()> call) { Post(std::move(call)); };
    }

  private:
    std::function<void()> FWake;
    std::mutex FMutex;
    std::deque<std::function<void()>> FCalls;
};
