#pragma once
// The computer player's move record and the input it reads from the game.
//
// TEngineMove is exactly four bytes so that it is stored, copied and compared as one 32-bit
// value: byte 0 from-square, byte 1 to-square, byte 2 promotion piece code (0 when none),
// byte 3 flags. Engine squares run 0 = a8 ... 63 = h1 (the game's Square minus one).

#include <cstdint>

enum TMoveFlag : std::uint8_t {
    mfCapture = 1,
    mfCastle = 2, // the king's move; the rook moves with it
    mfEnPassant = 4,
    mfDoubleStep = 8,
    mfPawnMove = 16,
    mfPromotion = 32,
};

struct TEngineMove {
    std::uint8_t From = 0;
    std::uint8_t To = 0;
    std::uint8_t Promote = 0;
    std::uint8_t Flags = 0;
    friend constexpr bool operator==(TEngineMove, TEngineMove) = default;
};
static_assert(sizeof(TEngineMove) == 4);

// A generated move with its ordering score.
struct TGenMove {
    TEngineMove Move;
    std::int32_t Score = 0;
};

// What a search reads from the game at its start: the position letters of Square 1..64
// (Board[k - 1] is square k), the side to move, the castling rights (CastleSet bits: 1 White
// king side, 2 White queen side, 4 Black king side, 8 Black queen side), the en-passant
// Square (0 for none) and the number of iterations.
struct TEngineInput {
    char Board[64];
    bool WhiteToMove = true;
    std::uint8_t CastlingAllowed = 0x0F;
    std::uint8_t EnPassant = 0;
    int SearchDepth = 1;
};
