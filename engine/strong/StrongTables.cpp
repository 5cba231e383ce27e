#include "StrongTables.h"

#include "StrongWeights.h"

namespace strong {

namespace {

constexpr Key SplitMix(Key& state) {
    Key z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
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
    const TEvalWeights* sets[2] = {&ClassicWeights, &TunedWeights};
    for (int set = 0; set < 2; ++set) {
        const TEvalWeights& w = *sets[set];
        for (int type = Pawn; type <= King; ++type) {
            for (int sq = 0; sq < 64; ++sq) {
                const int mg = w.Material[type].Mg + w.Square[type][sq].Mg;
                const int eg = w.Material[type].Eg + w.Square[type][sq].Eg;
                Mg[set][MakePiece(White, type)][sq] = mg;
                Eg[set][MakePiece(White, type)][sq] = eg;
                Mg[set][MakePiece(Black, type)][sq ^ 56] = -mg;
                Eg[set][MakePiece(Black, type)][sq ^ 56] = -eg;
            }
        }
    }
}

constinit const TZobrist Zobrist{};
constinit const TPieceSquare PieceSquare{};

} // namespace strong
