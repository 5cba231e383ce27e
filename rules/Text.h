#pragma once
// Text helpers shared by the rules, the engine's tools and the console.

#include <string>
#include <string_view>

#include "Square.h"

// True when a and b hold the same letters, upper and lower case alike (ASCII letters only, so
// the answer does not depend on the locale).
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// "e2" for Square 1..64 (a8 = 1 ... h1 = 64), "-" for anything else.
std::string SquareText(int sq);
// The square of a lower-case name such as "e2"; None for any other text.
Square SquareFromText(std::string_view text);
