#include "TextBytes.h"

#include <cstddef>

bool LooksLikeText(std::string_view bytes) {
    std::size_t control = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0) return false;
        const bool allowed = b == '\t' || b == '\n' || b == '\r' || b == '\f' || b == '\v' ||
                             b == 0x1A;
        if ((b < 0x20 || b == 0x7F) && !allowed) ++control;
    }
    // One stray control character in a thousand is a damaged text, more is not text.
    return control * 1000 <= bytes.size();
}
