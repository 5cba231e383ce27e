#pragma once
// Static exchange evaluation: what a capture (or a move to an attacked square) wins or loses
// when both sides go on taking on its square with their cheapest attacker first, each free
// to stop when going on would lose.

#include "StrongPosition.h"
#include "StrongTables.h"

namespace strong {

// The material the mover gains by the move and the exchange that follows on its square.
int See(const TPosition& pos, Move m);

// True for a capture (not a promotion) whose victim is worth at least its taker: the
// exchange cannot lose, since the taker may stop after the first recapture. Saves the
// full exchange where only its sign matters.
inline bool TakesAtLeastItsWorth(const TPosition& pos, Move m) {
    const int kind = KindOf(m);
    if (kind == KindEnPassant) return true;
    if (kind != KindNormal || pos.Board[ToSq(m)] == NoPiece) return false;
    return SeeValue[TypeOf(pos.Board[ToSq(m)])] >= SeeValue[TypeOf(pos.Board[FromSq(m)])];
}

} // namespace strong
