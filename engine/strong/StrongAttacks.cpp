#include "StrongAttacks.h"

#include <cstdlib>

namespace strong {

namespace {

constexpr int DirFile[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int DirRank[8] = {1, 1, 0, -1, -1, -1, 0, 1};

constexpr bool OnBoard(int f, int r) {
    return f >= 0 && f < 8 && r >= 0 && r < 8;
}

constexpr Bitboard Steps(int sq, const int (*steps)[2], int n) {
    Bitboard b = 0;
    for (int i = 0; i < n; ++i) {
        const int f = FileOfSq(sq) + steps[i][0], r = RankOfSq(sq) + steps[i][1];
        if (OnBoard(f, r)) b |= SqBit(r * 8 + f);
    }
    return b;
}

} // namespace

constexpr TAttackTables::TAttackTables() : Pawn{}, Knight{}, King{}, Ray{}, Between{}, Line{} {
    constexpr int knight[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2},
                                         {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
    constexpr int king[8][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1},
                                       {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
    constexpr int whitePawn[2][2] = {{-1, 1}, {1, 1}};
    constexpr int blackPawn[2][2] = {{-1, -1}, {1, -1}};
    for (int sq = 0; sq < 64; ++sq) {
        Knight[sq] = Steps(sq, knight, 8);
        King[sq] = Steps(sq, king, 8);
        Pawn[White][sq] = Steps(sq, whitePawn, 2);
        Pawn[Black][sq] = Steps(sq, blackPawn, 2);
        for (int d = 0; d < 8; ++d) {
            int f = FileOfSq(sq) + DirFile[d], r = RankOfSq(sq) + DirRank[d];
            for (; OnBoard(f, r); f += DirFile[d], r += DirRank[d])
                Ray[d][sq] |= SqBit(r * 8 + f);
        }
    }
    for (int a = 0; a < 64; ++a) {
        for (int d = 0; d < 8; ++d) {
            int f = FileOfSq(a) + DirFile[d], r = RankOfSq(a) + DirRank[d];
            Bitboard between = 0;
            for (; OnBoard(f, r); f += DirFile[d], r += DirRank[d]) {
                const int b = r * 8 + f;
                Between[a][b] = between;
                Line[a][b] = Ray[d][a] | Ray[(d + 4) % 8][a] | SqBit(a);
                between |= SqBit(b);
            }
        }
    }
}

constinit const TAttackTables Attacks{};

} // namespace strong
