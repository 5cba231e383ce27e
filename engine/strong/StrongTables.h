#pragma once
// Constant tables of the strong search: the Zobrist keys that hash a position, and the
// material-plus-square values of each evaluation weight set in the middle game and the end game (a
// Black piece's entries are the mirrored White ones, negated, so that one sum over the
// board scores the position from White's side).

#include "StrongTypes.h"

namespace strong {

struct TZobrist {
    Key Piece[12][64];
    Key Castling[16];
    Key EnPassantFile[8];
    Key Side;
    constexpr TZobrist();
};

// By weight set (TEvalSet), piece and square.
struct TPieceSquare {
    int Mg[2][12][64];
    int Eg[2][12][64];
    constexpr TPieceSquare();
};

extern const TZobrist Zobrist;
extern const TPieceSquare PieceSquare;

// Each piece's share of the game phase.
constexpr int PhaseWeight[6] = {0, 1, 1, 2, 4, 0};
constexpr int FullPhase = 24;
// Plain values for exchanges and ordering.
constexpr int SeeValue[7] = {100, 320, 330, 500, 950, 20000, 0};

} // namespace strong
