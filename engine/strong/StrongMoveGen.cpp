#include "StrongMoveGen.h"

namespace strong {

namespace {

void AddPromotions(TMoveList& list, int from, int to, bool noisy) {
    if (noisy) {
        list.Add(MakeMove(from, to, KindPromotion, Queen));
    } else {
        list.Add(MakeMove(from, to, KindPromotion, Knight));
        list.Add(MakeMove(from, to, KindPromotion, Bishop));
        list.Add(MakeMove(from, to, KindPromotion, Rook));
    }
}

void PawnMoves(const TPosition& pos, TMoveList& list, bool noisy) {
    const int us = pos.Side, them = us ^ 1;
    const Bitboard pawns = pos.Pieces(us, Pawn);
    const Bitboard empty = ~pos.Occupied();
    const Bitboard enemies = pos.ByColour[them];
    const int up = us == White ? 8 : -8;
    const Bitboard lastRank = RankBB(us == White ? 7 : 0);
    const Bitboard thirdRank = RankBB(us == White ? 2 : 5);
    const Bitboard single = us == White ? (pawns << 8) & empty : (pawns >> 8) & empty;
    // Captures, with promotions by capture both noisy (to a queen) and quiet (the others).
    Bitboard b = pawns;
    while (b) {
        const int from = PopLsb(b);
        Bitboard targets = Attacks.Pawn[us][from] & enemies;
        while (targets) {
            const int to = PopLsb(targets);
            if (SqBit(to) & lastRank)
                AddPromotions(list, from, to, noisy);
            else if (noisy)
                list.Add(MakeMove(from, to));
        }
    }
    Bitboard promos = single & lastRank;
    while (promos) {
        const int to = PopLsb(promos);
        AddPromotions(list, to - up, to, noisy);
    }
    if (noisy) {
        const int ep = pos.State().EnPassant;
        if (ep >= 0) {
            Bitboard from = Attacks.Pawn[them][ep] & pawns;
            while (from)
                list.Add(MakeMove(PopLsb(from), ep, KindEnPassant));
        }
        return;
    }
    Bitboard pushes = single & ~lastRank;
    const Bitboard doubles =
        us == White ? ((single & thirdRank) << 8) & empty : ((single & thirdRank) >> 8) & empty;
    while (pushes) {
        const int to = PopLsb(pushes);
        list.Add(MakeMove(to - up, to));
    }
    Bitboard d = doubles;
    while (d) {
        const int to = PopLsb(d);
        list.Add(MakeMove(to - 2 * up, to));
    }
}

void PieceMoves(const TPosition& pos, TMoveList& list, Bitboard targets) {
    const int us = pos.Side;
    const Bitboard occ = pos.Occupied();
    for (int type = Knight; type <= King; ++type) {
        Bitboard pieces = pos.Pieces(us, type);
        while (pieces) {
            const int from = PopLsb(pieces);
            Bitboard to = PieceAttacks(type, from, occ) & targets;
            while (to)
                list.Add(MakeMove(from, PopLsb(to)));
        }
    }
}

void CastlingMoves(const TPosition& pos, TMoveList& list) {
    const int us = pos.Side, them = us ^ 1;
    const int rights = pos.State().Castling & (us == White ? 3 : 12);
    if (!rights || pos.InCheck()) return;
    const int king = us == White ? 4 : 60;
    if (pos.KingSq(us) != king) return;
    const Bitboard occ = pos.Occupied();
    const int shortRight = us == White ? WhiteShort : BlackShort;
    if ((rights & shortRight) && !(occ & (SqBit(king + 1) | SqBit(king + 2))) &&
        pos.Board[king + 3] == MakePiece(us, Rook) && !pos.Attacked(king + 1, them) &&
        !pos.Attacked(king + 2, them))
        list.Add(MakeMove(king, king + 2, KindCastle));
    const int longRight = us == White ? WhiteLong : BlackLong;
    if ((rights & longRight) && !(occ & (SqBit(king - 1) | SqBit(king - 2) | SqBit(king - 3))) &&
        pos.Board[king - 4] == MakePiece(us, Rook) && !pos.Attacked(king - 1, them) &&
        !pos.Attacked(king - 2, them))
        list.Add(MakeMove(king, king - 2, KindCastle));
}

} // namespace

void GenerateNoisy(const TPosition& pos, TMoveList& list) {
    PawnMoves(pos, list, true);
    PieceMoves(pos, list, pos.ByColour[pos.Side ^ 1]);
}

void GenerateQuiet(const TPosition& pos, TMoveList& list) {
    PawnMoves(pos, list, false);
    PieceMoves(pos, list, ~pos.Occupied());
    CastlingMoves(pos, list);
}

void GenerateAll(const TPosition& pos, TMoveList& list) {
    GenerateNoisy(pos, list);
    GenerateQuiet(pos, list);
}

void GenerateLegal(TPosition& pos, TMoveList& list) {
    TMoveList all;
    GenerateAll(pos, all);
    for (const Move m : all)
        if (pos.IsLegal(m)) list.Add(m);
}

std::uint64_t Perft(TPosition& pos, int depth) {
    TMoveList list;
    GenerateAll(pos, list);
    std::uint64_t n = 0;
    for (const Move m : list) {
        pos.DoMove(m);
        if (!pos.LeftInCheck()) n += depth <= 1 ? 1 : Perft(pos, depth - 1);
        pos.TakeBack();
    }
    return n;
}

} // namespace strong
