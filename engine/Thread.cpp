#include "Thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>

int NiceValueOf(TThreadPriority p) {
    static constexpr std::array<int, 7> nice{15, 2, 1, 0, -1, -2, -15};
    return p < nice.size() ? nice[p] : 0;
}

// Everything both threads touch, guarded by one mutex. It is shared with the calls posted to
// the window thread, so a call that runs after its thread object is gone still finds it.
struct TThread::TShared {
    std::mutex M;
    std::condition_variable Cv;
    bool Suspended = true;
    bool Terminated = false;
    bool InCall = false;
    TThreadPriority Priority = tpNormal;
    int Tid = 0;
};

// One synchronized call; Started keeps a call that was posted twice from running twice.
struct TThread::TCall {
    std::function<void()> Fn;
    bool Started = false;
    bool Done = false;
};

TThread::TThread() : FShared(std::make_shared<TShared>()) {}

TThread::~TThread() {
    TerminateAndWait();
}

void TThread::Resume() {
    {
        std::lock_guard lock(FShared->M);
        if (!FShared->Suspended || FShared->Terminated) return;
    }
    // Only the window thread suspends and resumes, so the worker is still waiting here.
    BeforeResume();
    bool start = false;
    {
        std::lock_guard lock(FShared->M);
        FShared->Suspended = false;
        start = !FThread.joinable();
    }
    if (start) FThread = std::thread(&TThread::Run, this);
    FShared->Cv.notify_all();
}

void TThread::Suspend() {
    std::lock_guard lock(FShared->M);
    FShared->Suspended = true;
}

bool TThread::Suspended() const {
    std::lock_guard lock(FShared->M);
    return FShared->Suspended;
}

void TThread::Terminate() {
    {
        std::lock_guard lock(FShared->M);
        FShared->Terminated = true;
    }
    FShared->Cv.notify_all();
}

void TThread::TerminateAndWait() {
    Terminate();
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) FThread.join();
}

bool TThread::Terminated() const {
    std::lock_guard lock(FShared->M);
    return FShared->Terminated;
}

bool TThread::InSynchronizedCall() const {
    std::lock_guard lock(FShared->M);
    return FShared->InCall;
}

void TThread::SetPriority(TThreadPriority p) {
    std::lock_guard lock(FShared->M);
    FShared->Priority = p;
    ApplyPriorityLocked();
}

TThreadPriority TThread::Priority() const {
    std::lock_guard lock(FShared->M);
    return FShared->Priority;
}

void TThread::ApplyPriorityLocked() {
    // On Linux a thread id addresses that one thread. Lowering the nice value needs a
    // privilege we may lack; the thread then keeps the value it has.
    if (FShared->Tid != 0)
        setpriority(PRIO_PROCESS, id_t(FShared->Tid), NiceValueOf(FShared->Priority));
}

void TThread::Run() {
    {
        std::lock_guard lock(FShared->M);
        FShared->Tid = int(::syscall(SYS_gettid));
        ApplyPriorityLocked();
    }
    if (CheckSuspended()) Execute();
}

bool TThread::CheckSuspended() {
    std::unique_lock lock(FShared->M);
    FShared->Cv.wait(lock, [&] { return !FShared->Suspended || FShared->Terminated; });
    return !FShared->Terminated;
}

bool TThread::Synchronize(std::function<void()> fn) {
    if (!FPost) {
        fn();
        return CheckSuspended();
    }
    auto call = std::make_shared<TCall>();
    call->Fn = std::move(fn);
    if (Terminated()) return false;
    FPost([shared = FShared, call] { RunPosted(shared, call); });

    std::unique_lock lock(FShared->M);
    FShared->Cv.wait(lock, [&] { return call->Done || FShared->Terminated; });
    if (!call->Done) return false;
    FShared->Cv.wait(lock, [&] { return !FShared->Suspended || FShared->Terminated; });
    return !FShared->Terminated;
}

void TThread::RunPosted(const std::shared_ptr<TShared>& shared,
                        const std::shared_ptr<TCall>& call) {
    {
        std::lock_guard lock(shared->M);
        // A call posted before termination is dropped: its thread no longer waits for it
        // and what it would touch may be gone.
        if (shared->Terminated || call->Started) return;
        call->Started = true;
        shared->InCall = true;
    }
    call->Fn();
    {
        std::lock_guard lock(shared->M);
        shared->InCall = false;
        call->Done = true;
    }
    shared->Cv.notify_all();
}

void TCallQueue::Post(std::function<void()> call) {
    bool wasEmpty = false;
    {
        std::lock_guard lock(FMutex);
        wasEmpty = FCalls.empty();
        FCalls.push_back(std::move(call));
    }
    if (wasEmpty && FWake) FWake();
}

int TCallQueue::RunPending() {
    std::deque<std::function<void()>> calls;
    {
        std::lock_guard lock(FMutex);
        calls.swap(FCalls);
    }
    for (auto& call : calls)
        call();
    return int(calls.size());
}
