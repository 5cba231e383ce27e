// The evaluation: piece-square tables folded once per search from the root position, and a
// per-node sum over the pieces with the pawn-structure and rook-file terms.

#include <bit>
#include <cstring>

#include "ChessEngine.h"
#include "EngineTables.h"

using engine_tables::LowSquare;
using engine_tables::Tables;
using engine_tables::TBits;

namespace {

// Pawns of one colour per file, indexed by file + 1 so that both edge files have an empty
// neighbour at 0 and 9.
struct TPawnFiles {
    int Count[10] = {};
};

TPawnFiles CountPawnFiles(TBits pawns) {
    TPawnFiles f;
    for (int file = 0; file < 8; ++file)
        f.Count[file + 1] = std::popcount(pawns & Tables.FileBits[file]);
    return f;
}

} // namespace

void TChessEngine::BuildPieceSquareTables() {
    // 1. Start from nothing.
    std::memset(PieceSquare, 0, sizeof PieceSquare);
    // 2. Material and the positional tables; Black reads them through FlipSquare.
    for (int s = 0; s < 64; ++s) {
        for (int c = White; c <= Black; ++c) {
            const int t = c == White ? s : FlipSquare[s];
            PieceSquare[c][Pawn][s] = PawnTable[t] + PieceValue[Pawn];
            PieceSquare[c][Knight][s] = MinorTable[t] + PieceValue[Knight];
            PieceSquare[c][Bishop][s] = MinorTable[t] + PieceValue[Bishop];
            PieceSquare[c][Rook][s] = PieceValue[Rook];
            PieceSquare[c][Queen][s] = PieceValue[Queen];
        }
    }
    // 3. and 4. Each king's table, and its pawns' shelter, by the enemy's pieces and by the
    // king's file. The last king in square order decides; without a king there is no
    // shelter.
    for (int c = White; c <= Black; ++c) {
        const int o = c ^ 1;
        int enemy = 0;
        for (int p = Knight; p <= Queen; ++p)
            enemy += PieceValue[p] * std::popcount(Bits[o][p]);
        const TBits kings = Bits[c][King];
        const int kingFile = kings ? engine_tables::HighSquare(kings) % 8 : -1;
        const bool middleGame = enemy > 1400;
        for (int s = 0; s < 64; ++s) {
            const int t = c == White ? s : FlipSquare[s];
            PieceSquare[c][King][s] = middleGame ? KingMiddleTable[t] : KingEndTable[t];
            if (!middleGame || kingFile < 0) continue;
            if (kingFile >= 5)
                PieceSquare[c][Pawn][s] += KingsideShelter[t];
            else if (kingFile <= 2)
                PieceSquare[c][Pawn][s] += QueensideShelter[t];
        }
    }
}

std::int32_t TChessEngine::Evaluate() const {
    // 1. Pawn counts per file.
    const TPawnFiles files[2] = {CountPawnFiles(Bits[White][Pawn]),
                                 CountPawnFiles(Bits[Black][Pawn])};
    std::int32_t score[2] = {0, 0};
    for (int c = White; c <= Black; ++c) {
        const int o = c ^ 1;
        const int* own = files[c].Count;
        const int* other = files[o].Count;
        // 2. The table entries of every piece.
        for (int p = Pawn; p <= King; ++p)
            for (TBits b = Bits[c][p]; b; b &= b - 1)
                score[c] += PieceSquare[c][p][LowSquare(b)];
        // 3. Pawn structure: doubled, isolated (worse on a half-open file), passed.
        for (TBits b = Bits[c][Pawn]; b; b &= b - 1) {
            const int s = LowSquare(b);
            const int k = s % 8 + 1;
            if (own[k] > 1) score[c] -= 5;
            if (own[k - 1] == 0 && own[k + 1] == 0) {
                score[c] -= 20;
                if (other[k] == 0) score[c] -= 10;
            }
            if (other[k - 1] == 0 && other[k] == 0 && other[k + 1] == 0)
                score[c] += 2 * PieceSquare[c][Pawn][s];
        }
        // Rooks on files without own pawns, more without any pawns.
        for (TBits b = Bits[c][Rook]; b; b &= b - 1) {
            const int k = LowSquare(b) % 8 + 1;
            if (own[k] == 0) {
                score[c] += 10;
                if (other[k] == 0) score[c] += 5;
            }
        }
    }
    // 4. From the side to move's point of view.
    return score[Side] - score[XSide];
}
