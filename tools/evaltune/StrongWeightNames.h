#pragma once
// The groups of the evaluation's weight vector by name, for the tuner's output.

#include <cstddef>
#include <vector>

#include "StrongWeights.h"

namespace strong {

struct TWeightGroup {
    const char* Name;
    int First, Size;
};

inline std::vector<TWeightGroup> WeightNames() {
    constexpr int P = sizeof(TPair);
#define ZEL_GROUP(field, size) {#field, static_cast<int>(offsetof(TEvalWeights, field) / P), size}
    return {ZEL_GROUP(Material, 6),        ZEL_GROUP(Square[0], 64),      ZEL_GROUP(Square[1], 64),
            ZEL_GROUP(Square[2], 64),      ZEL_GROUP(Square[3], 64),      ZEL_GROUP(Square[4], 64),
            ZEL_GROUP(Square[5], 64),      ZEL_GROUP(Mobility[0], 28),    ZEL_GROUP(Mobility[1], 28),
            ZEL_GROUP(Mobility[2], 28),    ZEL_GROUP(Mobility[3], 28),    ZEL_GROUP(Isolated, 1),
            ZEL_GROUP(Doubled, 1),         ZEL_GROUP(Passed, 8),          ZEL_GROUP(PassedEnemyKing, 1),
            ZEL_GROUP(PassedOwnKing, 1),   ZEL_GROUP(PassedFreeStop, 1),  ZEL_GROUP(RookOpen, 1),
            ZEL_GROUP(RookHalfOpen, 1),    ZEL_GROUP(BishopPair, 1),      ZEL_GROUP(ThreatByPawn, 1),
            ZEL_GROUP(ThreatByMinor, 1),   ZEL_GROUP(ThreatByRook, 1),    ZEL_GROUP(Hanging, 1),
            ZEL_GROUP(ShelterMissing, 1),  ZEL_GROUP(ShelterOpenFile, 1), ZEL_GROUP(ShelterFar2, 1),
            ZEL_GROUP(ShelterFar3, 1),     ZEL_GROUP(KingAttack, 1),      ZEL_GROUP(Connected, 8),
            ZEL_GROUP(Outpost, 2),         ZEL_GROUP(KingZone, 1),        ZEL_GROUP(Tempo, 1),
            ZEL_GROUP(SafeCheck, 4)};
#undef ZEL_GROUP
}

} // namespace strong
