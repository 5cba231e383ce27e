#pragma once
// A position as Forsyth-Edwards text: the placement, the side to move, the castling rights,
// the en-passant square and the two move counters. Reading checks the syntax and then that
// the position could arise in real chess; a refusal says which rule it breaks.

#include <string>
#include <string_view>

#include "CastleSet.h"
#include "Square.h"
#include "Text.h" // SquareText and SquareFromText, which users of positions need too

struct FenPosition {
    std::string Board = std::string(64, ' '); // the rules' 64 letters, a8 first
    bool WhiteToMove = true;
    CastleSet Castling;
    Square EnPassant = None;
    int HalfMoveClock = 0; // half-moves since the last capture or pawn move
    int MoveNumber = 1;
};

// The start position of a game.
FenPosition StartFenPosition();

// The text of a position: six fields separated by single spaces.
std::string WriteFen(const FenPosition& position);

// Reads a FEN (surrounding white space allowed, the two counters optional). On refusal
// returns false, leaves position alone and sets error to the reason.
bool ReadFen(std::string_view text, FenPosition& position, std::string& error);

// Empty when the position is one of real chess, otherwise the reason it is not: the kings,
// pawns on the first or last rank, too many men, the side not to move in check, castling
// rights without king and rook at home, an impossible en-passant square.
std::string PositionFault(const FenPosition& position);

// The rights of the set whose king and rook stand on their squares. The rules keep a
// corner's right when its rook is captured there; a FEN carries only live rights.
CastleSet CastlingAtHome(const std::string& board, CastleSet rights);

