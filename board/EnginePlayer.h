#pragma once
// TEnginePlayer is the built-in computer player: the search thread TChessThread, cycling as
// the board lets it. It reads the board's game into a snapshot each time the thread is
// woken, searches when the board finds it the computer's turn, and hands its move to the
// board's ComputerMoveReady on the window thread. Between its turns it sleeps; every halt
// parks it until the board asks again.

#include <QObject>

#include <memory>

#include "ComputerPlayer.h"
#include "ThreadPriority.h"

class TCallQueue;
class TChessBrd;
class TChessThread;

class TEnginePlayer : public QObject, public TComputerPlayer {
  public:
    // No thread when the window thread cannot be woken; the player then never moves.
    explicit TEnginePlayer(TChessBrd& board);
    ~TEnginePlayer() override;

    void Think(TChessBrd& board, unsigned request) override;
    void Halt() override;
    void MoveMade() override;
    bool Thinking() const override;
    bool Engaged() const override;

    bool HasThread() const { return FThread != nullptr; }
    void SetPriority(TThreadPriority p);
    // The search thread, for tests that watch its states.
    TChessThread* Thread() const { return FThread.get(); }

  private:
    void Wake();
    void CycleEnded();
    void Deliver(int from, int to, char promotion);

    TChessBrd& FBoard;
    // Calls the search thread hands to the window thread; a wake-up through an event
    // descriptor makes the window thread run them.
    std::unique_ptr<TCallQueue> FCalls;
    std::unique_ptr<TChessThread> FThread;
    unsigned FRequest = 0;
    // The thread is suspended although no search was aborted, because the computer is not
    // to move (or its last move was refused); a move made on the board wakes it.
    bool FIdleParked = false;
    bool FMoveRefused = false;
};
