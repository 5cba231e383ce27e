#include "ChessThread.h"

TChessThread::TChessThread() : AbortSearch(FEngine.AbortSearch) {}

TChessThread::~TChessThread() {
    // A running search returns within a node once aborted, so this does not wait long.
    AbortSearch = true;
    TerminateAndWait();
}

void TChessThread::BeforeResume() {
    if (ReadBoard) ReadBoard(FSnapshot);
}

void TChessThread::Execute() {
    while (!Terminated()) {
        // 1. Search and hand the move over when it is the computer's turn.
        const TBoardSnapshot s = FSnapshot;
        if (s.ComputersTurn) {
            SetPriority(s.Priority);
            ThinkingFlag = true;
            FEngine.Think(s.Input);
            if (!AbortSearch) {
                ThinkingFlag = false;
                const TEngineMove m = FEngine.BestMove();
                if (!Synchronize([this, m] { HandOver(m); })) break;
            }
        }
        // 2. End the cycle on the window thread; it suspends this thread and may resume it.
        if (!Synchronize([this] {
                if (CycleEndCallback) CycleEndCallback();
            }))
            break;
    }
}

void TChessThread::HandOver(TEngineMove m) {
    // Checked again here, on the window thread: a StopThinking that came while the move was
    // on its way wins, and the halted game is not changed.
    if (AbortSearch || !MoveCallback) return;
    const char promotion =
        (m.Flags & mfPromotion) && m.Promote >= 1 && m.Promote <= 4 ? " nbrq"[m.Promote] : 0;
    MoveCallback(m.From + 1, m.To + 1, promotion);
}
