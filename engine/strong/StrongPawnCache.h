#pragma once
// TPawnCache keeps what the evaluation found for a pawn structure: the score of the terms
// that depend on the pawns alone, per side, and where the passed pawns stand. The pawns
// change in few moves, so most evaluations find their structure here; the shelter of each
// king is kept beside it for the square the king stood on. An entry holds both
// sides' pawns itself, so a hit is always the same structure; the set of weights is part
// of the entry too.

#include <cstdint>

#include "StrongTypes.h"

namespace strong {

struct TPawnEntry {
    Bitboard Pawns[2] = {~Bitboard{0}, ~Bitboard{0}}; // no structure has a pawn on every square
    Bitboard Passed[2] = {0, 0};
    std::int16_t Mg[2] = {0, 0}, Eg[2] = {0, 0};
    // The shelter of each side's king, which depends on the pawns and on the king's square:
    // the square it was found for (-1: none yet) and its score.
    std::int16_t ShelterMg[2] = {0, 0}, ShelterEg[2] = {0, 0};
    std::int8_t ShelterKing[2] = {-1, -1};
    std::int8_t Set = -1;
};

class TPawnCache {
  public:
    // The entry for the structure, which is either that structure's (Found) or the slot it
    // is to be written to.
    TPawnEntry& Slot(Bitboard white, Bitboard black, int set, bool& found) {
        const std::uint64_t h = (white * 0x9E3779B97F4A7C15ull) ^ (black * 0xC2B2AE3D27D4EB4Full);
        TPawnEntry& e = Entries[(h >> 40) & (Size - 1)];
        found = e.Pawns[0] == white && e.Pawns[1] == black && e.Set == set;
        return e;
    }

  private:
    static constexpr int Size = 8192; // 56 bytes each: 448 KB
    TPawnEntry Entries[Size];
};

} // namespace strong
