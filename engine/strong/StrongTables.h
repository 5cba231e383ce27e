#pragma once
// Constant tables of the strong search: the Zobrist keys that hash a position, and the
// material-plus-square values of the evaluation in the middle game and the end game (a
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

struct TPieceSquare {
    int Mg[12][64];
    int Eg[12][64];
    constexpr TPieceSquare();
};

extern const TZobrist Zobrist;
extern const TPieceSquare PieceSquare;

// Material in the middle game and end game, and each piece's share of the game phase.
constexpr int ValueMg[6] = {85, 320, 335, 470, 960, 0};
constexpr int ValueEg[6] = {110, 300, 320, 530, 1000, 0};
constexpr int PhaseWeight[6] = {0, 1, 1, 2, 4, 0};
constexpr int FullPhase = 24;
// Plain values for exchanges and ordering.
constexpr int SeeValue[7] = {100, 320, 330, 500, 950, 20000, 0};

} // namespace strong
