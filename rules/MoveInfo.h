#pragma once
// One history record: the position in which a half-move is to be played, its castling
// rights and en-passant square, and the half-move played from it.

#include <string>

#include "CastleSet.h"
#include "Square.h"

struct MoveInfo {
    std::string Position; // 64 letters, or empty when the record was never written
    CastleSet Castling;
    Square OldSq = None;
    Square NewSq = None;
    Square EnPassant = None;
};
