// Counting legal move sequences. Inner nodes play every generated move with PlayMove; the
// last ply is counted without playing: with one king not in check, a move of an unpinned
// piece other than the king is legal, so whole target sets are counted at once, and only
// king moves, en passant, castling and pinned pawns are looked at one by one. Positions the
// shortcut does not cover (several kings, none, check, pawns on the back ranks) are counted
// by playing the moves.

#include <algorithm>
#include <bit>

#include "ChessEngine.h"
#include "EngineTables.h"

using engine_tables::Bit;
using engine_tables::FirstBlocker;
using engine_tables::LowSquare;
using engine_tables::Tables;
using engine_tables::TBits;

namespace {

constexpr TBits FileA = Tables.FileBits[0];
constexpr TBits FileH = Tables.FileBits[7];

int Count(TBits b) {
    return std::popcount(b);
}

} // namespace

std::uint64_t TChessEngine::Perft(int depth) {
    if (depth <= 0) return 1;
    return PerftNode(std::min(depth, MaxPly - 1 - Ply));
}

void TChessEngine::Divide(int depth, std::vector<std::pair<TEngineMove, std::uint64_t>>& out) {
    out.clear();
    if (depth <= 0) return;
    depth = std::min(depth, MaxPly - 1 - Ply);
    GenerateMoves();
    for (int i = FirstMove[Ply]; i < MoveEnd[Ply]; ++i) {
        const TEngineMove m = MoveStack[i].Move;
        if (!PlayMove(m)) continue;
        const std::uint64_t n = depth == 1 ? 1 : PerftNode(depth - 1);
        UndoMove();
        out.emplace_back(m, n);
    }
}

std::uint64_t TChessEngine::PerftNode(int depth) {
    if (depth <= 0) return 1;
    if (depth == 1) return CountLegalMoves();
    GenerateMoves();
    std::uint64_t n = 0;
    for (int i = FirstMove[Ply]; i < MoveEnd[Ply]; ++i) {
        if (!PlayMove(MoveStack[i].Move)) continue;
        n += PerftNode(depth - 1);
        UndoMove();
    }
    return n;
}

std::uint64_t TChessEngine::CountLegalMoves() {
    if (FastCountApplies()) return FastCountLegal();
    GenerateMoves();
    std::uint64_t n = 0;
    for (int i = FirstMove[Ply]; i < MoveEnd[Ply]; ++i) {
        if (!PlayMove(MoveStack[i].Move)) continue;
        ++n;
        UndoMove();
    }
    return n;
}

bool TChessEngine::FastCountApplies() const {
    const TBits kings = Bits[Side][King];
    const TBits backRanks = Tables.RowBits[0] | Tables.RowBits[7];
    return Count(kings) == 1 && !(Bits[Side][Pawn] & backRanks) && !InCheck(Side);
}

// True when no enemy piece (less those in removedEnemy) attacks kingSq on the given
// occupancy.
bool TChessEngine::SafeAfter(int kingSq, TBits occupied, TBits removedEnemy) const {
    const TBits* b = Bits[XSide];
    const TBits keep = ~removedEnemy;
    if (Tables.PawnAttacks[Side][kingSq] & b[Pawn] & keep) return false;
    if (Tables.KnightBits[kingSq] & b[Knight] & keep) return false;
    if (Tables.KingBits[kingSq] & b[King] & keep) return false;
    const TBits diagonal = (b[Bishop] | b[Queen]) & keep;
    if (diagonal && (diagonal & engine_tables::BishopAttacks(kingSq, occupied))) return false;
    const TBits straight = (b[Rook] | b[Queen]) & keep;
    return !(straight && (straight & engine_tables::RookAttacks(kingSq, occupied)));
}

std::uint64_t TChessEngine::FastCountLegal() const {
    const TBits own = Occupied[Side], enemy = Occupied[XSide], occ = own | enemy;
    const TBits* mine = Bits[Side];
    const TBits* theirs = Bits[XSide];
    const int ksq = LowSquare(mine[King]);

    // Pinned pieces and the line each may still move along.
    TBits pinned = 0;
    TBits lineOf[64];
    for (int d = 0; d < 8; ++d) {
        const int f = FirstBlocker(d, ksq, occ);
        if (f < 0 || !(own & Bit(f))) continue;
        const int g = FirstBlocker(d, f, occ);
        if (g < 0) continue;
        const TBits sliders =
            theirs[Queen] | (engine_tables::DiagonalStep(d) ? theirs[Bishop] : theirs[Rook]);
        if (!(sliders & Bit(g))) continue;
        pinned |= Bit(f);
        lineOf[f] = Tables.RayBits[d][ksq];
    }
    auto allowed = [&](int s, TBits targets) {
        return (pinned & Bit(s)) ? targets & lineOf[s] : targets;
    };

    std::uint64_t n = 0;
    // Knights, bishops, rooks and queens.
    for (TBits b = mine[Knight] & ~pinned; b; b &= b - 1)
        n += Count(Tables.KnightBits[LowSquare(b)] & ~own);
    for (TBits b = mine[Bishop] | mine[Queen]; b; b &= b - 1) {
        const int s = LowSquare(b);
        n += Count(allowed(s, engine_tables::BishopAttacks(s, occ) & ~own));
    }
    for (TBits b = mine[Rook] | mine[Queen]; b; b &= b - 1) {
        const int s = LowSquare(b);
        n += Count(allowed(s, engine_tables::RookAttacks(s, occ) & ~own));
    }

    // The king, square by square.
    for (TBits b = Tables.KingBits[ksq] & ~own; b; b &= b - 1) {
        const int t = LowSquare(b);
        n += SafeAfter(t, occ ^ Bit(ksq), enemy & Bit(t));
    }

    // Pawns: unpinned ones by whole sets, each promotion counting four.
    const bool white = Side == White;
    const TBits lastRow = Tables.RowBits[white ? 0 : 7];
    const TBits free = mine[Pawn] & ~pinned;
    auto shift = [white](TBits b, int k) { return white ? b >> k : b << k; };
    auto counted = [&](TBits targets) {
        return Count(targets & ~lastRow) + 4 * Count(targets & lastRow);
    };
    const TBits push1 = shift(free, 8) & ~occ;
    const TBits push2 = shift(push1 & Tables.RowBits[white ? 5 : 2], 8) & ~occ;
    const TBits capWest = shift(free & ~FileA, white ? 9 : 7) & enemy;
    const TBits capEast = shift(free & ~FileH, white ? 7 : 9) & enemy;
    n += counted(push1) + Count(push2) + counted(capWest) + counted(capEast);
    for (TBits b = mine[Pawn] & pinned; b; b &= b - 1) {
        const int s = LowSquare(b);
        const TBits one = shift(Bit(s), 8) & ~occ;
        TBits targets = one | (Tables.PawnAttacks[Side][s] & enemy);
        if (Tables.RowBits[white ? 6 : 1] & Bit(s)) targets |= shift(one, 8) & ~occ;
        n += counted(targets & lineOf[s]);
    }

    // En passant: the captured pawn leaves the board too, which may open a line.
    if (EnPassantSq >= 0) {
        const int e = EnPassantSq;
        const int captured = white ? e + 8 : e - 8;
        for (TBits b = Tables.PawnAttacks[XSide][e] & mine[Pawn]; b; b &= b - 1) {
            const int from = LowSquare(b);
            const TBits after = (occ ^ Bit(from) ^ Bit(captured)) | Bit(e);
            n += SafeAfter(ksq, after, Bit(captured));
        }
    }

    // Castling: over empty, unattacked squares, and the king safe where it lands.
    for (const engine_tables::TCastling& c :
         {engine_tables::Castlings[2 * Side], engine_tables::Castlings[2 * Side + 1]}) {
        if (!(CastleRights & c.Right) || (occ & c.Between)) continue;
        if (Attacked(c.Crossed, XSide) || Attacked(c.Landing, XSide)) continue;
        const TBits after = (occ ^ Bit(ksq) ^ Bit(c.RookFrom)) | Bit(c.KingTo) | Bit(c.RookTo);
        n += SafeAfter(c.KingTo, after, 0);
    }
    return n;
}
