#pragma once
// TStrongSearch: iterative deepening under a time, node or depth limit over a principal-
// variation search with aspiration windows, a transposition table, null-move pruning, late-
// move reductions and pruning, check extensions and extensions of a move that alone holds the
// score, and a quiescence search over captures that do not lose material. Repetitions, the fifty-move rule and dead material are draws inside
// the search; mates score by their distance. Setting Stop from another thread ends the
// search at once; the best move of the last finished iteration is the answer.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "StrongCorrection.h"
#include "StrongMovePicker.h"
#include "StrongTT.h"
#include "StrongWeights.h"

namespace strong {

struct TSearchLimits {
    int Depth = 0;          // 0: no limit
    std::int64_t Nodes = 0; // 0: no limit
    int MoveTime = 0;       // milliseconds a move; 0: none
    // When above MoveTime, the most a move may take: MoveTime is then what a move takes
    // about as a rule, and a move whose best answer keeps changing may take up to this.
    int MoveTimeMax = 0;
    // The game clock of each side in milliseconds, its increment, and the moves to the
    // next time control (0: the rest of the game). Used when MoveTime is 0 and Time[side]
    // is set.
    int Time[2] = {0, 0};
    int Inc[2] = {0, 0};
    int MovesToGo = 0;
    bool Infinite = false; // search until stopped (the limits above do not apply)

    // A move time with room above it, planned like a clock's instead of kept exactly.
    bool MoveTimeHasRoom() const { return MoveTime > 0 && MoveTimeMax > MoveTime; }
};

struct TSearchReport {
    int Depth = 0;
    int SelDepth = 0;
    int Score = 0;
    std::int64_t Nodes = 0;
    std::int64_t Millis = 0;
    int Hashfull = 0;
    std::vector<Move> Pv;
};

// What a stronger level may add to the search the ladder's levels were measured with; all
// off by default, so that those levels play as measured.
struct TSearchOptions {
    // When passing would lose to mate, the node's moves are neither reduced nor pruned: the
    // defence may be a quiet move late in the order.
    bool MateThreats = false;
    // The static evaluation is corrected by what searches of the same pawn structure found
    // (TEvalCorrection).
    bool Correction = false;
    // Captures of equal victims are ordered by how well they did before.
    bool CaptureHistory = false;
    // Captures that lose material by the exchange are not reduced as late moves are (near the
    // leaves the worst of them are still pruned): a sacrifice's point often lies several
    // plies behind it.
    bool FullDepthSacrifices = false;
    // Where the table's score of a node bounds its value beyond the static evaluation (a
    // lower bound above it, an upper bound below it), the pruning decisions take that score
    // for the evaluation; whether the position is improving still compares evaluations.
    bool EvalFromTable = false;
    // Threads searching (1: this one alone), at most as many as there are processors. Only
    // the searching thread's own nodes count towards a node limit, so the helpers add to the
    // search what the time allows.
    int Threads = 1;

    // Everything on.
    static TSearchOptions Full() { return {true, true, true, true, true}; }
    bool operator==(const TSearchOptions&) const = default;
};

struct TRootScore {
    strong::Move Played = NoMove;
    int Score = 0;
};

class TStrongSearch {
  public:
    explicit TStrongSearch(TTranspositionTable& tt) : TT(tt) { Tables.Clear(); }
    ~TStrongSearch();

    // Searches the position; returns the best move (NoMove when there is no legal move).
    Move Go(TPosition& pos, const TSearchLimits& limits);
    // Scores every legal root move by a full-window search of the given depth (for the
    // weaker levels, which choose among the candidates themselves), best first.
    std::vector<TRootScore> ScoreRootMoves(TPosition& pos, int depth);
    void NewGame();
    // Evaluates with the given weight set from now on; the table, which holds evaluations,
    // is emptied when the set changes.
    void UseEval(TEvalSet set);
    TEvalSet EvalSet() const { return Eval; }

    // Called after every finished iteration and on the search's last report.
    std::function<void(const TSearchReport&)> OnReport;
    TSearchOptions Options;
    std::atomic<bool> Stop{false};

    std::int64_t Nodes = 0; // this thread's, not the helpers'
    int LastScore = 0;
    int CompletedDepth = 0;

  private:
    int Negamax(int alpha, int beta, int depth, int ply, bool cutNode);
    // At the first ply of quiescence (checks) quiet checking moves are tried too.
    int Quiesce(int alpha, int beta, int ply, bool checks);
    // Plays m on the searched position and counts its node; false, with the move taken back,
    // when it leaves the mover's king in check.
    bool EnterMove(Move m);
    bool ShouldStop();
    void Report(int depth, int score);
    void PlanTime(const TSearchLimits& limits, int side);
    // The clock, the counters, the limits and the table's age for a new search of pos.
    void Begin(TPosition& pos, const TSearchLimits& limits);
    std::int64_t Elapsed() const;
    // The static evaluation with the learnt correction, when the options ask for it.
    int Corrected(int raw) const;
    // Starts Options.Threads - 1 helpers on copies of pos; StopHelpers ends and joins them.
    void StartHelpers(const TPosition& pos);
    void StopHelpers();
    // Ends the helpers and takes the move of one that finished a deeper iteration than this
    // search did with a score at least as good.
    Move DeepestHelpersMove(Move best);
    // The nodes of this search and its helpers so far.
    std::int64_t AllNodes() const;

    TTranspositionTable& TT;
    TOrderingTables Tables;
    TEvalCorrection Correction;
    TEvalSet Eval = TEvalSet::Classic;
    TPosition* Pos = nullptr;
    Move Pv[MaxPly + 4][MaxPly + 4] = {};
    int PvLength[MaxPly + 4] = {};
    int StaticEvals[MaxPly + 4] = {};
    bool NullAt[MaxPly + 4] = {};
    // The move left out at a ply while the search asks whether the table's move is the only
    // good one there (NoMove: none left out).
    Move Excluded[MaxPly + 4] = {};
    int RootDepth = 0;
    int SelDepth = 0;
    Move HelperResult = NoMove; // what a helper's search returned when it was stopped
    bool Stopped = false;
    std::int64_t NodeLimit = 0;
    std::chrono::steady_clock::time_point Start;
    std::int64_t SoftMillis = 0, HardMillis = 0; // 0: no time limit
    // The nodes this search spent under each root move, all iterations together.
    struct TRootEffort {
        Move Played = NoMove;
        std::int64_t Nodes = 0;
    };
    std::vector<TRootEffort> RootEffort;
    void AddRootEffort(Move m, std::int64_t nodes);
    // Permille of this search's nodes spent under m.
    int RootEffortOf(Move m) const;

    // A helper leaves the table's age alone and starts its iterations this much deeper.
    bool IsHelper = false;
    int DepthSkew = 0;
    std::atomic<std::int64_t> PublishedNodes{0}; // a helper's Nodes, now and then
    std::vector<std::unique_ptr<TStrongSearch>> Helpers;
    std::vector<std::thread> HelperThreads;
};

} // namespace strong
