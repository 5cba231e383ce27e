#pragma once
// The ladder of playing levels, from a first game to the full strength of the strong search,
// each labelled with its Elo on the scale of the match measurements (bench/README.md), and
// TLevelPlayer, which picks a move at a level.
//
// A level plays either the plain search of the five original levels at its depth, or the
// strong search weakened by design: a depth or node limit, noise on the scores of its best
// few candidate moves, and, in a share of positions, a look at its own move only, which
// overlooks what the opponent threatens elsewhere. It never plays a move that leaves the
// moved piece to be taken for nothing unless nothing better exists.

#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "StrongSearch.h"

class TChessEngine;

namespace strong {

struct TLevel {
    const char* Name; // the label the program shows ("Beginner 500")
    int Elo;
    int PlainDepth;         // > 0: the plain search to this depth, nothing else below applies
    int Depth;              // the strong search's depth limit, 0 for none
    std::int64_t Nodes;     // and its node limit, 0 for none
    int Candidates;         // how many of the best-scored moves may be chosen (1: the best)
    int Noise;              // the spread of the noise on their scores, centipawns
    int OversightPermille;  // positions in which threats are overlooked, per thousand
    TEvalSet Eval = TEvalSet::Classic; // the evaluation: a weight set, or the classic one and the net
    TSearchOptions Options = {}; // what a stronger level adds to the search
};

// The levels, weakest first; the last is the full strength.
const std::vector<TLevel>& Ladder();
// The index of the level whose Elo lies nearest the given one.
int LevelNearestElo(int elo);
// The index of the level with the given name (case-insensitive), -1 when none. The number
// may differ from the label's or be left out ("expert 2200", "Expert"), so that a choice
// stored under an earlier label still finds its level; the label of a level no longer offered
// finds the level nearest its number.
int LevelByName(const std::string& name);

class TLevelPlayer {
  public:
    explicit TLevelPlayer(TTranspositionTable& tt);
    ~TLevelPlayer();

    // Chooses a move at the level: the full strength under the limits, a weaker level under
    // its own depth or node limit (bounded only by a game clock among the limits). NoMove
    // when there is no legal move.
    Move Choose(TPosition& pos, int level, const TSearchLimits& limits);
    // Stops the search running in Choose at once (from any thread); ResetStop, called while
    // no search runs, lets the next one run.
    void Stop();
    void ResetStop();
    void NewGame();
    void Seed(unsigned seed) { Random.seed(seed); }

    TStrongSearch Search;
    // Threads for the levels that search without their own limits (0: as the level does).
    int Threads = 0;

  private:
    Move ChooseWeak(TPosition& pos, const TLevel& level);
    Move ChoosePlain(TPosition& pos, const TLevel& level);
    std::unique_ptr<TChessEngine> Plain;
    std::mt19937 Random;
};

} // namespace strong
