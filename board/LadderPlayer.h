#pragma once
// TLadderPlayer plays the computer's side at a level of the strength ladder with the strong
// search. Each question is searched once on a worker thread of its own; the move comes back
// to the window thread and goes to the board's ComputerMoveReady with the request it was
// asked under. A level that searches by time takes about MoveMs a move, more while its best
// move keeps changing, but never longer than MaxMoveMs: the search is stopped then and plays
// what it has. A halt stops the search at once and its answer is dropped.

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ComputerPlayer.h"
#include "GameLine.h"
#include "Ladder.h"
#include "StrongTT.h"

class TChessBrd;

// The move the ladder's level chooses in the game's position, knowing the game before it
// (squares numbered as the board numbers them); From None when there is no legal move.
// Searches on the calling thread; player.Stop() from another thread ends it early.
TComputerMove ChooseAtLevel(strong::TLevelPlayer& player, const TGameLine& game, int level,
                            const strong::TSearchLimits& limits);

class TLadderPlayer : public QObject, public TComputerPlayer {
  public:
    explicit TLadderPlayer(TChessBrd& board);
    ~TLadderPlayer() override;

    // The level's index in strong::Ladder(); applies from the next question.
    void SetLevel(int level);
    int Level() const { return FLevel; }

    void Think(TChessBrd& board, unsigned request) override;
    void Halt() override;
    bool Thinking() const override;
    bool Engaged() const override { return FSearch != nullptr; }

    // The time a move takes as a rule, and the longest it may take (below three seconds
    // with the time to stop the threads and answer).
    int MoveMs = 1000;
    int MaxMoveMs = 2800;
    // Tests bound every search by nodes too (0: the level's own limits).
    std::int64_t Nodes = 0;
    // The game's clocks, when they run: fills both sides' time left and increment and
    // returns true. The search then plans its time on its side's clock instead.
    std::function<bool(strong::TSearchLimits&)> ClockLimits;

  private:
    class TSearch;
    void Arrived(const TSearch* search, TComputerMove move);
    void Finish();

    TChessBrd& FBoard;
    strong::TTranspositionTable FTable{16};
    strong::TLevelPlayer FPlayer{FTable};
    int FLevel = static_cast<int>(strong::Ladder().size()) - 1;
    std::unique_ptr<TSearch> FSearch;
    std::string FAsked; // the position searched by FSearch
    unsigned FRequest = 0;
    QTimer FBudget;
};
