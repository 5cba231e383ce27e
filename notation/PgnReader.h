#pragma once
// Reads games from PGN text: tag pairs with escaped quotes, comments in braces and after
// semicolons, variations in parentheses, NAGs, move numbers, annotation signs and results,
// several games one after another. Every move is replayed through the rules, so only legal
// games are read; a refusal names the line and the reason. A move's notes are kept: the
// clock and evaluation of the comments after it ("[%clk 0:04:58]", "[%eval -1.20]"), its
// first mark ("$2" or "?", marks $1 to $6 only) and its first variation, as the better line,
// when that is legal; deeper variations and other comments are passed over.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "GameRecord.h"

// Where one game of a text begins, and what its tags say about it.
struct PgnGameEntry {
    size_t Offset = 0; // of the game's first character
    int Line = 1;      // of that character, from 1
    std::string White, Black, Event, Date, Result;
};

// Finds the games of a text without replaying their moves. progress, when given, is called
// now and then with the offset reached; returning false stops the search there.
std::vector<PgnGameEntry> ListPgnGames(std::string_view text,
                                       const std::function<bool(size_t)>& progress = {});

// Reads the game that begins at entry (from ListPgnGames; a default entry is the first
// game). On refusal returns false, leaves record alone and sets error to "line N: reason".
bool ReadPgnGame(std::string_view text, const PgnGameEntry& entry, GameRecord& record,
                 std::string& error);

// The first game of a text.
inline bool ReadPgn(std::string_view text, GameRecord& record, std::string& error) {
    return ReadPgnGame(text, PgnGameEntry{}, record, error);
}
