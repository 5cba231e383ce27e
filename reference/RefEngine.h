#pragma once
// RefEngine: a plain square-by-square transcription of the engine's algorithms (mailbox
// stepping, attack test by scanning the attacker's pieces, two-pass evaluation) that the
// optimised engine must match move for move, score for score and node for node. The engine
// tests compare the two; the benchmark times the engine against it.

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "ChessEngine.h"

namespace enginetest {

struct RefEngine {
    static constexpr int Empty = 6;
    int Colour[64], Piece[64], Side = 0, XSide = 1, CastleRights = 0, EnPassantSq = -1, Ply = 0;
    TGenMove MoveStack[4096];
    int FirstMove[65] = {}, MoveEnd[64] = {};
    int History[64][64] = {};
    struct Undo {
        TEngineMove Move;
        int Captured, Rights, Ep;
    } UndoStack[64];
    TEngineMove PV[64][64] = {};
    int PVLength[64] = {};
    bool FollowPV = false;
    std::int64_t Nodes = 0;
    std::vector<std::pair<int, std::int64_t>> Iterations; // (score, nodes) per depth

    int Mailbox[120], Mailbox64[64];
    const bool Slides[6] = {false, false, true, true, true, false};
    const int DirectionCount[6] = {0, 8, 4, 4, 8, 8};
    const int Offsets[6][8] = {{0},
                               {-21, -19, -12, -8, 8, 12, 19, 21},
                               {-11, -9, 9, 11},
                               {-10, -1, 1, 10},
                               {-11, -10, -9, -1, 1, 9, 10, 11},
                               {-11, -10, -9, -1, 1, 9, 10, 11}};
    int CastleMask[64];
    // The printed tables are checked on their own; the reference borrows them.
    const TChessEngine& T;
    int PieceSquare[2][6][64] = {};

    explicit RefEngine(const TChessEngine& tables) : T(tables) {
        for (int i = 0; i < 120; ++i)
            Mailbox[i] = -1;
        for (int s = 0; s < 64; ++s) {
            Mailbox64[s] = 21 + 10 * (s / 8) + s % 8;
            Mailbox[Mailbox64[s]] = s;
            CastleMask[s] = 15;
        }
        CastleMask[0] = 7, CastleMask[4] = 3, CastleMask[7] = 11;
        CastleMask[56] = 13, CastleMask[60] = 12, CastleMask[63] = 14;
    }

    void Load(const TEngineInput& in) {
        for (int s = 0; s < 64; ++s) {
            const char c = in.Board[s];
            Colour[s] = (c >= 'B' && c <= 'R') ? 0 : (c >= 'b' && c <= 'r') ? 1 : Empty;
            const char* p = std::strchr("pnbrqk", c | 0x20);
            Piece[s] = (p && c != 0 && c != ' ') ? int(p - "pnbrqk") : Empty;
            if (Piece[s] == Empty) Colour[s] = Empty;
        }
        Side = in.WhiteToMove ? 0 : 1;
        XSide = Side ^ 1;
        CastleRights = in.CastlingAllowed & 15;
        auto at = [&](int s, int c, int p) { return Colour[s] == c && Piece[s] == p; };
        if (!at(60, 0, 5) || !at(63, 0, 3)) CastleRights &= ~1;
        if (!at(60, 0, 5) || !at(56, 0, 3)) CastleRights &= ~2;
        if (!at(4, 1, 5) || !at(7, 1, 3)) CastleRights &= ~4;
        if (!at(4, 1, 5) || !at(0, 1, 3)) CastleRights &= ~8;
        EnPassantSq = (in.EnPassant >= 1 && in.EnPassant <= 64) ? in.EnPassant - 1 : -1;
        if (EnPassantSq >= 0) {
            const int e = EnPassantSq, behind = Side == 0 ? e + 8 : e - 8;
            if (e / 8 != (Side == 0 ? 2 : 5) || Colour[e] != Empty || !at(behind, XSide, 0))
                EnPassantSq = -1;
        }
        Ply = 0;
        FirstMove[0] = 0;
    }

    void AddPromotions(int from, int to, int flags) {
        for (int p = 1; p <= 4; ++p) {
            if (MoveEnd[Ply] >= 4096) return;
            MoveStack[MoveEnd[Ply]++] = {TEngineMove{std::uint8_t(from), std::uint8_t(to),
                                                     std::uint8_t(p), std::uint8_t(flags | 32)},
                                         1000000 + 10 * p};
        }
    }
    void AddMove(int from, int to, int flags) {
        if ((flags & 16) && (Side == 0 ? to <= 7 : to >= 56)) return AddPromotions(from, to, flags);
        if (MoveEnd[Ply] >= 4096) return;
        const int score = (flags & 1) ? 1000000 + 10 * Piece[to] - Piece[from] : History[from][to];
        MoveStack[MoveEnd[Ply]++] = {
            TEngineMove{std::uint8_t(from), std::uint8_t(to), 0, std::uint8_t(flags)}, score};
    }

    void Generate(bool caps) {
        MoveEnd[Ply] = FirstMove[Ply];
        for (int s = 0; s < 64; ++s) {
            if (Colour[s] != Side) continue;
            const int p = Piece[s];
            if (p == 0) {
                if (Side == 0 && s >= 8) {
                    if (s % 8 != 0 && Colour[s - 9] == 1) AddMove(s, s - 9, 17);
                    if (s % 8 != 7 && Colour[s - 7] == 1) AddMove(s, s - 7, 17);
                    if (Colour[s - 8] == Empty) {
                        if (!caps || s <= 15) AddMove(s, s - 8, 16);
                        if (!caps && s >= 48 && Colour[s - 16] == Empty) AddMove(s, s - 16, 24);
                    }
                } else if (Side == 1 && s <= 55) {
                    if (s % 8 != 0 && Colour[s + 7] == 0) AddMove(s, s + 7, 17);
                    if (s % 8 != 7 && Colour[s + 9] == 0) AddMove(s, s + 9, 17);
                    if (Colour[s + 8] == Empty) {
                        if (!caps || s >= 48) AddMove(s, s + 8, 16);
                        if (!caps && s <= 15 && Colour[s + 16] == Empty) AddMove(s, s + 16, 24);
                    }
                }
                continue;
            }
            for (int d = 0; d < DirectionCount[p]; ++d) {
                for (int n = s;;) {
                    n = Mailbox[Mailbox64[n] + Offsets[p][d]];
                    if (n == -1) break;
                    if (Colour[n] != Empty) {
                        if (Colour[n] == XSide) AddMove(s, n, 1);
                        break;
                    }
                    if (!caps) AddMove(s, n, 0);
                    if (!Slides[p]) break;
                }
            }
        }
        if (!caps) {
            if (Side == 0) {
                if (CastleRights & 1) AddMove(60, 62, 2);
                if (CastleRights & 2) AddMove(60, 58, 2);
            } else {
                if (CastleRights & 4) AddMove(4, 6, 2);
                if (CastleRights & 8) AddMove(4, 2, 2);
            }
        }
        const int e = EnPassantSq;
        auto pawn = [&](int s, int c) {
            return s >= 0 && s < 64 && Colour[s] == c && Piece[s] == 0;
        };
        if (e != -1) {
            if (Side == 0) {
                if (e % 8 != 0 && pawn(e + 7, 0)) AddMove(e + 7, e, 21);
                if (e % 8 != 7 && pawn(e + 9, 0)) AddMove(e + 9, e, 21);
            } else {
                if (e % 8 != 0 && pawn(e - 9, 1)) AddMove(e - 9, e, 21);
                if (e % 8 != 7 && pawn(e - 7, 1)) AddMove(e - 7, e, 21);
            }
        }
        FirstMove[Ply + 1] = MoveEnd[Ply];
    }

    bool Attacked(int sq, int side) const {
        for (int s = 0; s < 64; ++s) {
            if (Colour[s] != side) continue;
            const int p = Piece[s];
            if (p == 0) {
                if (side == 0 && ((s % 8 != 0 && s - 9 == sq) || (s % 8 != 7 && s - 7 == sq)))
                    return true;
                if (side == 1 && ((s % 8 != 0 && s + 7 == sq) || (s % 8 != 7 && s + 9 == sq)))
                    return true;
                continue;
            }
            for (int d = 0; d < DirectionCount[p]; ++d) {
                for (int n = s;;) {
                    n = Mailbox[Mailbox64[n] + Offsets[p][d]];
                    if (n == -1) break;
                    if (n == sq) return true;
                    if (Colour[n] != Empty || !Slides[p]) break;
                }
            }
        }
        return false;
    }
    bool InCheck(int side) const {
        for (int s = 0; s < 64; ++s)
            if (Colour[s] == side && Piece[s] == 5) return Attacked(s, side ^ 1);
        return false;
    }

    void SetEmpty(int s) { Colour[s] = Empty, Piece[s] = Empty; }
    void Set(int s, int c, int p) { Colour[s] = c, Piece[s] = p; }

    bool PlayMove(TEngineMove m) {
        if (Ply >= 64 || Colour[m.From] != Side) return false;
        if (m.Flags & 2) {
            if (InCheck(Side)) return false;
            auto e = [&](int s) { return Colour[s] == Empty; };
            auto a = [&](int s) { return Attacked(s, XSide); };
            if (m.To == 62) {
                if (!e(61) || !e(62) || a(61) || a(62)) return false;
                Set(61, 0, 3), SetEmpty(63);
            } else if (m.To == 58) {
                if (!e(57) || !e(58) || !e(59) || a(58) || a(59)) return false;
                Set(59, 0, 3), SetEmpty(56);
            } else if (m.To == 6) {
                if (!e(5) || !e(6) || a(5) || a(6)) return false;
                Set(5, 1, 3), SetEmpty(7);
            } else {
                if (!e(1) || !e(2) || !e(3) || a(2) || a(3)) return false;
                Set(3, 1, 3), SetEmpty(0);
            }
        }
        UndoStack[Ply] = {m, Piece[m.To], CastleRights, EnPassantSq};
        ++Ply;
        CastleRights &= CastleMask[m.From] & CastleMask[m.To];
        EnPassantSq = (m.Flags & 8) ? (Side == 0 ? m.To + 8 : m.To - 8) : -1;
        Set(m.To, Side, (m.Flags & 32) ? m.Promote : Piece[m.From]);
        SetEmpty(m.From);
        if (m.Flags & 4) SetEmpty(Side == 0 ? m.To + 8 : m.To - 8);
        std::swap(Side, XSide);
        if (InCheck(XSide)) {
            UndoMove();
            return false;
        }
        return true;
    }
    void UndoMove() {
        std::swap(Side, XSide);
        --Ply;
        const Undo u = UndoStack[Ply];
        const TEngineMove m = u.Move;
        CastleRights = u.Rights, EnPassantSq = u.Ep;
        Set(m.From, Side, (m.Flags & 32) ? 0 : Piece[m.To]);
        if (u.Captured == Empty)
            SetEmpty(m.To);
        else
            Set(m.To, XSide, u.Captured);
        if (m.Flags & 2) {
            if (m.To == 62) Set(63, Side, 3), SetEmpty(61);
            if (m.To == 58) Set(56, Side, 3), SetEmpty(59);
            if (m.To == 6) Set(7, Side, 3), SetEmpty(5);
            if (m.To == 2) Set(0, Side, 3), SetEmpty(3);
        }
        if (m.Flags & 4) Set(Side == 0 ? m.To + 8 : m.To - 8, XSide, 0);
    }

    std::uint64_t Perft(int depth) {
        if (depth == 0) return 1;
        Generate(false);
        std::uint64_t n = 0;
        for (int i = FirstMove[Ply]; i < MoveEnd[Ply]; ++i) {
            if (!PlayMove(MoveStack[i].Move)) continue;
            n += Perft(depth - 1);
            UndoMove();
        }
        return n;
    }

    void BuildPieceSquareTables() {
        std::memset(PieceSquare, 0, sizeof PieceSquare);
        for (int s = 0; s < 64; ++s) {
            const int f = s ^ 56;
            const int idx[2] = {s, f};
            for (int c = 0; c < 2; ++c) {
                PieceSquare[c][0][s] = T.PawnTable[idx[c]] + 100;
                PieceSquare[c][1][s] = T.MinorTable[idx[c]] + 300;
                PieceSquare[c][2][s] = T.MinorTable[idx[c]] + 300;
                PieceSquare[c][3][s] = 500;
                PieceSquare[c][4][s] = 900;
            }
        }
        for (int c = 0; c < 2; ++c) {
            int sum = 0, king = -1;
            for (int s = 0; s < 64; ++s) {
                if (Colour[s] == (c ^ 1) && Piece[s] >= 1 && Piece[s] <= 4)
                    sum += T.PieceValue[Piece[s]];
                if (Colour[s] == c && Piece[s] == 5) king = s;
            }
            for (int s = 0; s < 64; ++s) {
                const int t = c == 0 ? s : s ^ 56;
                if (sum > 1400) {
                    PieceSquare[c][5][s] = T.KingMiddleTable[t];
                    if (king >= 0 && king % 8 >= 5) PieceSquare[c][0][s] += T.KingsideShelter[t];
                    if (king >= 0 && king % 8 <= 2) PieceSquare[c][0][s] += T.QueensideShelter[t];
                } else {
                    PieceSquare[c][5][s] = T.KingEndTable[t];
                }
            }
        }
    }

    int Evaluate() const {
        int score[2] = {0, 0}, pawns[2][10] = {};
        for (int s = 0; s < 64; ++s) {
            if (Colour[s] == Empty) continue;
            if (Piece[s] == 0) ++pawns[Colour[s]][s % 8 + 1];
            score[Colour[s]] += PieceSquare[Colour[s]][Piece[s]][s];
        }
        for (int s = 0; s < 64; ++s) {
            if (Colour[s] == Empty) continue;
            const int c = Colour[s], o = c ^ 1, k = s % 8 + 1;
            if (Piece[s] == 0) {
                if (pawns[c][k] > 1) score[c] -= 5;
                if (pawns[c][k - 1] == 0 && pawns[c][k + 1] == 0) {
                    score[c] -= 20;
                    if (pawns[o][k] == 0) score[c] -= 10;
                }
                if (pawns[o][k - 1] == 0 && pawns[o][k] == 0 && pawns[o][k + 1] == 0)
                    score[c] += 2 * PieceSquare[c][0][s];
            } else if (Piece[s] == 3 && pawns[c][k] == 0) {
                score[c] += 10;
                if (pawns[o][k] == 0) score[c] += 5;
            }
        }
        return score[Side] - score[XSide];
    }

    void PickMove(int start) {
        int best = start;
        for (int i = start + 1; i < MoveEnd[Ply]; ++i)
            if (MoveStack[i].Score > MoveStack[best].Score) best = i;
        std::swap(MoveStack[start], MoveStack[best]);
    }
    void MarkPVMove() {
        FollowPV = false;
        for (int i = FirstMove[Ply]; i < MoveEnd[Ply]; ++i) {
            if (MoveStack[i].Move.From == PV[0][Ply].From &&
                MoveStack[i].Move.To == PV[0][Ply].To) {
                FollowPV = true;
                MoveStack[i].Score += 10000000;
                return;
            }
        }
    }
    void Line(TEngineMove m) {
        PV[Ply][Ply] = m;
        for (int j = Ply + 1; j < PVLength[Ply + 1]; ++j)
            PV[Ply][j] = PV[Ply + 1][j];
        PVLength[Ply] = PVLength[Ply + 1];
    }
    bool AtLimit() const { return Ply >= 63 || FirstMove[Ply] > 4096 - 256; }

    int Search(int alpha, int beta, int depth) {
        if (depth == 0) return Quiesce(alpha, beta);
        if (AtLimit()) return PVLength[Ply] = Ply, Evaluate();
        PVLength[Ply] = Ply;
        const bool check = InCheck(Side);
        if (check) ++depth;
        Generate(false);
        if (FollowPV) MarkPVMove();
        bool legal = false;
        const int end = MoveEnd[Ply];
        for (int i = FirstMove[Ply]; i < end; ++i) {
            PickMove(i);
            const TEngineMove m = MoveStack[i].Move;
            if (!PlayMove(m)) continue;
            legal = true;
            ++Nodes;
            const int x = -Search(-beta, -alpha, depth - 1);
            UndoMove();
            if (x > alpha) {
                History[m.From][m.To] += depth;
                if (x >= beta) return beta;
                alpha = x;
                Line(m);
            }
        }
        if (!legal) return check ? Ply - 10000 : 0;
        return alpha;
    }
    int Quiesce(int alpha, int beta) {
        if (AtLimit()) return PVLength[Ply] = Ply, Evaluate();
        PVLength[Ply] = Ply;
        const bool check = InCheck(Side);
        if (check) {
            Generate(false);
        } else {
            const int x = Evaluate();
            if (x >= beta) return beta;
            if (x > alpha) alpha = x;
            Generate(true);
        }
        if (FollowPV) MarkPVMove();
        bool legal = false;
        const int end = MoveEnd[Ply];
        for (int i = FirstMove[Ply]; i < end; ++i) {
            PickMove(i);
            const TEngineMove m = MoveStack[i].Move;
            if (!PlayMove(m)) continue;
            legal = true;
            ++Nodes;
            const int x = -Quiesce(-beta, -alpha);
            UndoMove();
            if (x > alpha) {
                if (x >= beta) return beta;
                alpha = x;
                Line(m);
            }
        }
        if (check && !legal) return Ply - 10000;
        return alpha;
    }
    void Think(const TEngineInput& in) {
        Load(in);
        BuildPieceSquareTables();
        std::memset(History, 0, sizeof History);
        Iterations.clear();
        const int depth = in.SearchDepth < 1 ? 1 : in.SearchDepth > 8 ? 8 : in.SearchDepth;
        for (int d = 1; d <= depth; ++d) {
            Nodes = 0;
            FollowPV = true;
            Iterations.emplace_back(Search(-10000, 10000, d), Nodes);
        }
    }
};

} // namespace enginetest
