#pragma once
// Game files come in UTF-8 or in Latin-1. Text that is valid UTF-8 is taken as it stands
// (a byte-order mark dropped); anything else is read as Latin-1 and converted.

#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);
std::string TextToUtf8(std::string_view bytes);
