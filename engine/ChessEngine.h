#pragma once
// TChessEngine is the computer player without its thread: its own board with a mailbox for
// stepping pieces, pseudo-legal move generation, make and take back with the check test,
// the evaluation with its per-search piece-square tables, and the iterative-deepening
// alpha-beta search. Everything lives in fixed arrays inside the object; nothing is
// allocated while searching. AbortSearch may be set from another thread at any time.

#include <atomic>
#include <cstdint>
#include <functional>

#include "EngineMove.h"

class TChessEngine {
public:
    static constexpr int MaxPly = 64;
    static constexpr int MoveStackSize = 4096;

    TChessEngine(); // runs InitTables

    // Loads the engine board from the game's state (first step of Think).
    void LoadPosition(const TEngineInput& in);
    // Loads the position, builds the tables, clears History and deepens to
    // in.SearchDepth (clamped 1..8); leaves the chosen move in PV[0][0].
    void Think(const TEngineInput& in);
    // Called after every finished iteration (not during one), when assigned.
    std::function<void(int depth, int score, std::int64_t nodes)> OnIteration;

    // Counts legal move sequences of the given depth from the loaded position.
    std::uint64_t Perft(int depth);

    // The move the search chose: PV[0][0].
    TEngineMove BestMove() const;

    std::atomic<bool> AbortSearch{false};
    // Moves accepted by PlayMove in Search and Quiesce since the last iteration began.
    std::int64_t Nodes = 0;

    // ... board state, generators, evaluation and search: see the engine sources.
};
