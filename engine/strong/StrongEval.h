#pragma once
// The strong search's evaluation: material and piece-square values kept by the board, plus
// mobility, king safety, pawn structure with passed pawns, bishop pair and rooks on open
// files, each with a middle-game and an end-game weight blended by the game phase.

#include "StrongPosition.h"

namespace strong {

// Centipawns from the side to move's point of view.
int Evaluate(const TPosition& pos);

} // namespace strong
