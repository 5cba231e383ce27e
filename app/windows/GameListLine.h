#pragma once
// The one-line description of a game in the list of a file with several games: the players,
// or, for games without player names, what the game does hold (its event, its opening or
// ECO code, its date and its first moves), so that the games can be told apart.

#include <QString>

#include <string_view>
#include <vector>

#include "PgnReader.h"

// The line of games[index], a game of text, numbered from 1.
QString GameListLine(std::string_view text, const std::vector<PgnGameEntry>& games,
                     size_t index);
