#pragma once
// Helpers shared by the notation tests: random legal games and games from SAN lists.

#include <random>
#include <sstream>
#include <string>

#include "GameRecord.h"
#include "San.h"

// A game of up to maxPlies random legal moves from the start (or from start), ending early
// when the side to move has none. Promotions favour the queen but take every piece.
inline GameRecord RandomGame(unsigned seed, int maxPlies = 160,
                             const FenPosition& start = StartFenPosition()) {
    std::mt19937 rng(seed);
    GameRecord record;
    record.Start = start;
    TReplayGame game(start);
    for (int ply = 0; ply < maxPlies; ++ply) {
        const std::vector<GameMove> moves = game.LegalMoves();
        if (moves.empty()) break;
        const GameMove m = moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)];
        if (!game.Play(m)) break;
        record.Moves.push_back(m);
    }
    return record;
}

// Plays SAN moves separated by spaces; the moves read, or fewer when one is refused.
inline GameRecord GameFromSan(const std::string& sans,
                              const FenPosition& start = StartFenPosition()) {
    GameRecord record;
    record.Start = start;
    TReplayGame game(start);
    std::istringstream in(sans);
    for (std::string san; in >> san;) {
        GameMove m;
        std::string error;
        if (!ReadSan(game, san, m, error) || !game.Play(m)) break;
        record.Moves.push_back(m);
    }
    return record;
}
