#pragma once
// Text helpers shared by the rules, the engine's tools and the console.

#include <string>
#include <string_view>

// True when a and b hold the same letters, upper and lower case alike.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// "e2" for Square 1..64 (a8 = 1 ... h1 = 64), "-" for anything else.
std::string SquareText(int sq);
