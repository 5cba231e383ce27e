#pragma once
// The game on a board as the strong search needs it: the position of the first recorded
// half-move and the half-moves played since, up to the position the board shows, so that
// the search sees the repetitions of the game and counts toward fifty moves. The rules keep
// no half-move clock, so the count starts at the first recorded position.

#include <string>
#include <vector>

#include "EngineMove.h"
#include "StrongPosition.h"

class TChessGame;

struct TGameLine {
    TEngineInput Now{};             // the position on the board
    std::string StartFen;           // the first recorded position; empty when none is
    std::vector<std::string> Moves; // played from it, in long algebraic notation ("e7e8q")
};

TGameLine GameLineOf(const TChessGame& game);

// The input's position as FEN text (its counters 0 and 1).
std::string FenOf(const TEngineInput& in);

// Sets pos to the line's last position with the game behind it; when the recorded moves do
// not lead to the position on the board, to that position alone. False when even that is
// not a position.
bool PositionOf(const TGameLine& line, strong::TPosition& pos);
