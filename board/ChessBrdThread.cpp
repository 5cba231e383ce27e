// The computer-player hand-off of the board control: the search thread, the snapshot of the
// board it reads, waking it, taking its results on the window thread, the host engine asked
// through OnCalculateMove, and the timer that asks it again.

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
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

// --- The search thread ---------------------------------------------------------------------------

void TChessBrd::CreateThread() {
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
    FThread->ReadBoard = [this](TBoardSnapshot& s) { ReadBoard(s); };
    FThread->MoveCallback = [this](int from, int to) {
        // StopThinking leaves the built-in search alone once the host plays; a move it
        // finishes after the switch is dropped, the host is asked instead (ThinkingDone).
        if (FCustomEngine || !ComputersTurn()) return false;
        const bool ok = MakeMove(Square(from), Square(to));
        FComputerMoveRefused = !ok;
        return ok;
    };
    FThread->CycleEndCallback = [this] { ThinkingDone(); };
    FThread->SetPriority(FThinkingPriority);
}

void TChessBrd::ReadBoard(TBoardSnapshot& s) const {
    s.Input = EngineInputOf(*this, FSearchDepth);
    s.ComputerPlaysWhite = FComputerPlaysWhite;
    s.ComputerPlaysBlack = FComputerPlaysBlack;
    s.Priority = FThinkingPriority;
}

// --- The computer player ----------------------------------------------------------------------

// The one test of whether the computer, built-in or host, is to move: its side is to move
// and the game is not over.
bool TChessBrd::ComputersTurn() const {
    const bool itsSide =
        (FComputerPlaysWhite && FWhiteToMove) || (FComputerPlaysBlack && !FWhiteToMove);
    return itsSide && GameOver() == TGameOver::None;
}

bool TChessBrd::Thinking() const {
    return FThread && FThread->ThinkingFlag;
}

bool TChessBrd::ComputerThinking() const {
    if (Thinking()) return true;
    if (!ComputersTurn() || FGameEnded) return false;
    // The host is asked on every event and every tick until it answers.
    if (FCustomEngine) return OnCalculateMove && !FEngineHalted;
    // Resumed, and not yet searching or handing its move over.
    return FThread && !FThread->AbortSearch && !FComputerMoveRefused;
}

void TChessBrd::StartComputerMove() {
    // 1. Nothing while loading.
    if (FLoading) return;
    // 2. The built-in engine.
    if (!FCustomEngine) {
        if (!FThread) return;
        FThread->AbortSearch = false;
        FComputerMoveRefused = false;
        WakeThread();
        return;
    }
    // 3. The host engine.
    AskHostEngine();
}

void TChessBrd::AskHostEngine() {
    if (!ComputersTurn() || !OnCalculateMove || FEngineHalted) return;
    // The re-trigger check runs after every event; while the host is asked and its move is
    // made, events sent to the widget must not ask it again from inside.
    FAskingHost = true;
    // 3.1 The handler fills the squares.
    Square from = None, to = None;
    OnCalculateMove(this, from, to);
    // 3.2 Play them unless the game was halted meanwhile.
    if (!FEngineHalted && !MakeMove(from, to) && OnCalculationFailed)
        OnCalculationFailed(this, from, to);
    FAskingHost = false;
}

void TChessBrd::WakeThread() {
    // A thread that is not suspended decides at the end of its cycle (ThinkingDone) whether
    // it goes on; resuming it now would have no effect.
    if (!FThread->Suspended()) return;
    // The thread would only pass through ThinkingDone again while the computer is not to
    // move, so it sleeps until that changes instead.
    FIdleParked = !ComputersTurn();
    if (!FIdleParked) FThread->Resume();
}

void TChessBrd::ThinkingDone() {
    // 1. The search is over.
    FThread->ThinkingFlag = false;
    // 2. Park the thread.
    FThread->Suspend();
    // 3. Go on unless the search was aborted. A refused move is not searched again until
    //    the game changes: the same position would give the same move.
    if (FThread->AbortSearch) return;
    if (FCustomEngine) {
        StartComputerMove();
    } else if (FComputerMoveRefused) {
        FIdleParked = true;
    } else {
        WakeThread();
    }
}

void TChessBrd::StopThinking() {
    // 1. Halt the built-in engine.
    if (!FCustomEngine && FThread) {
        if (FThread->InSynchronizedCall()) {
            // Called from a handler of the computer's own move: the thread waits for this
            // call, so it cannot be waited for. After a mate or a draw the thread goes on
            // (the handler may start a new game); otherwise it parks at the end of the cycle.
            if (!FGameEnded) FThread->AbortSearch = true;
        } else {
            FThread->AbortSearch = true;
            FIdleParked = false;
            // User input stays queued: only the thread's calls and timers run here.
            while (!FThread->Suspended())
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                                QEventLoop::WaitForMoreEvents);
        }
    }
    // 2.
    FEngineHalted = true;
}

bool TChessBrd::MakeMove(Square oldSq, Square newSq) {
    const bool ok = TChessGame::MakeMove(oldSq, newSq);
    if (ok) {
        FComputerMoveRefused = false;
        // A move made by code while the thread sleeps is one the cycling thread would have
        // noticed on its next cycle.
        if (FIdleParked && !FCustomEngine && FThread && !FThread->AbortSearch) WakeThread();
    }
    return ok;
}

void TChessBrd::CheckHostEngine() {
    if (FAskingHost || FLoading) return;
    if (!FEngineHalted && FCustomEngine && ComputersTurn()) StartComputerMove();
}

bool TChessBrd::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    CheckHostEngine();
    return handled;
}

// --- Players and search -------------------------------------------------------------------------

bool TChessBrd::ComputerPlaysBlack() const {
    return FComputerPlaysBlack;
}

void TChessBrd::SetComputerPlaysBlack(bool v) {
    StopThinking();
    FComputerPlaysBlack = v;
    StartComputerMove();
}

bool TChessBrd::ComputerPlaysWhite() const {
    return FComputerPlaysWhite;
}

void TChessBrd::SetComputerPlaysWhite(bool v) {
    StopThinking();
    FComputerPlaysWhite = v;
    StartComputerMove();
}

int TChessBrd::SearchDepth() const {
    return FSearchDepth;
}

void TChessBrd::SetSearchDepth(int v) {
    FSearchDepth = std::clamp(v, 1, 8);
}

TThreadPriority TChessBrd::ThinkingPriority() const {
    return FThinkingPriority;
}

void TChessBrd::SetThinkingPriority(TThreadPriority v) {
    FThinkingPriority = v;
    if (FThread) FThread->SetPriority(v);
}

void TChessBrd::SetThinkingPriorityValue(int v) {
    if (v >= tpIdle && v <= tpTimeCritical) SetThinkingPriority(TThreadPriority(v));
}
