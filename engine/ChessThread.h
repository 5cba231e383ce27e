#pragma once
// TChessThread is the computer player on a thread of its own: a TThread that owns a
// TChessEngine and, cycle after cycle, searches when the computer is to move and hands the
// chosen move back to the board through a synchronized call, then ends the cycle with a
// second synchronized call (the board decides there whether it goes on).
//
// The board's fields are never read from this thread: the board copies what a cycle needs
// into a snapshot each time it resumes the thread, the moment the cycle would read them.

#include <atomic>
#include <functional>

#include "ChessEngine.h"
#include "Thread.h"

// What one cycle reads from the board: the search input, whether the board finds it the
// computer's turn, and the priority to search at.
struct TBoardSnapshot {
    TEngineInput Input;
    bool ComputersTurn = false;
    TThreadPriority Priority = tpNormal;
};

class TChessThread : public TThread {
  public:
    TChessThread();
    ~TChessThread() override;

    // True while a search runs; set and cleared by this thread, cleared by the board too.
    std::atomic<bool> ThinkingFlag{false};
    // The engine's abort flag, set by the board to stop a search.
    std::atomic<bool>& AbortSearch;

    // Fills the snapshot; runs on the window thread each time the thread is resumed.
    std::function<void(TBoardSnapshot&)> ReadBoard;
    // Takes the chosen move, with squares 1..64 and the promotion piece ("nbrq", 0 for
    // none); runs on the window thread, and only while AbortSearch is clear there.
    std::function<void(int from, int to, char promotion)> MoveCallback;
    // The board's end-of-cycle operation; runs on the window thread.
    std::function<void()> CycleEndCallback;

    // For the board and tests; touch only while the thread is suspended.
    TChessEngine& Engine() { return FEngine; }

  protected:
    void Execute() override;
    void BeforeResume() override;

  private:
    void HandOver(TEngineMove m);

    TChessEngine FEngine;
    TBoardSnapshot FSnapshot;
};
