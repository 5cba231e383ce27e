#pragma once
// Whether the bytes of a file are text at all, before they are read as games: a file of
// another kind (a picture, a program, random bytes) is refused as a whole instead of being
// searched for games.

#include <string_view>

// True when bytes hold no NUL and only a few control characters besides tab, line breaks,
// form feed and the end-of-file mark some editors leave; any encoding of letters passes.
bool LooksLikeText(std::string_view bytes);
