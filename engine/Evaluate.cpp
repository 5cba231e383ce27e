// The evaluation: piece-square tables folded once per search from the root position, whose
// entries for the pieces on the board the board keeps summed as pieces come and go, and the
// pawn-structure and rook-file terms, read from which files hold pawns.

#include <algorithm>
#include <bit>
#include <cstring>

#include "ChessEngine.h"
#include "EngineTables.h"

using engine_tables::LowSquare;
using engine_tables::Tables;
using engine_tables::TBits;

namespace {

// The files that hold at least one of the given pawns (bit f for file f), and those that
// hold two or more, folding the eight rows together without counting.
struct TPawnFiles {
    unsigned Any = 0;
    unsigned Doubled = 0;
};

TPawnFiles PawnFiles(TBits pawns) {
    TBits any = (pawns & 0xFFFFFFFFu) | (pawns >> 32);
    TBits twice = (pawns & 0xFFFFFFFFu) & (pawns >> 32);
    twice = (twice & 0xFFFF) | (twice >> 16) | ((any & 0xFFFF) & (any >> 16));
    any = (any & 0xFFFF) | (any >> 16);
    twice = (twice & 0xFF) | (twice >> 8) | ((any & 0xFF) & (any >> 8));
    any = (any & 0xFF) | (any >> 8);
    return {static_cast<unsigned>(any), static_cast<unsigned>(twice)};
}

// The files beside file f, and those beside it together with f itself.
constexpr unsigned Beside(int f) {
    return ((1u << f) << 1 | (1u << f) >> 1) & 0xFF;
}
constexpr unsigned Around(int f) {
    return Beside(f) | 1u << f;
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
    // 5. The sums of the pieces on the board, kept from here on by PutPiece and RemovePiece,
    // and no pawn terms yet for the new tables.
    SumTables();
    std::fill(std::begin(PawnCache), std::end(PawnCache), TPawnEntry{});
}

void TChessEngine::SumTables() {
    for (int c = White; c <= Black; ++c) {
        TableSum[c] = 0;
        for (int p = Pawn; p <= King; ++p)
            for (TBits b = Bits[c][p]; b; b &= b - 1)
                TableSum[c] += PieceSquare[c][p][LowSquare(b)];
    }
}

// The pawn terms depend on the pawns alone (and on the tables, fixed for one search), so
// they are kept per pawn placement. A cleared entry holds the right answer for no pawns.
const TPawnEntry& TChessEngine::PawnStructure() const {
    const TBits pawns[2] = {Bits[White][Pawn], Bits[Black][Pawn]};
    const TBits mixed =
        pawns[White] * 0x9E3779B97F4A7C15ull ^ (pawns[Black] + 1) * 0xC2B2AE3D27D4EB4Full;
    TPawnEntry& e = PawnCache[mixed >> (64 - PawnCacheBits)];
    if (e.Pawns[White] == pawns[White] && e.Pawns[Black] == pawns[Black]) return e;
    const TPawnFiles files[2] = {PawnFiles(pawns[White]), PawnFiles(pawns[Black])};
    for (int c = White; c <= Black; ++c) {
        const unsigned own = files[c].Any, doubled = files[c].Doubled;
        const unsigned other = files[c ^ 1].Any;
        // Doubled, isolated (worse on a half-open file), passed.
        std::int32_t score = 0;
        for (TBits b = pawns[c]; b; b &= b - 1) {
            const int s = LowSquare(b);
            const int f = s % 8;
            const unsigned file = 1u << f;
            if (doubled & file) score -= 5;
            if (!(own & Beside(f))) {
                score -= 20;
                if (!(other & file)) score -= 10;
            }
            if (!(other & Around(f))) score += 2 * PieceSquare[c][Pawn][s];
        }
        e.Pawns[c] = pawns[c];
        e.Score[c] = score;
        e.Files[c] = static_cast<std::uint8_t>(own);
    }
    return e;
}

std::int32_t TChessEngine::Evaluate() const {
    // 1. The table entries of every piece, kept in TableSum.
    std::int32_t score[2] = {TableSum[White], TableSum[Black]};
    // 2. Pawn structure.
    const TPawnEntry& pawns = PawnStructure();
    for (int c = White; c <= Black; ++c) {
        score[c] += pawns.Score[c];
        // 3. Rooks on files without own pawns, more without any pawns.
        const unsigned own = pawns.Files[c], other = pawns.Files[c ^ 1];
        for (TBits b = Bits[c][Rook]; b; b &= b - 1) {
            const unsigned file = 1u << (LowSquare(b) % 8);
            if (!(own & file)) {
                score[c] += 10;
                if (!(other & file)) score[c] += 5;
            }
        }
    }
    // 4. From the side to move's point of view.
    return score[Side] - score[XSide];
}
