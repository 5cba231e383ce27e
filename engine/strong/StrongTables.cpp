#include "StrongTables.h"

namespace strong {

namespace {

constexpr Key SplitMix(Key& state) {
    Key z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr int Abs2(int x) {
    return x < 0 ? -x : x;
}

// How central a square is: 0 in a corner, 6 in the four middle squares.
constexpr int Centrality(int f, int r) {
    const int df = Abs2(2 * f - 7), dr = Abs2(2 * r - 7); // 1, 3, 5 or 7
    return (14 - df - dr) / 2;
}

// The values of a White piece of the given type on (f, r), without its material.
constexpr void SquareValue(int type, int f, int r, int& mg, int& eg) {
    const int c = Centrality(f, r);
    const bool middleFile = f == 3 || f == 4;
    switch (type) {
    case Pawn:
        mg = (r - 1) * 3 + (middleFile && r >= 2 && r <= 4 ? 12 : 0) + (f == 0 || f == 7 ? -5 : 0);
        eg = (r - 1) * 9;
        break;
    case Knight:
        mg = c * 8 - 28 - (r == 0 ? 8 : 0);
        eg = c * 6 - 20;
        break;
    case Bishop:
        mg = c * 4 - 12 - (r == 0 ? 6 : 0);
        eg = c * 4 - 12;
        break;
    case Rook:
        mg = (r == 6 ? 18 : 0) + (middleFile ? 6 : 0) - (f == 0 || f == 7 ? 4 : 0);
        eg = r == 6 ? 12 : 0;
        break;
    case Queen:
        mg = c * 2 - 8 - (r == 0 ? 0 : 0);
        eg = c * 5 - 18;
        break;
    default: // king
        mg = r == 0 ? (f == 1 || f == 2 || f == 6 ? 25 : f == 0 || f == 7 ? 15 : f == 4 ? 0 : -5)
                    : -15 * r - 10;
        eg = c * 9 - 30;
        break;
    }
}

} // namespace

constexpr TZobrist::TZobrist() : Piece{}, Castling{}, EnPassantFile{}, Side{} {
    Key state = 0x5A17C0DE2026ULL;
    for (auto& piece : Piece)
        for (auto& k : piece)
            k = SplitMix(state);
    for (auto& k : Castling)
        k = 0;
    Key rights[4] = {SplitMix(state), SplitMix(state), SplitMix(state), SplitMix(state)};
    for (int c = 0; c < 16; ++c)
        for (int b = 0; b < 4; ++b)
            if (c & (1 << b)) Castling[c] ^= rights[b];
    for (auto& k : EnPassantFile)
        k = SplitMix(state);
    Side = SplitMix(state);
}

constexpr TPieceSquare::TPieceSquare() : Mg{}, Eg{} {
    for (int type = Pawn; type <= King; ++type) {
        for (int sq = 0; sq < 64; ++sq) {
            int mg = 0, eg = 0;
            SquareValue(type, sq & 7, sq >> 3, mg, eg);
            Mg[MakePiece(White, type)][sq] = ValueMg[type] + mg;
            Eg[MakePiece(White, type)][sq] = ValueEg[type] + eg;
            Mg[MakePiece(Black, type)][sq ^ 56] = -(ValueMg[type] + mg);
            Eg[MakePiece(Black, type)][sq ^ 56] = -(ValueEg[type] + eg);
        }
    }
}

constinit const TZobrist Zobrist{};
constinit const TPieceSquare PieceSquare{};

} // namespace strong
