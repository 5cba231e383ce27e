// Move legality: the movement rule of every piece, castling, the king tests and the
// repetition test. Nothing here changes the game.
#include "ChessGame.h"

#include <cstdlib>
#include <cstring>

namespace {

bool OnBoard(int sq) {
    return sq >= 1 && sq <= 64;
}

struct Step {
    int File;
    int Rank;
};

constexpr Step kDiagonals[] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
// Horizontal rays first, then vertical ones.
constexpr Step kLines[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
constexpr Step kKnightSteps[] = {{2, 1}, {2, -1}, {-2, 1}, {-2, -1},
                                 {1, 2}, {1, -2}, {-1, 2}, {-1, -2}};

// The letters that attack a king of one colour.
struct Attackers {
    char Pawn, Knight, Bishop, Rook, Queen, King;
    int PawnRankStep; // where an attacking pawn stands, seen from the king
};

constexpr Attackers kAttackersOfWhite{'p', 'n', 'b', 'r', 'q', 'k', +1};
constexpr Attackers kAttackersOfBlack{'P', 'N', 'B', 'R', 'Q', 'K', -1};

// Whether a slider along one of the rays (or the enemy king next to it) reaches the square
// through empty squares only.
bool RayAttacks(const char* board, int file, int rank, const Step (&rays)[4], char slider,
                const Attackers& by) {
    for (const Step& ray : rays) {
        for (int d = 1; d <= 7; ++d) {
            const Square sq = SquareAt(file + ray.File * d, rank + ray.Rank * d);
            if (sq == None) break;
            const char c = board[sq];
            if (c == ' ') continue;
            if (c == slider || c == by.Queen || (d == 1 && c == by.King)) return true;
            break;
        }
    }
    return false;
}

// Whether the king of the given colour on a 65-letter board (index 0 unused) is attacked.
// Only the first king letter counts. A missing black king counts as attacked, a missing
// white king as safe.
bool KingAttacked(const char* board, bool whiteKing) {
    const char king = whiteKing ? 'K' : 'k';
    const void* found = std::memchr(board + 1, king, 64);
    if (found == nullptr) return !whiteKing;
    const int kingSq = static_cast<int>(static_cast<const char*>(found) - board);
    const Attackers& by = whiteKing ? kAttackersOfWhite : kAttackersOfBlack;
    const int file = FileOf(kingSq);
    const int rank = RankOf(kingSq);

    for (int df : {-1, 1}) {
        const Square sq = SquareAt(file + df, rank + by.PawnRankStep);
        if (sq != None && board[sq] == by.Pawn) return true;
    }
    for (const Step& s : kKnightSteps) {
        const Square sq = SquareAt(file + s.File, rank + s.Rank);
        if (sq != None && board[sq] == by.Knight) return true;
    }
    return RayAttacks(board, file, rank, kDiagonals, by.Bishop, by) ||
           RayAttacks(board, file, rank, kLines, by.Rook, by);
}

} // namespace

bool TChessGame::IsLegalMove(Square oldSq, Square newSq) const {
    // 1. Both squares on the board.
    if (!OnBoard(oldSq) || !OnBoard(newSq)) return false;
    // 2. A threefold repetition freezes the game (unless the game plays on past it).
    if (FRepetitionEndsGame && IsThreefoldRepetition()) return false;
    // 3..6.
    return PassesMoveRules(oldSq, newSq);
}

// Steps 3 to 6 of IsLegalMove, for squares already known to lie on the board.
bool TChessGame::PassesMoveRules(Square oldSq, Square newSq) const {
    // 3. The piece belongs to the side to move.
    const int color = PieceColor(oldSq);
    if (color != (FWhiteToMove ? 1 : 0)) return false;
    // 4. The target holds no piece of the same colour, and no king: a king is never
    //    taken, even in a position where the side not to move stands in check.
    if (color == PieceColor(newSq) || FBoard[newSq] == 'K' || FBoard[newSq] == 'k') return false;
    // 5. The piece's own movement rule; a letter without one may go anywhere.
    bool moves = true;
    switch (FBoard[oldSq]) {
    case 'P':
    case 'p':
        moves = PawnCanMove(oldSq, newSq);
        break;
    case 'N':
    case 'n':
        moves = KnightCanMove(oldSq, newSq);
        break;
    case 'B':
    case 'b':
        moves = BishopCanMove(oldSq, newSq);
        break;
    case 'R':
    case 'r':
        moves = RookCanMove(oldSq, newSq);
        break;
    case 'Q':
    case 'q':
        moves = QueenCanMove(oldSq, newSq);
        break;
    case 'K':
    case 'k':
        moves = KingCanMove(oldSq, newSq);
        break;
    default:
        break;
    }
    if (!moves) return false;
    // 6. The mover's own king is not left attacked.
    return color == 1 ? !WhiteKingInCheck(oldSq, newSq) : !BlackKingInCheck(oldSq, newSq);
}

bool TChessGame::HasLegalMove() const {
    // The repetition test does not depend on the pair, so it is asked once.
    if (FRepetitionEndsGame && IsThreefoldRepetition()) return false;
    const int side = FWhiteToMove ? 1 : 0;
    for (int from = 1; from <= 64; ++from) {
        if (PieceColor(from) != side) continue;
        for (int to = 1; to <= 64; ++to) {
            if (PassesMoveRules(static_cast<Square>(from), static_cast<Square>(to))) return true;
        }
    }
    return false;
}

// --- King tests ----------------------------------------------------------------------------

// The trial move is made on a copy: oldSq emptied, then its letter put on newSq, so
// oldSq = newSq tests the board as it stands. A pawn taking en passant takes the passed
// pawn off the copy too, as MakeMove does, so that capturing a pawn which has just given
// check is a way out of it. Squares off the board make no trial move.
bool TChessGame::KingAttackedAfter(Square oldSq, Square newSq, bool whiteKing) const {
    char copy[65];
    std::memcpy(copy, FBoard, sizeof copy);
    if (OnBoard(oldSq) && OnBoard(newSq)) {
        const char moving = copy[oldSq];
        copy[oldSq] = ' ';
        copy[newSq] = moving;
        if (oldSq != newSq) {
            const Square victim = EnPassantVictim(newSq, moving);
            if (victim != None) copy[victim] = ' ';
        }
    }
    return KingAttacked(copy, whiteKing);
}

// The square of the pawn an en-passant capture onto newSq by the letter moving removes:
// the same test as MakeMove's (newSq is the en-passant square, on rank 6 for "P" or rank 3
// for "p"); None for any other move.
Square TChessGame::EnPassantVictim(Square newSq, char moving) const {
    if (newSq == None || newSq != FEnPassant) return None;
    if (moving == 'P' && RankOf(newSq) == 6) return SquareAt(FileOf(newSq), 5);
    if (moving == 'p' && RankOf(newSq) == 3) return SquareAt(FileOf(newSq), 4);
    return None;
}

bool TChessGame::WhiteKingInCheck(Square oldSq, Square newSq) const {
    return KingAttackedAfter(oldSq, newSq, true);
}

bool TChessGame::BlackKingInCheck(Square oldSq, Square newSq) const {
    return KingAttackedAfter(oldSq, newSq, false);
}

// --- Movement rules ------------------------------------------------------------------------

bool TChessGame::PawnCanMove(Square oldSq, Square newSq) const {
    if (!OnBoard(oldSq) || !OnBoard(newSq)) return false;
    const int color = PieceColor(oldSq);
    if (color == -1) return false;
    const int forward = color == 1 ? 1 : -1;
    const int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    const int oldRank = RankOf(oldSq);
    const int newRank = RankOf(newSq);
    if (newRank == oldRank + forward) {
        if (df == 0) return FBoard[newSq] == ' ';
        if (df == 1) return PieceColor(newSq) == 1 - color || newSq == FEnPassant;
        return false;
    }
    // The double step from the pawn's own second rank over an empty square.
    const int homeRank = color == 1 ? 2 : 7;
    return oldRank == homeRank && newRank == homeRank + 2 * forward && df == 0 &&
           FBoard[newSq] == ' ' && FBoard[(oldSq + newSq) / 2] == ' ';
}

bool TChessGame::KnightCanMove(Square oldSq, Square newSq) const {
    if (!OnBoard(oldSq) || !OnBoard(newSq)) return false;
    const int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    const int dr = std::abs(RankOf(newSq) - RankOf(oldSq));
    return (df == 2 && dr == 1) || (df == 1 && dr == 2);
}

// Walks from oldSq towards newSq; it is reached when every square before it is empty and
// newSq holds no piece of the mover's colour. Only the one ray that can lead to newSq is
// walked: the others never reach it.
bool TChessGame::SlideReaches(Square oldSq, Square newSq, bool diagonals, bool lines) const {
    if (!OnBoard(oldSq) || !OnBoard(newSq)) return false;
    const int df = FileOf(newSq) - FileOf(oldSq);
    const int dr = RankOf(newSq) - RankOf(oldSq);
    const bool diagonal = df != 0 && std::abs(df) == std::abs(dr);
    const bool line = (df == 0) != (dr == 0);
    if (!(diagonals && diagonal) && !(lines && line)) return false;
    const int stepFile = (df > 0) - (df < 0);
    const int stepRank = (dr > 0) - (dr < 0);
    const int color = PieceColor(oldSq);
    for (int d = 1; d <= 7; ++d) {
        const Square sq = SquareAt(FileOf(oldSq) + stepFile * d, RankOf(oldSq) + stepRank * d);
        if (sq == None) break;
        const int here = PieceColor(sq);
        if (sq == newSq) return here == -1 || here != color;
        if (here != -1) break;
    }
    return false;
}

bool TChessGame::BishopCanMove(Square oldSq, Square newSq) const {
    return SlideReaches(oldSq, newSq, true, false);
}

bool TChessGame::RookCanMove(Square oldSq, Square newSq) const {
    return SlideReaches(oldSq, newSq, false, true);
}

bool TChessGame::QueenCanMove(Square oldSq, Square newSq) const {
    return BishopCanMove(oldSq, newSq) || RookCanMove(oldSq, newSq);
}

bool TChessGame::KingCanMove(Square oldSq, Square newSq) const {
    if (!OnBoard(oldSq) || !OnBoard(newSq)) return false;
    const int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    const int dr = std::abs(RankOf(newSq) - RankOf(oldSq));
    if (df <= 1 && dr <= 1) return true;
    return CanCastle(oldSq, newSq);
}

namespace {

// One way to castle, recognised by the king's two squares alone.
struct CastlingCase {
    Square From, To;
    CanStillCastle Right;
    Square RookCorner;
    char Rook;
    Square MustBeEmpty[3]; // None-padded
    Square Passed;         // the square between From and To, which must not be attacked
    bool White;
};

constexpr CastlingCase kCastlingCases[] = {
    {E1, G1, WhiteKingSide, H1, 'R', {G1, F1, None}, F1, true},
    {E1, C1, WhiteQueenSide, A1, 'R', {B1, C1, D1}, D1, true},
    {E8, G8, BlackKingSide, H8, 'r', {G8, F8, None}, F8, false},
    {E8, C8, BlackQueenSide, A8, 'r', {B8, C8, D8}, D8, false},
};

} // namespace

bool TChessGame::CanCastle(Square oldSq, Square newSq) const {
    for (const CastlingCase& c : kCastlingCases) {
        if (oldSq != c.From || newSq != c.To) continue;
        if (!FCastlingAllowed.Contains(c.Right) || FBoard[c.RookCorner] != c.Rook) return false;
        for (Square sq : c.MustBeEmpty)
            if (sq != None && FBoard[sq] != ' ') return false;
        // Not out of check, not through an attacked square, not into one.
        return !KingAttackedAfter(c.From, c.From, c.White) &&
               !KingAttackedAfter(c.From, c.Passed, c.White) &&
               !KingAttackedAfter(c.From, c.To, c.White);
    }
    return false;
}

// --- Repetition ----------------------------------------------------------------------------

namespace {

// The en-passant square of a recorded position as far as it makes a difference: the square
// when a pawn of the side to move can take on it without leaving its king attacked, None
// otherwise (a double step past no enemy pawn changes nothing of the position).
Square UsableEnPassant(const std::string& position, bool white, Square ep) {
    if (ep == None || position.size() != 64) return ep;
    const int rank = white ? 5 : 4; // where the capturing pawns and the passed pawn stand
    if (RankOf(ep) != (white ? 6 : 3)) return None;
    const char pawn = white ? 'P' : 'p';
    const Square victim = SquareAt(FileOf(ep), rank);
    for (int df : {-1, 1}) {
        const Square from = SquareAt(FileOf(ep) + df, rank);
        if (from == None || position[from - 1] != pawn) continue;
        char copy[65];
        copy[0] = ' ';
        std::memcpy(copy + 1, position.data(), 64);
        copy[from] = ' ';
        copy[ep] = pawn;
        copy[victim] = ' ';
        if (!KingAttacked(copy, white)) return ep;
    }
    return None;
}

// Whether record b holds the position of record a, both with the given side to move.
bool SamePosition(const MoveInfo& a, bool white, const MoveInfo& b) {
    return a.Position == b.Position && a.Castling == b.Castling &&
           UsableEnPassant(a.Position, white, a.EnPassant) ==
               UsableEnPassant(b.Position, white, b.EnPassant);
}

} // namespace

bool TChessGame::IsThreefoldRepetition() const {
    RepetitionCache& cache = FRepetition;
    if (cache.Valid && cache.Move == FCurrentMove && cache.White == FWhiteToMove &&
        cache.Version == FHistoryVersion)
        return cache.Answer;

    // Count the earlier records of the same side to move, back to move 1, that hold the
    // position of the current half-move's record.
    const MoveInfo& current = MoveHistory(FCurrentMove, FWhiteToMove);
    int count = 0;
    for (int move = FCurrentMove - 1; move >= 1; --move) {
        const MoveInfo& earlier = MoveHistory(move, FWhiteToMove);
        if (SamePosition(current, FWhiteToMove, earlier) && ++count >= 2) break;
    }
    cache = {FCurrentMove, FWhiteToMove, FHistoryVersion, true, count >= 2};
    return cache.Answer;
}
