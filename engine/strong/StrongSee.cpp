#include "StrongSee.h"

#include <algorithm>

#include "StrongTables.h"

namespace strong {

int See(const TPosition& pos, Move m) {
    const int from = FromSq(m), to = ToSq(m), kind = KindOf(m);
    if (kind == KindCastle) return 0;
    int gain[32];
    int depth = 0;
    Bitboard occ = pos.Occupied();
    int victim = kind == KindEnPassant ? Pawn : TypeOf(pos.Board[to]);
    if (kind == KindEnPassant) occ ^= SqBit(to + (pos.Side == White ? -8 : 8));
    gain[0] = pos.Board[to] == NoPiece && kind != KindEnPassant ? 0 : SeeValue[victim];
    int onSquare = TypeOf(pos.Board[from]);
    if (kind == KindPromotion) {
        gain[0] += SeeValue[PromoType(m)] - SeeValue[Pawn];
        onSquare = PromoType(m);
    }
    occ ^= SqBit(from);
    int side = pos.Side ^ 1;
    const Bitboard diagonal = pos.ByType[Bishop] | pos.ByType[Queen];
    const Bitboard straight = pos.ByType[Rook] | pos.ByType[Queen];
    Bitboard attackers = pos.AttackersTo(to, occ) & occ;
    while (true) {
        const Bitboard mine = attackers & pos.ByColour[side];
        if (!mine) break;
        int type = Pawn;
        Bitboard pick = 0;
        for (; type <= King; ++type)
            if ((pick = mine & pos.ByType[type])) break;
        // The king may only take last, when nothing defends.
        if (type == King && (attackers & pos.ByColour[side ^ 1])) break;
        ++depth;
        gain[depth] = SeeValue[onSquare] - gain[depth - 1];
        if (std::max(-gain[depth - 1], gain[depth]) < 0 || depth >= 30) break;
        onSquare = type;
        occ ^= SqBit(Lsb(pick));
        // Sliders behind the one that took join in.
        if (type == Pawn || type == Bishop || type == Queen) attackers |= BishopAttacks(to, occ) & diagonal;
        if (type == Rook || type == Queen) attackers |= RookAttacks(to, occ) & straight;
        attackers &= occ;
        side ^= 1;
    }
    while (--depth > 0)
        gain[depth - 1] = -std::max(-gain[depth - 1], gain[depth]);
    return gain[0];
}

} // namespace strong
