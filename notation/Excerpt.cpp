#include "Excerpt.h"

std::string Excerpt(std::string_view text) {
    if (text.size() <= kExcerptLength) return std::string(text);
    std::size_t end = kExcerptLength;
    // Back to the first byte of a character: continuation bytes are 10xxxxxx.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end)) + "...";
}
