#include "EnginePlayer.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "ChessBrd.h"
#include "ChessThread.h"
#include "GameInput.h"

namespace {

// Tells the window thread that the search thread has queued calls for it. The search thread
// only writes to an event descriptor and shares no memory with the toolkit's event queue, so
// the calls and everything they carry are ordered by the call queue's own mutex alone.
class TWakeNotifier : public QSocketNotifier {
  public:
    TWakeNotifier(int fd, QObject* parent) : QSocketNotifier(fd, Read, parent), FFd(fd) {}
    ~TWakeNotifier() override {
        setEnabled(false);
        ::close(FFd);
    }
    // Any thread.
    static void Wake(int fd) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(fd, &one, sizeof one);
    }
    // Window thread: takes the pending wake-ups.
    void Drain() {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto n = ::read(FFd, &count, sizeof count);
    }

  private:
    int FFd;
};

} // namespace

TEnginePlayer::TEnginePlayer(TChessBrd& board) : FBoard(board) {
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0) return; // no way to hear from a thread: the board plays without one
    auto* notifier = new TWakeNotifier(fd, this);
    FCalls = std::make_unique<TCallQueue>([fd] { TWakeNotifier::Wake(fd); });
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
        notifier->Drain();
        if (FCalls) FCalls->RunPending();
    });
    FThread = std::make_unique<TChessThread>();
    FThread->SetPostFunction(FCalls->Poster());
    FThread->ReadBoard = [this](TBoardSnapshot& s) {
        s.Input = EngineInputOf(FBoard, FBoard.SearchDepth());
        s.ComputersTurn = FBoard.ComputersTurn();
        s.Priority = FBoard.ThinkingPriority();
    };
    FThread->MoveCallback = [this](int from, int to, char promotion) {
        Deliver(from, to, promotion);
    };
    FThread->CycleEndCallback = [this] { CycleEnded(); };
    FThread->SetPriority(FBoard.ThinkingPriority());
}

TEnginePlayer::~TEnginePlayer() {
    // The thread is ended and joined before anything it could reach goes away; calls it
    // posted but that never ran are dropped.
    if (FThread) {
        FThread->AbortSearch = true;
        FThread.reset();
    }
    FCalls.reset();
}

void TEnginePlayer::SetPriority(TThreadPriority p) {
    if (FThread) FThread->SetPriority(p);
}

bool TEnginePlayer::Thinking() const {
    return FThread && FThread->ThinkingFlag;
}

bool TEnginePlayer::Engaged() const {
    // Resumed, and not yet searching or handing its move over.
    return FThread && !FThread->AbortSearch && !FMoveRefused;
}

void TEnginePlayer::Think(TChessBrd&, unsigned request) {
    FRequest = request;
    if (!FThread) return;
    FThread->AbortSearch = false;
    FMoveRefused = false;
    Wake();
}

void TEnginePlayer::Halt() {
    if (!FThread) return;
    if (FThread->InSynchronizedCall()) {
        // Called from a handler of the computer's own move: the thread waits for this call,
        // so it cannot be waited for. After a mate or a draw the thread goes on (the
        // handler may start a new game); otherwise it parks at the end of the cycle.
        if (!FBoard.GameEnded()) FThread->AbortSearch = true;
        return;
    }
    FThread->AbortSearch = true;
    FIdleParked = false;
    // User input stays queued: only the thread's calls and timers run here.
    while (!FThread->Suspended())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
}

void TEnginePlayer::MoveMade() {
    FMoveRefused = false;
    // A move made while the thread sleeps is one the cycling thread would have noticed on
    // its next cycle.
    if (FIdleParked && FThread && !FThread->AbortSearch) Wake();
}

void TEnginePlayer::Wake() {
    // A thread that is not suspended decides at the end of its cycle (CycleEnded) whether it
    // goes on; resuming it now would have no effect.
    if (!FThread->Suspended()) return;
    // The thread would only pass through CycleEnded again while the computer is not to
    // move, so it sleeps until that changes instead.
    FIdleParked = !FBoard.ComputersTurn();
    if (!FIdleParked) FThread->Resume();
}

void TEnginePlayer::Deliver(int from, int to, char promotion) {
    const bool made =
        FBoard.ComputerMoveReady(*this, FRequest, {Square(from), Square(to), promotion});
    FMoveRefused = !made;
}

void TEnginePlayer::CycleEnded() {
    // 1. The search is over.
    FThread->ThinkingFlag = false;
    // 2. Park the thread.
    FThread->Suspend();
    // 3. Go on unless the search was aborted. A refused move is not searched again until
    //    the game changes: the same position would give the same move.
    if (FThread->AbortSearch) return;
    if (&FBoard.ComputerPlayer() != this) {
        // Another player took over meanwhile; it is asked now.
        FBoard.StartComputerMove();
    } else if (FMoveRefused) {
        FIdleParked = true;
    } else {
        Wake();
    }
}
