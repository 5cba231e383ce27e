#pragma once
// Castling rights: a set of the four ways to castle, stored as one byte with bit n set when
// value n is a member (bit 0 White king side ... bit 3 Black queen side).

#include <cstdint>

enum CanStillCastle : std::uint8_t {
    WhiteKingSide = 0,
    WhiteQueenSide = 1,
    BlackKingSide = 2,
    BlackQueenSide = 3,
};

struct CastleSet {
    std::uint8_t Bits = 0;

    static constexpr CastleSet All() { return CastleSet{0x0F}; }
    constexpr bool Contains(CanStillCastle c) const { return (Bits >> c) & 1u; }
    constexpr void Include(CanStillCastle c) { Bits = static_cast<std::uint8_t>(Bits | (1u << c)); }
    constexpr void Exclude(CanStillCastle c) {
        Bits = static_cast<std::uint8_t>(Bits & ~(1u << c));
    }
    constexpr bool Empty() const { return (Bits & 0x0F) == 0; }
    friend constexpr bool operator==(CastleSet a, CastleSet b) { return a.Bits == b.Bits; }
};
