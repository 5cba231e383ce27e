#pragma once
// Compile-time tables of the engine board: the bordered mailbox and, derived from it by the
// same stepping, the square lists and bit sets that let the generators and the attack test
// skip the mailbox at run time. A square's bit is 1 << square (bit 0 = a8), so the lowest set
// bit is always the lowest square number.

#include <algorithm>
#include <bit>
#include <cstdint>

namespace engine_tables {

using TBits = std::uint64_t;

// The eight mailbox steps in the order the queen and the king use them. Steps 0..3 lead to
// lower square numbers, 4..7 to higher ones.
inline constexpr int QueenSteps[8] = {-11, -10, -9, -1, 1, 9, 10, 11};
inline constexpr int KnightSteps[8] = {-21, -19, -12, -8, 8, 12, 19, 21};
// Indices into QueenSteps of the bishop's and the rook's steps, in their own table order.
inline constexpr int BishopDirs[4] = {0, 2, 5, 7};
inline constexpr int RookDirs[4] = {1, 3, 4, 6};

struct TTables {
    std::int32_t Mailbox[120] = {};
    std::int32_t Mailbox64[64] = {};
    // Squares along each queen step from each square, nearest first.
    std::uint8_t RaySq[8][64][8] = {};
    std::uint8_t RayLen[8][64] = {};
    TBits RayBits[8][64] = {};
    // Every square along the eight steps from each square.
    TBits QueenBits[64] = {};
    // One-step targets of a knight and of a king.
    TBits KnightBits[64] = {};
    TBits KingBits[64] = {};
    // Squares a pawn of colour c on square s attacks.
    TBits PawnAttacks[2][64] = {};
    TBits FileBits[8] = {};
    TBits RowBits[8] = {};
    // The queen step that leads from square a to square b, or -1 when none does.
    std::int8_t StepBetween[64][64] = {};
};

constexpr TTables BuildTables() {
    TTables t;
    for (int i = 0; i < 120; ++i)
        t.Mailbox[i] = -1;
    for (int s = 0; s < 64; ++s) {
        t.Mailbox64[s] = 21 + 10 * (s / 8) + (s % 8);
        t.Mailbox[t.Mailbox64[s]] = s;
        t.FileBits[s % 8] |= TBits{1} << s;
        t.RowBits[s / 8] |= TBits{1} << s;
    }
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b)
            t.StepBetween[a][b] = -1;
    for (int s = 0; s < 64; ++s) {
        for (int d = 0; d < 8; ++d) {
            int n = s;
            while ((n = t.Mailbox[t.Mailbox64[n] + QueenSteps[d]]) != -1) {
                t.RaySq[d][s][t.RayLen[d][s]++] = static_cast<std::uint8_t>(n);
                t.RayBits[d][s] |= TBits{1} << n;
                t.StepBetween[s][n] = static_cast<std::int8_t>(d);
                t.QueenBits[s] |= TBits{1} << n;
            }
            const int k = t.Mailbox[t.Mailbox64[s] + QueenSteps[d]];
            if (k != -1) t.KingBits[s] |= TBits{1} << k;
            const int j = t.Mailbox[t.Mailbox64[s] + KnightSteps[d]];
            if (j != -1) t.KnightBits[s] |= TBits{1} << j;
        }
        const int file = s % 8;
        if (file != 0 && s - 9 >= 0) t.PawnAttacks[0][s] |= TBits{1} << (s - 9);
        if (file != 7 && s - 7 >= 0) t.PawnAttacks[0][s] |= TBits{1} << (s - 7);
        if (file != 0 && s + 7 <= 63) t.PawnAttacks[1][s] |= TBits{1} << (s + 7);
        if (file != 7 && s + 9 <= 63) t.PawnAttacks[1][s] |= TBits{1} << (s + 9);
    }
    return t;
}

inline constexpr TTables Tables = BuildTables();

// The engine square of a file letter and a rank number: Square('e', 1) is 60.
constexpr int Square(char file, int rank) {
    return (8 - rank) * 8 + (file - 'a');
}

// Castling rights, the game's CastleSet bits.
enum TCastleRight : int {
    WhiteKingside = 1,
    WhiteQueenside = 2,
    BlackKingside = 4,
    BlackQueenside = 8,
    AllRights = 15,
};

// One of the four castlings: the right it needs, the king's and the rook's squares, the
// squares between them that must be empty, and the two squares the king crosses and lands
// on, which may not be attacked.
struct TCastling {
    int Right;
    int KingFrom, KingTo, RookFrom, RookTo;
    TBits Between;
    int Crossed, Landing;
};

constexpr TCastling MakeCastling(int right, int rank, char kingTo, char rookFrom, char rookTo) {
    TCastling c{right,
                Square('e', rank),
                Square(kingTo, rank),
                Square(rookFrom, rank),
                Square(rookTo, rank),
                0,
                Square(rookTo, rank),
                Square(kingTo, rank)};
    const int low = std::min(c.KingFrom, c.RookFrom), high = std::max(c.KingFrom, c.RookFrom);
    for (int s = low + 1; s < high; ++s)
        c.Between |= TBits{1} << s;
    return c;
}

// In the order the generator offers them: White's king side, White's queen side, then
// Black's; side c's two are Castlings[2 * c] and Castlings[2 * c + 1].
inline constexpr TCastling Castlings[4] = {
    MakeCastling(WhiteKingside, 1, 'g', 'h', 'f'),
    MakeCastling(WhiteQueenside, 1, 'c', 'a', 'd'),
    MakeCastling(BlackKingside, 8, 'g', 'h', 'f'),
    MakeCastling(BlackQueenside, 8, 'c', 'a', 'd'),
};

constexpr TBits Bit(int s) {
    return TBits{1} << s;
}
constexpr int LowSquare(TBits b) {
    return std::countr_zero(b);
}
constexpr int HighSquare(TBits b) {
    return 63 - std::countl_zero(b);
}

// The first occupied square along queen step d from s, or -1.
constexpr int FirstBlocker(int d, int s, TBits occupied) {
    const TBits b = Tables.RayBits[d][s] & occupied;
    if (!b) return -1;
    return d >= 4 ? LowSquare(b) : HighSquare(b);
}

// Every square a slider on s reaches along step d, the first occupied one included.
constexpr TBits RayAttacks(int d, int s, TBits occupied) {
    const int f = FirstBlocker(d, s, occupied);
    return f < 0 ? Tables.RayBits[d][s] : Tables.RayBits[d][s] ^ Tables.RayBits[d][f];
}

// Whether queen step d runs along a diagonal.
constexpr bool DiagonalStep(int d) {
    return d == 0 || d == 2 || d == 5 || d == 7;
}

constexpr TBits BishopAttacks(int s, TBits occupied) {
    TBits a = 0;
    for (int d : BishopDirs)
        a |= RayAttacks(d, s, occupied);
    return a;
}

constexpr TBits RookAttacks(int s, TBits occupied) {
    TBits a = 0;
    for (int d : RookDirs)
        a |= RayAttacks(d, s, occupied);
    return a;
}

} // namespace engine_tables
