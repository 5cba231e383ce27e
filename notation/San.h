#pragma once
// Standard Algebraic Notation, written and read against the rules: the piece letter, the
// file, rank or square of the moving piece exactly where another piece of its kind could
// reach the same square, "x" for captures, "=Q" for promotions, "O-O" and "O-O-O", and "+"
// or "#" after a check or a mate.

#include <string>
#include <string_view>

#include "ReplayGame.h"

// The SAN of a legal move in the game's current position.
std::string WriteSan(const TReplayGame& game, const GameMove& move);

// Reads a move in the game's current position. Accepts the usual slack of other programs:
// "0-0" for castling, a promotion without "=", missing or extra check signs and trailing
// "!" and "?". On refusal returns false and sets error to the reason ("no knight can reach
// e5", "two rooks can reach d1").
bool ReadSan(const TReplayGame& game, std::string_view text, GameMove& move, std::string& error);
