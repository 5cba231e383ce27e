#pragma once
// The strong search's core types. Squares run a1 = 0, b1 = 1 ... h8 = 63 (unlike the plain
// engine's a8 = 0), so that a pawn's push is +8 for White and rank arithmetic is a shift.
//
// A move is 16 bits: bits 0-5 the from-square, 6-11 the to-square, 12-13 the promotion piece
// (0 knight, 1 bishop, 2 rook, 3 queen), 14-15 the kind (0 normal, 1 promotion, 2 en passant,
// 3 castling, stored as the king's move). NoMove (0, a1 to a1) is never a real move.

#include <bit>
#include <cstdint>

namespace strong {

using Bitboard = std::uint64_t;
using Key = std::uint64_t;
using Move = std::uint16_t;

enum Colour : int { White = 0, Black = 1 };
enum PieceType : int { Pawn = 0, Knight, Bishop, Rook, Queen, King, NoType };
// A piece is colour * 6 + type; NoPiece marks an empty square.
constexpr int NoPiece = 12;
constexpr int MakePiece(int colour, int type) {
    return colour * 6 + type;
}
constexpr int TypeOf(int piece) {
    return piece % 6;
}
constexpr int ColourOf(int piece) {
    return piece / 6;
}

constexpr Move NoMove = 0;
constexpr int KindNormal = 0, KindPromotion = 1, KindEnPassant = 2, KindCastle = 3;

constexpr Move MakeMove(int from, int to, int kind = KindNormal, int promo = Knight) {
    return static_cast<Move>(from | (to << 6) | ((promo - Knight) << 12) | (kind << 14));
}
constexpr int FromSq(Move m) {
    return m & 63;
}
constexpr int ToSq(Move m) {
    return (m >> 6) & 63;
}
constexpr int KindOf(Move m) {
    return m >> 14;
}
constexpr int PromoType(Move m) {
    return ((m >> 12) & 3) + Knight;
}

// Castling rights bits.
constexpr int WhiteShort = 1, WhiteLong = 2, BlackShort = 4, BlackLong = 8;

constexpr int FileOfSq(int sq) {
    return sq & 7;
}
constexpr int RankOfSq(int sq) {
    return sq >> 3;
}
constexpr Bitboard SqBit(int sq) {
    return Bitboard{1} << sq;
}
inline int Lsb(Bitboard b) {
    return std::countr_zero(b);
}
inline int Msb(Bitboard b) {
    return 63 - std::countl_zero(b);
}
inline int PopLsb(Bitboard& b) {
    const int s = Lsb(b);
    b &= b - 1;
    return s;
}
// Without the processor's population count (not in the x86-64 baseline the program is built
// for), std::popcount calls a library routine; the bit-parallel sum inline is faster.
inline int Count(Bitboard b) {
#ifdef __POPCNT__
    return std::popcount(b);
#else
    b = b - ((b >> 1) & 0x5555555555555555ULL);
    b = (b & 0x3333333333333333ULL) + ((b >> 2) & 0x3333333333333333ULL);
    b = (b + (b >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((b * 0x0101010101010101ULL) >> 56);
#endif
}

// Scores in centipawns. A side mated at ply p scores p - Mate; scores beyond MateBound in
// absolute value are mates.
constexpr int MaxPly = 128;
constexpr int Infinite = 32000;
constexpr int Mate = 31000;
constexpr int MateBound = Mate - 2 * MaxPly;
constexpr int NoScore = 32001;

} // namespace strong
