#pragma once
// The weights of the strong search's evaluation, each a middle-game and an end-game value.
// Two sets exist: the classic one, written by hand, which the ladder's levels were measured
// with, and the tuned one, fitted by tools/evaltune to self-play games, for a level that
// chooses it (TLevel::Eval). A set is a flat run of pairs, so that the tuner can treat it as
// one vector.

#include <array>
#include <bit>

#include "StrongTypes.h"

namespace strong {

struct TPair {
    int Mg = 0, Eg = 0;
};

struct TEvalWeights {
    TPair Material[6];      // pawn ... queen; the king's is unused
    TPair Square[6][64];    // by White's square (a Black piece reads the mirrored square)
    TPair Mobility[4][28];  // knight, bishop, rook, queen, by safe squares attacked
    TPair Isolated, Doubled;
    TPair Passed[8];        // by ranks advanced
    TPair PassedEnemyKing;  // per square of the enemy king's distance to the stop square,
    TPair PassedOwnKing;    // and the own king's, times (ranks advanced - 2), from the 4th rank
    TPair PassedFreeStop;   // per rank advanced, when the stop square is empty
    TPair RookOpen, RookHalfOpen, BishopPair;
    TPair ThreatByPawn, ThreatByMinor, ThreatByRook, Hanging;
    TPair ShelterMissing, ShelterOpenFile, ShelterFar2, ShelterFar3;
    TPair KingAttack;       // percent of the attack term (the square of its danger, capped)
    TPair Connected[8];     // a pawn beside or defended by another, by ranks advanced
    TPair Outpost[2];       // a knight, a bishop on ranks 4 to 6, defended by a pawn, out of
                            // reach of the enemy pawns
    TPair KingZone;         // per weighted attack on the squares around the enemy king
    TPair Tempo;            // the side to move's bonus; only Mg is used, after the blend
    TPair SafeCheck[4];     // per square from which a knight, bishop, rook or queen attacking
                            // it could check the enemy king, and which no enemy attacks
};

constexpr int WeightCount = sizeof(TEvalWeights) / sizeof(TPair);
static_assert(sizeof(TEvalWeights) == WeightCount * sizeof(TPair));

using TWeightVector = std::array<TPair, WeightCount>;

namespace detail {

constexpr int Abs2(int x) {
    return x < 0 ? -x : x;
}

// How central a square is: 0 in a corner, 6 in the four middle squares.
constexpr int Centrality(int f, int r) {
    const int df = Abs2(2 * f - 7), dr = Abs2(2 * r - 7); // 1, 3, 5 or 7
    return (14 - df - dr) / 2;
}

// The hand-written value of a White piece of the given type on (f, r), without its material.
constexpr TPair SquareValue(int type, int f, int r) {
    const int c = Centrality(f, r);
    const bool middleFile = f == 3 || f == 4;
    switch (type) {
    case Pawn:
        return {(r - 1) * 3 + (middleFile && r >= 2 && r <= 4 ? 12 : 0) + (f == 0 || f == 7 ? -5 : 0),
                (r - 1) * 9};
    case Knight:
        return {c * 8 - 28 - (r == 0 ? 8 : 0), c * 6 - 20};
    case Bishop:
        return {c * 4 - 12 - (r == 0 ? 6 : 0), c * 4 - 12};
    case Rook:
        return {(r == 6 ? 18 : 0) + (middleFile ? 6 : 0) - (f == 0 || f == 7 ? 4 : 0), r == 6 ? 12 : 0};
    case Queen:
        return {c * 2 - 8, c * 5 - 18};
    default: // king
        return {r == 0 ? (f == 1 || f == 2 || f == 6 ? 25 : f == 0 || f == 7 ? 15 : f == 4 ? 0 : -5)
                       : -15 * r - 10,
                c * 9 - 30};
    }
}

constexpr TEvalWeights MakeClassic() {
    TEvalWeights w{};
    constexpr int mg[6] = {85, 320, 335, 470, 960, 0}, eg[6] = {110, 300, 320, 530, 1000, 0};
    for (int t = Pawn; t <= King; ++t) {
        w.Material[t] = {mg[t], eg[t]};
        for (int sq = 0; sq < 64; ++sq)
            w.Square[t][sq] = SquareValue(t, sq & 7, sq >> 3);
    }
    // Per safe square attacked beyond the first few.
    constexpr int perMg[4] = {4, 5, 2, 1}, perEg[4] = {4, 5, 4, 2}, base[4] = {4, 6, 6, 12};
    for (int t = 0; t < 4; ++t)
        for (int n = 0; n < 28; ++n)
            w.Mobility[t][n] = {(n - base[t]) * perMg[t], (n - base[t]) * perEg[t]};
    w.Isolated = {-10, -15};
    w.Doubled = {-8, -18};
    constexpr int passedMg[8] = {0, 2, 5, 12, 25, 45, 75, 0}, passedEg[8] = {0, 8, 12, 25, 45, 80, 130, 0};
    for (int r = 0; r < 8; ++r)
        w.Passed[r] = {passedMg[r], passedEg[r]};
    w.PassedEnemyKing = {0, 5};
    w.PassedOwnKing = {0, -2};
    w.PassedFreeStop = {0, 3};
    w.RookOpen = {25, 10};
    w.RookHalfOpen = {12, 5};
    w.BishopPair = {30, 50};
    w.ThreatByPawn = {60, 40};
    w.ThreatByMinor = {40, 35};
    w.ThreatByRook = {40, 35};
    w.Hanging = {30, 20};
    w.ShelterMissing = {-20, 0};
    w.ShelterOpenFile = {-15, 0};
    w.ShelterFar2 = {-8, 0};
    w.ShelterFar3 = {-15, 0};
    w.KingAttack = {100, 0};
    w.Tempo = {10, 0};
    return w;
}

} // namespace detail

} // namespace strong

#include "StrongTunedWeights.h"

namespace strong {

// The hand-written set.
inline constexpr TEvalWeights ClassicWeights = detail::MakeClassic();
// The fitted set.
inline constexpr TEvalWeights TunedWeights = std::bit_cast<TEvalWeights>(TunedTable);

// Which evaluation a search uses: one of the two weight sets, or the classic set corrected
// by the net (StrongNet.h).
enum class TEvalSet : int { Classic = 0, Tuned = 1, Net = 2 };

} // namespace strong
