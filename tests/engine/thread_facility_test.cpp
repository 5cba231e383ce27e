// The thread facility: created suspended, cooperative suspend and resume, synchronized calls
// through a window-thread queue, termination with calls still pending, priorities.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "Thread.h"

using namespace std::chrono_literals;

namespace {

// Counts its cycles; each cycle makes one synchronized call that runs OnWindow.
class TLoopThread : public TThread {
  public:
    std::atomic<int> Cycles{0};
    std::atomic<int> Tid{0};        // the OS thread's id, once it runs
    std::function<void()> OnWindow; // runs on the test's (window) thread

    ~TLoopThread() override { TerminateAndWait(); }

  protected:
    void Execute() override {
        Tid = int(::syscall(SYS_gettid));
        while (!Terminated()) {
            ++Cycles;
            if (!Synchronize([this] {
                    if (OnWindow) OnWindow();
                }))
                break;
        }
    }
};

// The window thread's queue with a wake-up a test can wait for.
struct TWindowQueue : TCallQueue {
    TWindowQueue()
        : TCallQueue([this] {
              std::lock_guard lock(M);
              ++Wakes;
              Cv.notify_all();
          }) {}
    // Waits until a call has been queued since the last wait.
    bool WaitForCall(std::chrono::milliseconds timeout) {
        std::unique_lock lock(M);
        const bool woken = Cv.wait_for(lock, timeout, [&] { return Wakes != Seen; });
        Seen = Wakes;
        return woken;
    }
    std::mutex M;
    std::condition_variable Cv;
    int Wakes = 0, Seen = 0;
};

// Plays the window thread: runs posted calls until the condition holds or 5 s pass.
template <class Pred> bool PumpUntil(TWindowQueue& q, Pred done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        q.WaitForCall(5ms);
        q.RunPending();
    }
    return true;
}

struct ThreadFacility : ::testing::Test {
    TWindowQueue Queue;
    TLoopThread Thread;
    void SetUp() override { Thread.SetPostFunction(Queue.Poster()); }
};

} // namespace

TEST_F(ThreadFacility, IsCreatedSuspendedAndStartsOnlyWhenResumed) {
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(Thread.Suspended());
    EXPECT_EQ(Thread.Cycles, 0);
    EXPECT_EQ(Thread.Tid, 0); // the body has not run

    Thread.Resume();
    EXPECT_FALSE(Thread.Suspended());
    ASSERT_TRUE(PumpUntil(Queue, [&] { return Thread.Cycles >= 3; }));
    EXPECT_NE(Thread.Tid, 0);
}

TEST_F(ThreadFacility, SynchronizedCallRunsOnTheWindowThreadWhileTheWorkerWaits) {
    const auto window = std::this_thread::get_id();
    int calls = 0;
    bool allOnWindow = true, allInCall = true, workerWaited = true;
    Thread.OnWindow = [&] {
        ++calls;
        allOnWindow = allOnWindow && std::this_thread::get_id() == window;
        allInCall = allInCall && Thread.InSynchronizedCall();
        // The worker cannot start its next cycle before this call has returned.
        std::this_thread::sleep_for(1ms);
        workerWaited = workerWaited && Thread.Cycles == calls;
    };
    Thread.Resume();
    ASSERT_TRUE(PumpUntil(Queue, [&] { return calls >= 20; }));
    EXPECT_TRUE(allOnWindow);
    EXPECT_TRUE(allInCall);
    EXPECT_TRUE(workerWaited);
    EXPECT_FALSE(Thread.InSynchronizedCall());
}

TEST_F(ThreadFacility, SuspendParksAtTheEndOfTheCallAndResumeIsNotRemembered) {
    int calls = 0;
    Thread.OnWindow = [&] {
        // A resume while running has no effect, so the suspension that follows holds.
        if (++calls == 3) {
            Thread.Resume();
            Thread.Suspend();
        }
    };
    Thread.Resume();
    ASSERT_TRUE(PumpUntil(Queue, [&] { return calls == 3; }));
    std::this_thread::sleep_for(50ms);
    Queue.RunPending();
    EXPECT_TRUE(Thread.Suspended());
    EXPECT_EQ(Thread.Cycles, 3);
    EXPECT_EQ(calls, 3);

    Thread.Resume();
    ASSERT_TRUE(PumpUntil(Queue, [&] { return calls >= 6; }));
    EXPECT_GE(Thread.Cycles, 6);
}

TEST_F(ThreadFacility, DestructionReleasesAWorkerWhoseCallNeverRuns) {
    auto ran = std::make_shared<std::atomic<bool>>(false);
    {
        TWindowQueue queue;
        TLoopThread thread;
        thread.SetPostFunction(queue.Poster());
        thread.OnWindow = [ran] { *ran = true; };
        thread.Resume();
        ASSERT_TRUE(queue.WaitForCall(5s)); // the worker now waits for its first call
        // Leaving the scope ends and joins the worker although the call is still queued;
        // the queue, destroyed afterwards, never runs it.
    }
    EXPECT_FALSE(*ran);
}

TEST_F(ThreadFacility, ACallRunAfterTerminationIsANoOp) {
    bool ran = false;
    Thread.OnWindow = [&] { ran = true; };
    Thread.Resume();
    ASSERT_TRUE(Queue.WaitForCall(5s));
    Thread.TerminateAndWait();
    EXPECT_EQ(Queue.RunPending(), 1);
    EXPECT_FALSE(ran);
}

TEST_F(ThreadFacility, NeverResumedThreadIsDestroyedAtOnce) {
    const auto t0 = std::chrono::steady_clock::now();
    { TLoopThread idle; }
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 100ms);
}

TEST_F(ThreadFacility, PriorityIsTheNiceValueOfThatThread) {
    EXPECT_EQ(NiceValueOf(tpIdle), 15);
    EXPECT_EQ(NiceValueOf(tpNormal), 0);
    EXPECT_EQ(NiceValueOf(tpTimeCritical), -15);

    const int processNice = getpriority(PRIO_PROCESS, 0);
    Thread.SetPriority(tpLowest); // stored before the thread exists, applied when it starts
    Thread.Resume();
    ASSERT_TRUE(PumpUntil(Queue, [&] { return Thread.Tid != 0; }));
    const auto tid = id_t(Thread.Tid);
    EXPECT_EQ(getpriority(PRIO_PROCESS, tid), 2);
    Thread.SetPriority(tpIdle);
    EXPECT_EQ(getpriority(PRIO_PROCESS, tid), 15);
    // The process itself keeps its own nice value.
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), processNice);

    // Raising it again may be refused without privileges: then the old value stays.
    Thread.SetPriority(tpTimeCritical);
    const int nice = getpriority(PRIO_PROCESS, tid);
    EXPECT_TRUE(nice == -15 || nice == 15) << nice;
    EXPECT_EQ(Thread.Priority(), tpTimeCritical);
}

TEST(CallQueue, WakesOnlyWhenItTurnsNonEmptyAndRunsInOrder) {
    int wakes = 0;
    TCallQueue q([&] { ++wakes; });
    std::vector<int> order;
    q.Post([&] { order.push_back(1); });
    q.Post([&] { order.push_back(2); });
    EXPECT_EQ(wakes, 1);
    EXPECT_EQ(q.RunPending(), 2);
    q.Post([&] { order.push_back(3); });
    EXPECT_EQ(wakes, 2);
    q.RunPending();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(q.RunPending(), 0);
}
