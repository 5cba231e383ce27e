// The engine board: loading from the game, the two generators, the attack test and making
// and taking back moves. The generators walk the pieces in square order and each piece's
// steps in table order, so the lists come out in the order the mailbox walk gives.

#include <cassert>
#include <cstring>
#include <utility>

#include "ChessEngine.h"
#include "EngineTables.h"

using engine_tables::AllRights;
using engine_tables::Bit;
using engine_tables::Castlings;
using engine_tables::LowSquare;
using engine_tables::Square;
using engine_tables::Tables;
using engine_tables::TBits;
using engine_tables::TCastling;
using engine_tables::WhiteKingside;
using engine_tables::WhiteQueenside;

namespace {

constexpr int AllDirs[8] = {0, 1, 2, 3, 4, 5, 6, 7};

// The flags of the pawn's own moves.
constexpr int PawnStep = mfPawnMove;
constexpr int PawnDoubleStep = mfPawnMove | mfDoubleStep;
constexpr int PawnCapture = mfPawnMove | mfCapture;

int PieceOfLetter(char c) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    switch (c) {
    case 'p':
        return TChessEngine::Pawn;
    case 'n':
        return TChessEngine::Knight;
    case 'b':
        return TChessEngine::Bishop;
    case 'r':
        return TChessEngine::Rook;
    case 'q':
        return TChessEngine::Queen;
    case 'k':
        return TChessEngine::King;
    default:
        return TChessEngine::NoPiece;
    }
}

// The castling whose king lands on `to`, or null.
const TCastling* CastlingTo(int to) {
    for (const TCastling& c : Castlings)
        if (c.KingTo == to) return &c;
    return nullptr;
}

// The square the pawn taken en passant stands on, for a capture to `to` by `mover`.
constexpr int PassedPawnSquare(int to, int mover) {
    return mover == TChessEngine::White ? to + 8 : to - 8;
}

} // namespace

// --- Board state -----------------------------------------------------------------------------

void TChessEngine::ClearBoard() {
    for (int s = 0; s < 64; ++s) {
        Colour[s] = NoColour;
        Piece[s] = NoPiece;
    }
    std::memset(Bits, 0, sizeof Bits);
    std::memset(Occupied, 0, sizeof Occupied);
    TableSum[White] = TableSum[Black] = 0;
}

void TChessEngine::PutPiece(int sq, int colour, int piece) {
    Colour[sq] = colour;
    Piece[sq] = piece;
    Bits[colour][piece] |= Bit(sq);
    Occupied[colour] |= Bit(sq);
    TableSum[colour] += PieceSquare[colour][piece][sq];
}

void TChessEngine::RemovePiece(int sq) {
    const int c = Colour[sq];
    if (c == NoColour) return;
    Bits[c][Piece[sq]] &= ~Bit(sq);
    Occupied[c] &= ~Bit(sq);
    TableSum[c] -= PieceSquare[c][Piece[sq]][sq];
    Colour[sq] = NoColour;
    Piece[sq] = NoPiece;
}

bool TChessEngine::BoardConsistent() const {
    std::uint64_t bits[2][6] = {}, occupied[2] = {};
    std::int32_t sum[2] = {0, 0};
    for (int s = 0; s < 64; ++s) {
        const int c = Colour[s], p = Piece[s];
        if ((c == NoColour) != (p == NoPiece)) return false;
        if (c == NoColour) continue;
        if (c < 0 || c > 1 || p < 0 || p > 5) return false;
        bits[c][p] |= Bit(s);
        occupied[c] |= Bit(s);
        sum[c] += PieceSquare[c][p][s];
    }
    return std::memcmp(bits, Bits, sizeof bits) == 0 &&
           std::memcmp(occupied, Occupied, sizeof occupied) == 0 && sum[White] == TableSum[White] &&
           sum[Black] == TableSum[Black] && XSide == (Side ^ 1) && Ply >= 0 && Ply <= MaxPly;
}

// --- Loading the position ----------------------------------------------------------------------

void TChessEngine::LoadPosition(const TEngineInput& in) {
    ClearBoard();
    // 1. Letters: 'B'..'R' white, 'b'..'r' black; a letter that names no piece stays empty.
    for (int s = 0; s < 64; ++s) {
        const char c = in.Board[s];
        const int colour = (c >= 'B' && c <= 'R')   ? White
                           : (c >= 'b' && c <= 'r') ? Black
                                                    : NoColour;
        const int piece = PieceOfLetter(c);
        if (colour != NoColour && piece != NoPiece) PutPiece(s, colour, piece);
    }
    // 2. Side to move.
    Side = in.WhiteToMove ? White : Black;
    XSide = Side ^ 1;
    // 3. Castling rights, less those whose king or rook has left its square.
    CastleRights = in.CastlingAllowed & AllRights;
    DropImpossibleRights();
    // 4. En-passant square, the game's Square less one.
    EnPassantSq = (in.EnPassant >= 1 && in.EnPassant <= 64) ? in.EnPassant - 1 : -1;
    DropImpossibleEnPassant();
    // 5. The search root.
    Ply = 0;
    Safety[0].Known = false;
    FirstMove[0] = 0;
}

// The game keeps a right after its rook has been captured, and castling is generated from
// the rights alone; without this the engine would castle with a rook that is not there.
void TChessEngine::DropImpossibleRights() {
    for (const TCastling& c : Castlings) {
        const int colour = c.Right & (WhiteKingside | WhiteQueenside) ? White : Black;
        const bool king = Colour[c.KingFrom] == colour && Piece[c.KingFrom] == King;
        const bool rook = Colour[c.RookFrom] == colour && Piece[c.RookFrom] == Rook;
        if (!king || !rook) CastleRights &= ~c.Right;
    }
}

// Taking en passant empties the square behind the target and taking back puts a pawn there,
// so a target without an enemy pawn behind it (or on the wrong rank for the side to move)
// would corrupt the board. Such a square is dropped.
void TChessEngine::DropImpossibleEnPassant() {
    const int e = EnPassantSq;
    if (e < 0) return;
    const int row = Side == White ? 2 : 5;
    const int behind = Side == White ? e + 8 : e - 8;
    if (e / 8 != row || Colour[e] != NoColour || Colour[behind] != XSide || Piece[behind] != Pawn)
        EnPassantSq = -1;
}

// --- Move generation ---------------------------------------------------------------------------

void TChessEngine::GenerateMoves() {
    Generate(false);
}

void TChessEngine::GenerateCaptures() {
    Generate(true);
}

void TChessEngine::Generate(bool capturesOnly) {
    // 1. Start the ply's list.
    MoveEnd[Ply] = FirstMove[Ply];
    // 2. The side's pieces in square order.
    for (TBits own = Occupied[Side]; own; own &= own - 1) {
        const int s = LowSquare(own);
        switch (Piece[s]) {
        case Pawn:
            GeneratePawn(s, capturesOnly);
            break;
        case Knight:
            GenerateSteps(s, Tables.KnightBits[s], capturesOnly);
            break;
        case Bishop:
            GenerateSlides(s, engine_tables::BishopDirs, 4, capturesOnly);
            break;
        case Rook:
            GenerateSlides(s, engine_tables::RookDirs, 4, capturesOnly);
            break;
        case Queen:
            GenerateSlides(s, AllDirs, 8, capturesOnly);
            break;
        default:
            GenerateSteps(s, Tables.KingBits[s], capturesOnly);
            break;
        }
    }
    // 3. Castling, from the rights alone.
    if (!capturesOnly) GenerateCastling();
    // 4. En passant.
    GenerateEnPassant();
    // 5. The next ply's list starts where this one ends.
    FirstMove[Ply + 1] = MoveEnd[Ply];
}

// A pawn on the rank it would promote from beyond (White's on rank 8, Black's on rank 1) has
// no square ahead and gets no moves.
void TChessEngine::GeneratePawn(int s, bool capturesOnly) {
    // Among captures a pawn has moves only with an enemy piece diagonally ahead or one step
    // from promoting.
    if (capturesOnly && !(Tables.PawnAttacks[Side][s] & Occupied[XSide]) &&
        !(Bit(s) & Tables.RowBits[Side == White ? 1 : 6]))
        return;
    const int file = s % 8;
    if (Side == White) {
        if (s < 8) return;
        if (file != 0 && Colour[s - 9] == Black) AddMove(s, s - 9, PawnCapture);
        if (file != 7 && Colour[s - 7] == Black) AddMove(s, s - 7, PawnCapture);
        if (Colour[s - 8] != NoColour) return;
        if (capturesOnly) {
            if (s <= 15) AddMove(s, s - 8, PawnStep);
            return;
        }
        AddMove(s, s - 8, PawnStep);
        if (s >= 48 && Colour[s - 16] == NoColour) AddMove(s, s - 16, PawnDoubleStep);
    } else {
        if (s > 55) return;
        if (file != 0 && Colour[s + 7] == White) AddMove(s, s + 7, PawnCapture);
        if (file != 7 && Colour[s + 9] == White) AddMove(s, s + 9, PawnCapture);
        if (Colour[s + 8] != NoColour) return;
        if (capturesOnly) {
            if (s >= 48) AddMove(s, s + 8, PawnStep);
            return;
        }
        AddMove(s, s + 8, PawnStep);
        if (s <= 15 && Colour[s + 16] == NoColour) AddMove(s, s + 16, PawnDoubleStep);
    }
}

// The steps lead to ascending squares in table order, so the target bits come out in it.
void TChessEngine::GenerateSteps(int s, TBits targets, bool capturesOnly) {
    const TBits enemy = Occupied[XSide];
    targets &= capturesOnly ? enemy : ~Occupied[Side];
    for (; targets; targets &= targets - 1) {
        const int n = LowSquare(targets);
        if (enemy & Bit(n))
            AddCapture(s, n);
        else
            AddQuiet(s, n);
    }
}

// Along each step the empty squares, nearest first, then the first piece if it is an enemy.
void TChessEngine::GenerateSlides(int s, const int* dirs, int count, bool capturesOnly) {
    const TBits occupied = Occupied[0] | Occupied[1], enemy = Occupied[XSide];
    for (int i = 0; i < count; ++i) {
        const int d = dirs[i];
        if (capturesOnly && !(Tables.RayBits[d][s] & enemy)) continue;
        const int f = engine_tables::FirstBlocker(d, s, occupied);
        if (!capturesOnly) {
            const std::uint8_t* ray = Tables.RaySq[d][s];
            for (int k = 0, len = Tables.RayLen[d][s]; k < len && ray[k] != f; ++k)
                AddQuiet(s, ray[k]);
        }
        if (f >= 0 && (enemy & Bit(f))) AddCapture(s, f);
    }
}

void TChessEngine::GenerateCastling() {
    for (const TCastling& c : {Castlings[2 * Side], Castlings[2 * Side + 1]})
        if (CastleRights & c.Right) AddMove(c.KingFrom, c.KingTo, mfCastle);
}

void TChessEngine::GenerateEnPassant() {
    const int e = EnPassantSq;
    if (e < 0) return;
    const int flags = mfCapture | mfEnPassant | mfPawnMove;
    auto pawnOf = [this](int sq, int side) {
        return sq >= 0 && sq < 64 && Colour[sq] == side && Piece[sq] == Pawn;
    };
    if (Side == White) {
        if (e % 8 != 0 && pawnOf(e + 7, White)) AddMove(e + 7, e, flags);
        if (e % 8 != 7 && pawnOf(e + 9, White)) AddMove(e + 9, e, flags);
    } else {
        if (e % 8 != 0 && pawnOf(e - 9, Black)) AddMove(e - 9, e, flags);
        if (e % 8 != 7 && pawnOf(e - 7, Black)) AddMove(e - 7, e, flags);
    }
}

// Moves that do not fit the stack are dropped: the stack never overflows, and ordinary play
// never comes near its end.
void TChessEngine::AddMove(int from, int to, int flags) {
    if ((flags & mfPawnMove) && (Side == White ? to <= 7 : to >= 56)) {
        AddPromotions(from, to, flags);
        return;
    }
    int& end = MoveEnd[Ply];
    if (end >= MoveStackSize) return;
    TGenMove& g = MoveStack[end++];
    g.Move = TEngineMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), 0,
                         static_cast<std::uint8_t>(flags)};
    g.Score = (flags & mfCapture) ? CaptureScore(to, from) : History[from][to];
}

// A move of a piece other than a pawn to an empty square, and its capture.
void TChessEngine::AddQuiet(int from, int to) {
    int& end = MoveEnd[Ply];
    if (end >= MoveStackSize) return;
    MoveStack[end++] =
        TGenMove{TEngineMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), 0, 0},
                 History[from][to]};
}

void TChessEngine::AddCapture(int from, int to) {
    int& end = MoveEnd[Ply];
    if (end >= MoveStackSize) return;
    MoveStack[end++] = TGenMove{
        TEngineMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), 0, mfCapture},
        CaptureScore(to, from)};
}

void TChessEngine::AddPromotions(int from, int to, int flags) {
    int& end = MoveEnd[Ply];
    for (int p = Knight; p <= Queen && end < MoveStackSize; ++p) {
        TGenMove& g = MoveStack[end++];
        g.Move = TEngineMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to),
                             static_cast<std::uint8_t>(p),
                             static_cast<std::uint8_t>(flags | mfPromotion)};
        g.Score = CaptureOrder + 10 * p;
    }
}

// --- Attacks -------------------------------------------------------------------------------------

// Looks outward from the target square: a pawn, knight or king attacks it when one stands
// where such a piece would attack from, a slider when it is the first piece along a line.
bool TChessEngine::Attacked(int sq, int side) const {
    const TBits* b = Bits[side];
    if (Tables.PawnAttacks[side ^ 1][sq] & b[Pawn]) return true;
    if (Tables.KnightBits[sq] & b[Knight]) return true;
    if (Tables.KingBits[sq] & b[King]) return true;
    const TBits occupied = Occupied[0] | Occupied[1];
    const TBits diagonal = b[Bishop] | b[Queen];
    if (diagonal & engine_tables::BishopAttacks(sq, occupied)) return true;
    const TBits straight = b[Rook] | b[Queen];
    return (straight & engine_tables::RookAttacks(sq, occupied)) != 0;
}

// The first king in square order is the one that counts; a side without a king is never in
// check.
bool TChessEngine::InCheck(int side) const {
    const TBits kings = Bits[side][King];
    return kings && Attacked(LowSquare(kings), side ^ 1);
}

// --- Making and taking back moves ------------------------------------------------------------

bool TChessEngine::CastlingPathClear(int to) const {
    const TCastling* c = CastlingTo(to);
    const TBits occupied = Occupied[0] | Occupied[1];
    return c && !(occupied & c->Between) && !Attacked(c->Crossed, XSide) &&
           !Attacked(c->Landing, XSide);
}

// Moves the castling rook from its corner to the square the king passed (or back).
void TChessEngine::MoveCastlingRook(int to, bool back) {
    const TCastling& c = *CastlingTo(to);
    const int colour = c.KingTo >= Square('a', 1) ? White : Black;
    RemovePiece(back ? c.RookTo : c.RookFrom);
    PutPiece(back ? c.RookFrom : c.RookTo, colour, Rook);
}

bool TChessEngine::PlayMove(TEngineMove m) {
    const int from = m.From, to = m.To;
    // Moves the generators could not have produced are refused rather than played.
    if (Ply >= MaxPly || from > 63 || to > 63 || Colour[from] != Side) return false;
    if ((m.Flags & mfPromotion) && (m.Promote < Knight || m.Promote > Queen)) return false;
    const int passedPawn = PassedPawnSquare(to, Side);
    if ((m.Flags & mfEnPassant) && (passedPawn < 0 || passedPawn > 63 ||
                                    Colour[passedPawn] != XSide || Piece[passedPawn] != Pawn))
        return false;
    // 1. Moves judged from the position alone are refused without being played.
    const TVerdict verdict = Judge(m);
    if (verdict == TVerdict::Illegal) return false;
    // 2. Castling: not out of check, over empty and unattacked squares; the rook moves.
    if (m.Flags & mfCastle) {
        if (SideInCheck() || !CastlingPathClear(to)) return false;
        MoveCastlingRook(to, false);
    }
    // 3. Remember what the move changes; the next ply's king is yet to be looked at.
    UndoStack[Ply] = TUndoRecord{m, Piece[to], CastleRights, EnPassantSq};
    ++Ply;
    Safety[Ply].Known = false;
    // 4. Rights of the squares the move leaves or reaches.
    CastleRights &= CastleMask[from] & CastleMask[to];
    // 5. The square a double step passed.
    EnPassantSq = (m.Flags & mfDoubleStep) ? PassedPawnSquare(to, Side) : -1;
    // 6. The piece moves (or becomes the promotion piece).
    const int moved = (m.Flags & mfPromotion) ? m.Promote : Piece[from];
    RemovePiece(to);
    RemovePiece(from);
    PutPiece(to, Side, moved);
    // 7. The pawn taken en passant.
    if (m.Flags & mfEnPassant) RemovePiece(passedPawn);
    // 8. The other side moves next.
    std::swap(Side, XSide);
    assert(BoardConsistent());
    // 9. The mover's king may not be left attacked: a move judged legal leaves it safe, one
    // played to see is tested.
    assert(verdict != TVerdict::Legal || !InCheck(XSide));
    if (verdict == TVerdict::PlayToSee && InCheck(XSide)) {
        UndoMove();
        return false;
    }
    return true;
}

void TChessEngine::UndoMove() {
    if (Ply <= 0) return;
    // 1. Back to the mover, the rights and the en-passant square before the move.
    std::swap(Side, XSide);
    --Ply;
    const TUndoRecord& u = UndoStack[Ply];
    const TEngineMove m = u.Move;
    CastleRights = u.CastleRights;
    EnPassantSq = u.EnPassantSq;
    // 2. The piece goes home, a pawn again if it promoted.
    const int moved = (m.Flags & mfPromotion) ? Pawn : Piece[m.To];
    RemovePiece(m.To);
    PutPiece(m.From, Side, moved);
    // 3. The captured piece returns.
    if (u.Captured != NoPiece) PutPiece(m.To, XSide, u.Captured);
    // 4. The castling rook returns to its corner.
    if (m.Flags & mfCastle) MoveCastlingRook(m.To, true);
    // 5. The pawn taken en passant returns.
    if (m.Flags & mfEnPassant) PutPiece(PassedPawnSquare(m.To, Side), XSide, Pawn);
    assert(BoardConsistent());
}
