// Judging a move's legality before playing it. With one king the checkers and the pinned
// pieces of the position tell whether a move leaves the king attacked: a king move by the
// attacks on its target square with the king gone from its own, any other move by where it
// goes. Castling, en passant (which takes a second piece away), moves onto an own piece and
// boards with several kings or none are played and tested instead.

#include "ChessEngine.h"
#include "EngineTables.h"

using engine_tables::Bit;
using engine_tables::FirstBlocker;
using engine_tables::LowSquare;
using engine_tables::Tables;
using engine_tables::TBits;

const TKingSafety& TChessEngine::Checks() {
    TKingSafety& k = Safety[Ply];
    if (k.Known) return k;
    k.Known = true;
    const TBits kings = Bits[Side][King];
    k.OneKing = kings != 0 && (kings & (kings - 1)) == 0;
    k.Pinned = 0;
    if (!k.OneKing) {
        k.Check = InCheck(Side);
        return k;
    }
    const int s = LowSquare(kings);
    const TBits* b = Bits[XSide];
    k.King = s;
    k.Checkers = (Tables.PawnAttacks[Side][s] & b[Pawn]) | (Tables.KnightBits[s] & b[Knight]) |
                 (Tables.KingBits[s] & b[King]);
    // Along each line that holds an enemy slider able to use it: the first piece gives check
    // when it is that slider, and is pinned when it is ours with that slider next.
    const TBits diagonal = b[Bishop] | b[Queen], straight = b[Rook] | b[Queen];
    if (Tables.QueenBits[s] & (diagonal | straight)) {
        const TBits occupied = Occupied[0] | Occupied[1];
        for (int d = 0; d < 8; ++d) {
            const TBits sliders = engine_tables::DiagonalStep(d) ? diagonal : straight;
            if (!(Tables.RayBits[d][s] & sliders)) continue;
            const int f = FirstBlocker(d, s, occupied);
            if (sliders & Bit(f)) {
                k.Checkers |= Bit(f);
            } else if (Occupied[Side] & Bit(f)) {
                const int g = FirstBlocker(d, f, occupied);
                if (g >= 0 && (sliders & Bit(g))) k.Pinned |= Bit(f);
            }
        }
    }
    k.Check = k.Checkers != 0;
    if (!k.Check) {
        k.Evasions = ~TBits{0};
    } else if (k.Checkers & (k.Checkers - 1)) {
        k.Evasions = 0;
    } else {
        const int c = LowSquare(k.Checkers);
        const int d = Tables.StepBetween[s][c];
        k.Evasions = d < 0 ? k.Checkers : Tables.RayBits[d][s] & ~Tables.RayBits[d][c];
    }
    return k;
}

TChessEngine::TVerdict TChessEngine::Judge(TEngineMove m) {
    if ((m.Flags & (mfCastle | mfEnPassant)) || Colour[m.To] == Side) return TVerdict::PlayToSee;
    const TKingSafety& k = Checks();
    if (!k.OneKing) return TVerdict::PlayToSee;
    const TBits to = Bit(m.To);
    bool safe;
    if (m.From == k.King) {
        const TBits occupied = Occupied[0] | Occupied[1];
        safe = SafeAfter(m.To, occupied ^ Bit(m.From), Occupied[XSide] & to);
    } else if (k.Pinned & Bit(m.From)) {
        // A pinned piece never answers a check; otherwise it keeps to its line.
        const int d = Tables.StepBetween[k.King][m.From];
        safe = !k.Check && (Tables.RayBits[d][k.King] & to);
    } else {
        safe = (k.Evasions & to) != 0;
    }
    return safe ? TVerdict::Legal : TVerdict::Illegal;
}
