#pragma once
// The strong search's evaluation: material and piece-square values kept by the board, plus
// mobility, king safety, pawn structure with passed pawns, bishop pair, rooks on open files
// and threats (pieces attacked by lesser ones or undefended), each with a middle-game and an end-game weight blended by the game phase.

#include "StrongPosition.h"
#include "StrongWeights.h"

namespace strong {

// Centipawns from the side to move's point of view, with the given weight set; with the
// net, the classic set's score corrected by the net (StrongNet.h).
int Evaluate(const TPosition& pos, TEvalSet set = TEvalSet::Classic);
// The same without the pieces that attack something worth more or undefended: the view of a
// player who looks at the position but not at what either side threatens (classic weights).
int EvaluateWithoutThreats(const TPosition& pos);

} // namespace strong
