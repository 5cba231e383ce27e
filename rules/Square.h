#pragma once
// Squares of the board, numbered rank by rank from a8 (1) to h1 (64), with 0 for "no
// square". The numbering is shared by the rules, the drawing and, shifted down by one, the
// computer player's board.

#include <cstdint>

// clang-format off
enum Square : std::uint8_t {
    None = 0,
    A8, B8, C8, D8, E8, F8, G8, H8,
    A7, B7, C7, D7, E7, F7, G7, H7,
    A6, B6, C6, D6, E6, F6, G6, H6,
    A5, B5, C5, D5, E5, F5, G5, H5,
    A4, B4, C4, D4, E4, F4, G4, H4,
    A3, B3, C3, D3, E3, F3, G3, H3,
    A2, B2, C2, D2, E2, F2, G2, H2,
    A1, B1, C1, D1, E1, F1, G1, H1,
};
// clang-format on

// The names of the 65 values, as a stored window description writes them ("None", "A8"...).
const char* SquareName(Square sq);
// The value of a name written by SquareName (case-insensitive); false when there is none.
bool SquareFromName(const char* name, Square& sq);

// 1 = a-file ... 8 = h-file.
constexpr int FileOf(int sq) {
    return ((sq - 1) % 8) + 1;
}
// Squares 1..8 are rank 8, 57..64 rank 1.
constexpr int RankOf(int sq) {
    return 8 - ((sq - 1) / 8);
}
// The square of a file and a rank, None when either lies outside 1..8.
constexpr Square SquareAt(int file, int rank) {
    if (file < 1 || file > 8 || rank < 1 || rank > 8) return None;
    return static_cast<Square>((8 - rank) * 8 + file);
}
// a8 and h1 are light, h8 and a1 dark.
constexpr bool IsLightSquare(int sq) {
    return (sq - 1) % 2 == ((sq - 1) / 8) % 2;
}
