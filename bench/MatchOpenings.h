#pragma once
// The match openings: well-known balanced lines, as moves from the start position in the
// UCI notation. Each is played twice, once with each engine as White.

inline constexpr const char* MatchOpenings[] = {
    "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6",           // Spanish
    "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5",           // Italian
    "e2e4 c7c5 g1f3 d7d6 d2d4 c5d4 f3d4 g8f6", // Sicilian
    "e2e4 e7e6 d2d4 d7d5 b1c3 g8f6",           // French
    "e2e4 c7c6 d2d4 d7d5 e4e5 c8f5",           // Caro-Kann
    "d2d4 d7d5 c2c4 e7e6 b1c3 g8f6",           // Queen's Gambit Declined
    "d2d4 d7d5 c2c4 c7c6 g1f3 g8f6",           // Slav
    "d2d4 g8f6 c2c4 e7e6 b1c3 f8b4",           // Nimzo-Indian
    "d2d4 g8f6 c2c4 g7g6 b1c3 f8g7 e2e4 d7d6", // King's Indian
    "c2c4 e7e5 b1c3 g8f6 g1f3 b8c6",           // English
    "g1f3 d7d5 g2g3 g8f6 f1g2 e7e6",           // Reti
    "e2e4 e7e5 g1f3 g8f6 f3e5 d7d6 e5f3 f6e4", // Petrov
    "e2e4 d7d5 e4d5 d8d5 b1c3 d5a5",           // Scandinavian
    "d2d4 g8f6 c2c4 c7c5 d4d5 e7e6",           // Benoni
    "e2e4 g7g6 d2d4 f8g7 b1c3 d7d6",           // Modern
    "d2d4 f7f5 g2g3 g8f6 f1g2 e7e6",           // Dutch
    "e2e4 e7e5 b1c3 g8f6 f1c4 b8c6",           // Vienna
    "d2d4 d7d5 g1f3 g8f6 c1f4 c7c5",           // London
    "e2e4 c7c5 g1f3 e7e6 d2d4 c5d4 f3d4 a7a6", // Sicilian Kan
    "c2c4 c7c5 g1f3 g8f6 b1c3 b8c6",           // Symmetrical English
    "d2d4 g8f6 g1f3 e7e6 c1g5 c7c5",           // Torre
    "e2e4 e7e6 d2d4 d7d5 e4e5 c7c5",           // French Advance
    "e2e4 c7c5 b1c3 b8c6 g2g3 g7g6",           // Closed Sicilian
    "d2d4 d7d5 c2c4 d5c4 g1f3 g8f6",           // Queen's Gambit Accepted
};
