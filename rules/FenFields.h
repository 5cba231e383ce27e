#pragma once
// Reading the first four fields of a FEN record (placement, side to move, castling rights,
// en-passant square) into the forms the game holds. Each reader answers false on malformed
// text and then leaves its result unchanged; given a `why`, it also says what is wrong.

#include <string>
#include <string_view>

#include "CastleSet.h"
#include "Square.h"

// Eight ranks from 8 to 1 separated by '/', each of piece letters and digits 1..8 filling
// exactly eight files; gives the 64 position letters, a8 first, ' ' for an empty square.
bool ReadPlacement(std::string_view text, std::string& position, std::string* why = nullptr);
// "w" or "b".
bool ReadSide(std::string_view text, bool& white);
// Any non-empty combination of the letters K, Q, k, q, or "-" for none.
bool ReadCastling(std::string_view text, CastleSet& rights, std::string* why = nullptr);
// "e3" (lower case) or "-" for None.
bool ReadEnPassant(std::string_view text, Square& sq);

struct TFenFields {
    std::string Position;
    bool WhiteToMove = true;
    CastleSet Castling;
    Square EnPassant = None;
};

// A record's fields separated by spaces; a missing castling or en-passant field means none,
// and the move counters after them are not read.
bool ReadFenFields(std::string_view fen, TFenFields& fields);
