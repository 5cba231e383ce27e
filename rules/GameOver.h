#pragma once
// Why a game is over; shared by the game's own answer (TChessGame::GameOver) and the
// report of the move that ended it.

#include <cstdint>

// None while the game goes on. Marked is a game ended by its record (a resignation, an
// agreed draw) where the rules would let it go on.
enum class TGameOver : std::uint8_t { None, Mate, StaleMate, Threefold, NoMatingMaterial, Marked };
