#pragma once
// Pseudo-legal move generation for the strong search: the moves of the side to move that
// obey how the pieces move, castling only through unattacked squares; whether a move leaves
// its own king attacked is tested after playing it.

#include "StrongPosition.h"

namespace strong {

struct TMoveList {
    Move Moves[256];
    int Size = 0;
    void Add(Move m) { Moves[Size++] = m; }
    const Move* begin() const { return Moves; }
    const Move* end() const { return Moves + Size; }
};

// Captures and promotions to a queen (the moves quiescence looks at).
void GenerateNoisy(const TPosition& pos, TMoveList& list);
// Everything else: quiet moves, promotions to other pieces, castling.
void GenerateQuiet(const TPosition& pos, TMoveList& list);
void GenerateAll(const TPosition& pos, TMoveList& list);
// Only the legal moves (plays each one to test it).
void GenerateLegal(TPosition& pos, TMoveList& list);
// Counts the legal move sequences of the given length.
std::uint64_t Perft(TPosition& pos, int depth);

} // namespace strong
