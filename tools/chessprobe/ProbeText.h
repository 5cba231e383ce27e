#pragma once
// The console's text forms: parsing of command arguments (squares, numbers; sides, castling
// letters and placements are read as in a FEN record) and the fixed output spellings. Parsers
// answer false on malformed text and leave their result unchanged.

#include <string>
#include <string_view>
#include <vector>

#include "CastleSet.h"
#include "FenFields.h"
#include "Square.h"
#include "Text.h"

namespace probe {

// Words separated by blanks (space, tab, CR, VT, FF).
std::vector<std::string_view> SplitWords(std::string_view line);
// The pieces of a -c argument between semicolons.
std::vector<std::string_view> SplitScript(std::string_view commands);
// The line without leading and trailing blanks.
std::string_view Trim(std::string_view line);

// A decimal integer with an optional leading '-', within the range of int.
bool ParseInt(std::string_view text, int& value);
// "e2" (lower case), a Square number 0..64, or "-" for None.
bool ParseSquare(std::string_view text, Square& sq);

// "KQkq" letters of the rights held, in that order, or "-".
std::string CastlingText(CastleSet rights);
// An event's piece letter; a space prints as '_'.
char EventLetter(char piece);

} // namespace probe
