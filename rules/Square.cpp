#include "Square.h"

#include "Text.h"

namespace {

// "None" followed by "A8".."H8", "A7".. down to "H1", built once at compile time.
struct SquareNames {
    char Text[65][5] = {};

    constexpr SquareNames() {
        const char none[] = "None";
        for (int i = 0; i < 5; ++i)
            Text[0][i] = none[i];
        for (int sq = 1; sq <= 64; ++sq) {
            Text[sq][0] = static_cast<char>('A' + FileOf(sq) - 1);
            Text[sq][1] = static_cast<char>('0' + RankOf(sq));
        }
    }
};

constexpr SquareNames kNames;

} // namespace

const char* SquareName(Square sq) {
    // A value outside the enumeration has no name.
    if (sq > H1) return "";
    return kNames.Text[sq];
}

bool SquareFromName(const char* name, Square& sq) {
    if (name == nullptr) return false;
    for (int i = 0; i <= H1; ++i) {
        if (EqualIgnoringCase(name, kNames.Text[i])) {
            sq = static_cast<Square>(i);
            return true;
        }
    }
    return false;
}
