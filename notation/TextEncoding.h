#pragma once
// Game files come in UTF-8 or in Latin-1, and files put together from several sources mix
// the two line by line. A line that is valid UTF-8 is taken as it stands (a byte-order mark
// at the start of the text dropped); any other line is read as Latin-1 and converted.

#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);
std::string TextToUtf8(std::string_view bytes);
