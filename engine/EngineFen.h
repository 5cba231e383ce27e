#pragma once
// Text forms of the engine's input and moves for tools, tests and the benchmark: a FEN
// record read into a TEngineInput, and a move written as from-to squares ("e2e4", with the
// promotion letter appended: "e7e8q").

#include <string>
#include <string_view>

#include "EngineMove.h"

// Reads the board, side, castling and en-passant fields of a FEN record (move counters are
// ignored). Returns false, leaving `in` unspecified, when the record is malformed.
bool EngineInputFromFen(std::string_view fen, TEngineInput& in);

std::string EngineMoveText(TEngineMove m);
