#include "StrongPosition.h"

#include <cassert>
#include <sstream>

#include "StrongMoveGen.h"
#include "StrongTables.h"

namespace strong {

namespace {

constexpr std::string_view PieceLetters = "PNBRQKpnbrqk";
constexpr std::string_view StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The rights that survive a move from or to a square.
constexpr int RightsKept(int sq) {
    switch (sq) {
    case 0: return 15 & ~WhiteLong;
    case 4: return 15 & ~(WhiteShort | WhiteLong);
    case 7: return 15 & ~WhiteShort;
    case 56: return 15 & ~BlackLong;
    case 60: return 15 & ~(BlackShort | BlackLong);
    case 63: return 15 & ~BlackShort;
    default: return 15;
    }
}

} // namespace

TPosition::TPosition() {
    SetStart();
}

void TPosition::Clear() {
    for (int& p : Board)
        p = NoPiece;
    for (Bitboard& b : ByType)
        b = 0;
    ByColour[White] = ByColour[Black] = 0;
    Side = White;
    PsqMg[0] = PsqMg[1] = PsqEg[0] = PsqEg[1] = Phase = 0;
    States.clear();
    States.reserve(1024);
    States.emplace_back();
}

void TPosition::SetStart() {
    SetFen(StartFen);
}

void TPosition::Put(int sq, int piece) {
    Board[sq] = piece;
    ByType[TypeOf(piece)] |= SqBit(sq);
    ByColour[ColourOf(piece)] |= SqBit(sq);
    for (int set = 0; set < 2; ++set) {
        PsqMg[set] += PieceSquare.Mg[set][piece][sq];
        PsqEg[set] += PieceSquare.Eg[set][piece][sq];
    }
    Phase += PhaseWeight[TypeOf(piece)];
}

void TPosition::Remove(int sq) {
    const int piece = Board[sq];
    Board[sq] = NoPiece;
    ByType[TypeOf(piece)] &= ~SqBit(sq);
    ByColour[ColourOf(piece)] &= ~SqBit(sq);
    for (int set = 0; set < 2; ++set) {
        PsqMg[set] -= PieceSquare.Mg[set][piece][sq];
        PsqEg[set] -= PieceSquare.Eg[set][piece][sq];
    }
    Phase -= PhaseWeight[TypeOf(piece)];
}

void TPosition::Shift(int from, int to) {
    const int piece = Board[from];
    const Bitboard both = SqBit(from) | SqBit(to);
    Board[from] = NoPiece;
    Board[to] = piece;
    ByType[TypeOf(piece)] ^= both;
    ByColour[ColourOf(piece)] ^= both;
    for (int set = 0; set < 2; ++set) {
        PsqMg[set] += PieceSquare.Mg[set][piece][to] - PieceSquare.Mg[set][piece][from];
        PsqEg[set] += PieceSquare.Eg[set][piece][to] - PieceSquare.Eg[set][piece][from];
    }
}

bool TPosition::SetFen(std::string_view fen) {
    Clear();
    std::istringstream in{std::string(fen)};
    std::string board, side, castling, ep;
    int rule50 = 0;
    in >> board >> side >> castling >> ep;
    if (!(in >> rule50) || rule50 < 0 || rule50 > 1000) rule50 = 0;
    int rank = 7, file = 0;
    bool ok = !board.empty();
    for (const char c : board) {
        if (c == '/') {
            ok = ok && file == 8 && rank > 0;
            --rank;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            ok = ok && file <= 8;
        } else if (const auto p = PieceLetters.find(c); p != std::string_view::npos && file < 8 &&
                                                         rank >= 0) {
            Put(rank * 8 + file++, static_cast<int>(p));
        } else {
            ok = false;
        }
        if (!ok) break;
    }
    ok = ok && rank == 0 && file == 8 && (side == "w" || side == "b");
    ok = ok && Count(Pieces(White, King)) == 1 && Count(Pieces(Black, King)) == 1;
    ok = ok && !(ByType[Pawn] & (RankBB(0) | RankBB(7)));
    if (!ok) return SetStart(), false;
    Side = side == "w" ? White : Black;
    TState& st = States.back();
    for (const char c : castling) {
        const int right = c == 'K' ? WhiteShort : c == 'Q' ? WhiteLong : c == 'k' ? BlackShort
                        : c == 'q'   ? BlackLong : 0;
        const int king = right <= WhiteLong ? 4 : 60;
        const int rook = right & (WhiteShort | BlackShort) ? king + 3 : king - 4;
        const int colour = right <= WhiteLong ? White : Black;
        if (right && Board[king] == MakePiece(colour, King) &&
            Board[rook] == MakePiece(colour, Rook))
            st.Castling |= right;
    }
    if (ep.size() == 2 && ep[0] >= 'a' && ep[0] <= 'h' && (ep[1] == '3' || ep[1] == '6')) {
        const int sq = (ep[1] - '1') * 8 + (ep[0] - 'a');
        // Kept only when a pawn of the side to move could take there.
        if ((Side == White) == (ep[1] == '6') &&
            (Attacks.Pawn[Side ^ 1][sq] & Pieces(Side, Pawn)))
            st.EnPassant = sq;
    }
    st.Rule50 = rule50;
    if (Attacked(KingSq(Side ^ 1), Side)) return SetStart(), false;
    Key k = Side == Black ? Zobrist.Side : 0;
    for (int sq = 0; sq < 64; ++sq)
        if (Board[sq] != NoPiece) k ^= Zobrist.Piece[Board[sq]][sq];
    k ^= Zobrist.Castling[st.Castling];
    if (st.EnPassant >= 0) k ^= Zobrist.EnPassantFile[FileOfSq(st.EnPassant)];
    st.Hash = k;
    return true;
}

std::string TPosition::Fen() const {
    std::string out;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            const int p = Board[rank * 8 + file];
            if (p == NoPiece) {
                ++empty;
                continue;
            }
            if (empty) out += static_cast<char>('0' + empty);
            empty = 0;
            out += PieceLetters[p];
        }
        if (empty) out += static_cast<char>('0' + empty);
        if (rank) out += '/';
    }
    out += Side == White ? " w " : " b ";
    const int c = State().Castling;
    if (c & WhiteShort) out += 'K';
    if (c & WhiteLong) out += 'Q';
    if (c & BlackShort) out += 'k';
    if (c & BlackLong) out += 'q';
    if (!c) out += '-';
    out += ' ';
    out += State().EnPassant >= 0 ? SquareName(State().EnPassant) : "-";
    out += ' ' + std::to_string(State().Rule50) + " 1";
    return out;
}

std::string TPosition::SquareName(int sq) {
    return {static_cast<char>('a' + FileOfSq(sq)), static_cast<char>('1' + RankOfSq(sq))};
}

void TPosition::DoMove(Move m) {
    const TState& prev = States.back();
    TState st;
    st.Castling = prev.Castling;
    st.Rule50 = prev.Rule50 + 1;
    st.Played = m;
    Key k = prev.Hash ^ Zobrist.Side ^ Zobrist.Castling[prev.Castling];
    if (prev.EnPassant >= 0) k ^= Zobrist.EnPassantFile[FileOfSq(prev.EnPassant)];
    const int from = FromSq(m), to = ToSq(m), kind = KindOf(m);
    const int piece = Board[from];
    st.MovedPiece = piece;
    const int us = Side;
    if (kind == KindCastle) {
        const int rookFrom = to > from ? from + 3 : from - 4, rookTo = to > from ? from + 1 : from - 1;
        const int rook = Board[rookFrom];
        Shift(rookFrom, rookTo);
        k ^= Zobrist.Piece[rook][rookFrom] ^ Zobrist.Piece[rook][rookTo];
    } else if (kind == KindEnPassant) {
        const int victim = to + (us == White ? -8 : 8);
        st.Captured = Board[victim];
        k ^= Zobrist.Piece[st.Captured][victim];
        Remove(victim);
        st.Rule50 = 0;
    } else if (Board[to] != NoPiece) {
        st.Captured = Board[to];
        k ^= Zobrist.Piece[st.Captured][to];
        Remove(to);
        st.Rule50 = 0;
    }
    Shift(from, to);
    k ^= Zobrist.Piece[piece][from] ^ Zobrist.Piece[piece][to];
    if (TypeOf(piece) == Pawn) {
        st.Rule50 = 0;
        if (kind == KindPromotion) {
            const int promoted = MakePiece(us, PromoType(m));
            Remove(to);
            Put(to, promoted);
            k ^= Zobrist.Piece[piece][to] ^ Zobrist.Piece[promoted][to];
        } else if ((to ^ from) == 16) {
            const int passed = (to + from) / 2;
            if (Attacks.Pawn[us][passed] & Pieces(us ^ 1, Pawn)) {
                st.EnPassant = passed;
                k ^= Zobrist.EnPassantFile[FileOfSq(passed)];
            }
        }
    }
    st.Castling &= RightsKept(from) & RightsKept(to);
    k ^= Zobrist.Castling[st.Castling];
    st.Hash = k;
    States.push_back(st);
    Side ^= 1;
    assert(Consistent());
}

void TPosition::TakeBack() {
    const TState st = States.back();
    States.pop_back();
    Side ^= 1;
    const Move m = st.Played;
    const int from = FromSq(m), to = ToSq(m), kind = KindOf(m);
    if (kind == KindPromotion) {
        Remove(to);
        Put(to, MakePiece(Side, Pawn));
    }
    Shift(to, from);
    if (kind == KindCastle) {
        const int rookFrom = to > from ? from + 3 : from - 4, rookTo = to > from ? from + 1 : from - 1;
        Shift(rookTo, rookFrom);
    } else if (kind == KindEnPassant) {
        Put(to + (Side == White ? -8 : 8), st.Captured);
    } else if (st.Captured != NoPiece) {
        Put(to, st.Captured);
    }
    assert(Consistent());
}

void TPosition::DoNull() {
    const TState& prev = States.back();
    TState st;
    st.Castling = prev.Castling;
    st.Rule50 = prev.Rule50 + 1;
    st.Hash = prev.Hash ^ Zobrist.Side;
    if (prev.EnPassant >= 0) st.Hash ^= Zobrist.EnPassantFile[FileOfSq(prev.EnPassant)];
    States.push_back(st);
    Side ^= 1;
}

void TPosition::TakeBackNull() {
    States.pop_back();
    Side ^= 1;
}

Bitboard TPosition::AttackersTo(int sq, Bitboard occ) const {
    return (Attacks.Pawn[Black][sq] & Pieces(White, Pawn)) |
           (Attacks.Pawn[White][sq] & Pieces(Black, Pawn)) |
           (Attacks.Knight[sq] & ByType[Knight]) | (Attacks.King[sq] & ByType[King]) |
           (BishopAttacks(sq, occ) & (ByType[Bishop] | ByType[Queen])) |
           (RookAttacks(sq, occ) & (ByType[Rook] | ByType[Queen]));
}

bool TPosition::Attacked(int sq, int by) const {
    const Bitboard them = ByColour[by];
    if (Attacks.Pawn[by ^ 1][sq] & ByType[Pawn] & them) return true;
    if (Attacks.Knight[sq] & ByType[Knight] & them) return true;
    if (Attacks.King[sq] & ByType[King] & them) return true;
    const Bitboard occ = Occupied();
    const Bitboard diagonal = (ByType[Bishop] | ByType[Queen]) & them;
    if (diagonal && (BishopAttacks(sq, occ) & diagonal)) return true;
    const Bitboard straight = (ByType[Rook] | ByType[Queen]) & them;
    return straight && (RookAttacks(sq, occ) & straight);
}

bool TPosition::IsLegal(Move m) {
    DoMove(m);
    const bool legal = !LeftInCheck();
    TakeBack();
    return legal;
}

bool TPosition::GivesCheck(Move m) const {
    const int from = FromSq(m), to = ToSq(m);
    const int them = Side ^ 1;
    const int king = KingSq(them);
    const Bitboard occ = (Occupied() ^ SqBit(from)) | SqBit(to);
    const int type = KindOf(m) == KindPromotion ? PromoType(m) : TypeOf(Board[from]);
    const Bitboard direct = type == Pawn ? Attacks.Pawn[Side][to] : PieceAttacks(type, to, occ);
    if (direct & SqBit(king)) return true;
    // A discovered check: an own slider behind the moved piece on a line to the king.
    if (!(Attacks.Line[king][from] & SqBit(from)) || (Attacks.Line[king][from] & SqBit(to)))
        return false;
    const Bitboard diagonal = (Pieces(Side, Bishop) | Pieces(Side, Queen)) & ~SqBit(from);
    const Bitboard straight = (Pieces(Side, Rook) | Pieces(Side, Queen)) & ~SqBit(from);
    return (BishopAttacks(king, occ) & diagonal) || (RookAttacks(king, occ) & straight);
}

bool TPosition::IsRepetition() const {
    const int n = static_cast<int>(States.size()) - 1;
    const int back = std::min(State().Rule50, n);
    const Key k = State().Hash;
    for (int i = 4; i <= back; i += 2)
        if (States[n - i].Hash == k) return true;
    return false;
}

bool TPosition::InsufficientMaterial() const {
    if (ByType[Pawn] | ByType[Rook] | ByType[Queen]) return false;
    const Bitboard minors = ByType[Knight] | ByType[Bishop];
    return Count(minors) <= 1;
}

std::string TPosition::MoveText(Move m) {
    if (m == NoMove) return "0000";
    std::string s = SquareName(FromSq(m)) + SquareName(ToSq(m));
    if (KindOf(m) == KindPromotion) s += "nbrq"[PromoType(m) - Knight];
    return s;
}

Move TPosition::ParseMove(std::string_view text) {
    TMoveList list;
    GenerateLegal(*this, list);
    for (const Move m : list)
        if (MoveText(m) == text) return m;
    return NoMove;
}

bool TPosition::Consistent() const {
    Bitboard seen = 0;
    for (int sq = 0; sq < 64; ++sq) {
        const int p = Board[sq];
        if (p == NoPiece) continue;
        if (!(ByType[TypeOf(p)] & ByColour[ColourOf(p)] & SqBit(sq))) return false;
        seen |= SqBit(sq);
    }
    return seen == Occupied() && !(ByColour[White] & ByColour[Black]);
}

} // namespace strong
