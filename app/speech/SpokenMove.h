#pragma once
// A move as it is said aloud, from its report: "Knight g1 takes e5, check", "Castles king
// side", "Pawn e7 to e8 promotes to queen", and the end of the game after it ("Queen h5
// takes f7, checkmate. White wins."). The colour of the side that moved is left out: the
// sides take turns and the squares tell whose piece it was, so every phrase gets to the
// piece and its squares at once; the colour is said where it is news, with the winner.

#include <QString>

#include "MoveReport.h"

QString SpokenMoveText(const TMoveReport& move);
