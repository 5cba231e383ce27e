#pragma once
// A piece of input quoted in a message: short enough for any message box, however long the
// token a file holds.

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t kExcerptLength = 24;

// The text as it stands when it has at most kExcerptLength bytes; otherwise its beginning,
// cut where no UTF-8 character is split, followed by "...".
std::string Excerpt(std::string_view text);
