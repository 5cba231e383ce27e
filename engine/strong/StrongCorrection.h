#pragma once
// What the search learns about its own static evaluation: for each pawn structure (by a hash
// of both sides' pawns) and side to move, how far the searched scores of its nodes lay from
// the evaluation, as a running average. The search adds it to the evaluation, so that a
// structure the evaluation misjudges, a king whose shelter is weaker than it counts, is
// judged as the search found it.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "StrongPosition.h"

namespace strong {

class TEvalCorrection {
  public:
    TEvalCorrection() { Clear(); }
    void Clear() { std::memset(Table, 0, sizeof Table); }

    // The correction to add to the side to move's evaluation, centipawns.
    int Of(const TPosition& pos) const { return Table[pos.Side][Index(pos)] / Grain; }

    // Moves the entry towards the difference between a node's searched score and its raw
    // evaluation, the more the deeper the search.
    void Learn(const TPosition& pos, int searched, int raw, int depth) {
        int& e = Table[pos.Side][Index(pos)];
        const int target = std::clamp(searched - raw, -Limit, Limit) * Grain;
        const int weight = std::min(depth + 1, 16);
        e = (e * (256 - weight) + target * weight) / 256;
    }

  private:
    static constexpr int Size = 16384, Grain = 256, Limit = 400;
    static int Index(const TPosition& pos) {
        const std::uint64_t w = pos.Pieces(White, Pawn), b = pos.Pieces(Black, Pawn);
        const std::uint64_t h = w * 0x9E3779B97F4A7C15ull ^ (b + 0x632BE59BD9B4E019ull) * 0xD6E8FEB86659FD93ull;
        return static_cast<int>(h >> 50); // 14 bits
    }
    int Table[2][Size];
};

} // namespace strong
