#pragma once
// Attack sets of the pieces: tables for the steppers and pawns, rays for the sliders (the
// first blocker on each ray cuts it). The tables are constants, built by the compiler.

#include "StrongTypes.h"

namespace strong {

struct TAttackTables {
    Bitboard Pawn[2][64];
    Bitboard Knight[64];
    Bitboard King[64];
    // Rays in the eight directions: 0 north, 1 north-east, 2 east, 3 south-east, 4 south,
    // 5 south-west, 6 west, 7 north-west. Directions 0..2 and 7 run towards higher squares.
    Bitboard Ray[8][64];
    // Squares strictly between two squares on a line, and the whole line through both.
    Bitboard Between[64][64];
    Bitboard Line[64][64];
    constexpr TAttackTables();
};

extern const TAttackTables Attacks;

inline Bitboard RayAttack(int dir, int sq, Bitboard occ) {
    Bitboard ray = Attacks.Ray[dir][sq];
    const Bitboard blockers = ray & occ;
    if (blockers) {
        const bool up = dir <= 2 || dir == 7;
        ray ^= Attacks.Ray[dir][up ? Lsb(blockers) : Msb(blockers)];
    }
    return ray;
}

inline Bitboard BishopAttacks(int sq, Bitboard occ) {
    return RayAttack(1, sq, occ) | RayAttack(3, sq, occ) | RayAttack(5, sq, occ) |
           RayAttack(7, sq, occ);
}

inline Bitboard RookAttacks(int sq, Bitboard occ) {
    return RayAttack(0, sq, occ) | RayAttack(2, sq, occ) | RayAttack(4, sq, occ) |
           RayAttack(6, sq, occ);
}

inline Bitboard PieceAttacks(int type, int sq, Bitboard occ) {
    switch (type) {
    case Knight: return Attacks.Knight[sq];
    case Bishop: return BishopAttacks(sq, occ);
    case Rook: return RookAttacks(sq, occ);
    case Queen: return BishopAttacks(sq, occ) | RookAttacks(sq, occ);
    case King: return Attacks.King[sq];
    default: return 0;
    }
}

constexpr Bitboard FileA = 0x0101010101010101ULL;
constexpr Bitboard Rank1 = 0xFFULL;
constexpr Bitboard FileBB(int f) {
    return FileA << f;
}
constexpr Bitboard RankBB(int r) {
    return Rank1 << (8 * r);
}

} // namespace strong
