#pragma once
// The one way the game is copied into the computer player's input, for the board's thread,
// the hint and the console alike.

#include "ChessGame.h"
#include "EngineMove.h"

// The game's position letters, side to move, castling rights and en-passant square, with
// the given number of iterations.
TEngineInput EngineInputOf(const TChessGame& game, int searchDepth = 1);
