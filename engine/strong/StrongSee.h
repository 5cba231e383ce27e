#pragma once
// Static exchange evaluation: what a capture (or a move to an attacked square) wins or loses
// when both sides go on taking on its square with their cheapest attacker first, each free
// to stop when going on would lose.

#include "StrongPosition.h"

namespace strong {

// The material the mover gains by the move and the exchange that follows on its square.
int See(const TPosition& pos, Move m);

} // namespace strong
