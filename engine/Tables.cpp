// The engine's constant tables: the mailbox, the stepping tables, the castling mask, the
// piece values and the positional tables, all written from White's side with rank 8 first.

#include <algorithm>
#include <cstring>

#include "ChessEngine.h"
#include "EngineTables.h"

namespace {

constexpr std::int32_t PawnGrid[64] = {
    0, 0,  0,  0,   0,   0,  0,  0, //
    5, 10, 15, 20,  20,  15, 10, 5, //
    4, 8,  12, 16,  16,  12, 8,  4, //
    3, 6,  9,  12,  12,  9,  6,  3, //
    2, 4,  6,  8,   8,   6,  4,  2, //
    1, 2,  3,  4,   4,   3,  2,  1, //
    0, 0,  0,  -20, -20, 0,  0,  0, //
    0, 0,  0,  0,   0,   0,  0,  0, //
};

constexpr std::int32_t KingsideGrid[64] = {
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 5,  5,  5,  //
    0, 0, 0, 0, 0, 10, 10, 10, //
    0, 0, 0, 0, 0, 20, 20, 20, //
    0, 0, 0, 0, 0, 0,  0,  0,  //
};

constexpr std::int32_t QueensideGrid[64] = {
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    5,  5,  5,  0, 0, 0, 0, 0, //
    10, 10, 10, 0, 0, 0, 0, 0, //
    20, 20, 20, 0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
};

constexpr std::int32_t MinorGrid[64] = {
    -10, -10, -10, -10, -10, -10, -10, -10, //
    -10, 0,   0,   0,   0,   0,   0,   -10, //
    -10, 0,   5,   5,   5,   5,   0,   -10, //
    -10, 0,   5,   10,  10,  5,   0,   -10, //
    -10, 0,   5,   10,  10,  5,   0,   -10, //
    -10, 0,   5,   5,   5,   5,   0,   -10, //
    -10, 0,   0,   0,   0,   0,   0,   -10, //
    -20, -20, -20, -20, -20, -20, -20, -20, //
};

constexpr std::int32_t KingMiddleGrid[64] = {
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -20, -20, -20, -20, -20, -20, -20, -20, //
    -10, 0,   10,  -20, 0,   -20, 10,  0,   //
};

constexpr std::int32_t KingEndGrid[64] = {
    -5, -5, -5, -5, -5, -5, -5, -5, //
    -5, 0,  0,  0,  0,  0,  0,  -5, //
    -5, 0,  5,  5,  5,  5,  0,  -5, //
    -5, 0,  5,  10, 10, 5,  0,  -5, //
    -5, 0,  5,  10, 10, 5,  0,  -5, //
    -5, 0,  5,  5,  5,  5,  0,  -5, //
    -5, 0,  0,  0,  0,  0,  0,  -5, //
    -5, -5, -5, -5, -5, -5, -5, -5, //
};

template <typename T, std::size_t N> void CopyTable(T (&to)[N], const T (&from)[N]) {
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

} // namespace

TChessEngine::TChessEngine() {
    InitTables();
    ClearBoard();
    std::memset(FirstMove, 0, sizeof FirstMove);
    std::memset(MoveEnd, 0, sizeof MoveEnd);
    std::memset(History, 0, sizeof History);
    std::memset(PieceSquare, 0, sizeof PieceSquare);
    std::memset(PVLength, 0, sizeof PVLength);
}

void TChessEngine::InitTables() {
    // A move from or to a king's or rook's starting square clears the rights it carries.
    std::fill(std::begin(CastleMask), std::end(CastleMask), engine_tables::AllRights);
    for (const engine_tables::TCastling& c : engine_tables::Castlings) {
        CastleMask[c.KingFrom] &= ~c.Right;
        CastleMask[c.RookFrom] &= ~c.Right;
    }

    const std::int32_t values[6] = {100, 300, 300, 500, 900, 10000};
    std::copy(values, values + 6, PieceValue);
    for (int s = 0; s < 64; ++s)
        FlipSquare[s] = s ^ 56;
    CopyTable(PawnTable, PawnGrid);
    CopyTable(KingsideShelter, KingsideGrid);
    CopyTable(QueensideShelter, QueensideGrid);
    CopyTable(MinorTable, MinorGrid);
    CopyTable(KingMiddleTable, KingMiddleGrid);
    CopyTable(KingEndTable, KingEndGrid);
}
