#include "BoardQuestions.h"

#include <cstdlib>
#include <vector>

#include "Text.h"

namespace {

bool IsWhite(char c) {
    return c >= 'A' && c <= 'Z';
}

std::string Colour(char c) {
    return IsWhite(c) ? "white" : "black";
}

std::string KindName(char letter) {
    switch (letter | 0x20) {
    case 'p':
        return "pawn";
    case 'n':
        return "knight";
    case 'b':
        return "bishop";
    case 'r':
        return "rook";
    case 'q':
        return "queen";
    case 'k':
        return "king";
    default:
        return "piece";
    }
}

// The squares from rank 1 up, each rank from a to h: the order a player sitting at White's
// side reads the board in.
std::vector<int> ReadingOrder() {
    std::vector<int> squares;
    for (int rank = 1; rank <= 8; ++rank)
        for (int file = 1; file <= 8; ++file)
            squares.push_back(SquareAt(file, rank));
    return squares;
}

std::string Joined(const std::vector<std::string>& parts) {
    if (parts.empty()) return "none";
    std::string s;
    for (const auto& p : parts)
        s += (s.empty() ? "" : ", ") + p;
    return s;
}

// The pieces standing on the given squares, "e1 white king, e2 white pawn", or "empty".
std::string Occupants(const TChessGame& g, const std::vector<int>& squares) {
    std::vector<std::string> parts;
    for (int q : squares)
        if (g.PieceAt(q) != ' ') parts.push_back(SquareText(q) + ' ' + PieceInWords(g.PieceAt(q)));
    return parts.empty() ? "empty" : Joined(parts);
}

bool SideInCheck(const TChessGame& g) {
    return g.WhiteToMove() ? g.WhiteKingInCheck(None, None) : g.BlackKingInCheck(None, None);
}

// The pieces of one colour that reach q, "black knight f6, black bishop b7".
std::vector<std::string> Reachers(const TChessGame& g, int q, bool white) {
    std::vector<std::string> found;
    for (int from : ReadingOrder()) {
        const char c = g.PieceAt(from);
        if (c == ' ' || IsWhite(c) != white || from == q) continue;
        if (Reaches(g, from, q)) found.push_back(PieceInWords(c) + ' ' + SquareText(from));
    }
    return found;
}

} // namespace

std::string PieceInWords(char letter) {
    return Colour(letter) + ' ' + KindName(letter);
}

bool Reaches(const TChessGame& g, int from, int to) {
    const char c = g.PieceAt(from);
    if (c == ' ' || to < A8 || to > H1 || from == to) return false;
    const int df = FileOf(to) - FileOf(from);
    const int dr = RankOf(to) - RankOf(from);
    const int af = std::abs(df), ar = std::abs(dr);
    const auto slides = [&] {
        const int sf = (df > 0) - (df < 0), sr = (dr > 0) - (dr < 0);
        for (int f = FileOf(from) + sf, r = RankOf(from) + sr; f != FileOf(to) || r != RankOf(to);
             f += sf, r += sr)
            if (g.PieceAt(SquareAt(f, r)) != ' ') return false;
        return true;
    };
    switch (c | 0x20) {
    case 'p':
        return af == 1 && dr == (IsWhite(c) ? 1 : -1);
    case 'n':
        return (af == 1 && ar == 2) || (af == 2 && ar == 1);
    case 'k':
        return af <= 1 && ar <= 1;
    case 'b':
        return af == ar && slides();
    case 'r':
        return (af == 0 || ar == 0) && slides();
    case 'q':
        return (af == ar || af == 0 || ar == 0) && slides();
    default:
        return false;
    }
}

std::string TurnAnswer(const TChessGame& g) {
    const std::string side = g.WhiteToMove() ? "White" : "Black";
    const std::string other = g.WhiteToMove() ? "Black" : "White";
    switch (g.GameOver()) {
    case TGameOver::Mate:
        return "Checkmate, " + other + " has won";
    case TGameOver::StaleMate:
        return "Stalemate, the game is a draw";
    case TGameOver::Threefold:
        return "The same position three times, the game is a draw";
    case TGameOver::NoMatingMaterial:
        return "No one can mate, the game is a draw";
    case TGameOver::Marked:
        return "The game is over";
    case TGameOver::None:
        break;
    }
    std::string s = side + " to move, move " + std::to_string(g.CurrentMove());
    if (SideInCheck(g)) s += ", in check";
    return s;
}

std::string LastMoveAnswer(const TChessGame& g) {
    // The record of the half-move before the one to play holds the move that led here.
    const MoveInfo& last = g.WhiteToMove() ? g.MoveHistory(g.CurrentMove() - 1, false)
                                           : g.MoveHistory(g.CurrentMove(), true);
    const int from = last.OldSq, to = last.NewSq;
    const int shown = 2 * g.CurrentMove() + (g.WhiteToMove() ? 0 : 1);
    const int end = 2 * g.HistoryLastMove() + (g.HistoryLastWhite() ? 0 : 1);
    if (from < A8 || from > H1 || to < A8 || to > H1 || last.Position.size() != 64 ||
        g.PieceAt(to) == ' ' || shown > end)
        return "No move yet";
    const char piece = last.Position[std::size_t(from - 1)];
    const char taken = last.Position[std::size_t(to - 1)];
    const bool pawn = (piece | 0x20) == 'p';
    const bool capture = taken != ' ' || (pawn && FileOf(from) != FileOf(to));
    const std::string side = IsWhite(piece) ? "White" : "Black";
    std::string s;
    if ((piece | 0x20) == 'k' && std::abs(FileOf(to) - FileOf(from)) == 2)
        s = side + (FileOf(to) > FileOf(from) ? " castles king side" : " castles queen side");
    else
        s = side + ' ' + KindName(piece) + ' ' + SquareText(from) + (capture ? " takes " : " to ") +
            SquareText(to);
    if (pawn && (g.PieceAt(to) | 0x20) != 'p') s += ", promotes to " + KindName(g.PieceAt(to));
    if (SideInCheck(g)) s += g.HasLegalMove() ? ", check" : ", checkmate";
    return s;
}

std::string PiecesAnswer(const TChessGame& g, char letter) {
    std::vector<std::string> squares;
    for (int q : ReadingOrder())
        if (g.PieceAt(q) == letter) squares.push_back(SquareText(q));
    std::string kind = PieceInWords(letter);
    if (squares.size() != 1) kind += 's';
    return kind + ": " + Joined(squares);
}

std::string RankAnswer(const TChessGame& g, int rank) {
    if (rank < 1 || rank > 8) return {};
    std::vector<int> squares;
    for (int file = 1; file <= 8; ++file)
        squares.push_back(SquareAt(file, rank));
    return "rank " + std::to_string(rank) + ": " + Occupants(g, squares);
}

std::string FileAnswer(const TChessGame& g, int file) {
    if (file < 1 || file > 8) return {};
    std::vector<int> squares;
    for (int rank = 1; rank <= 8; ++rank)
        squares.push_back(SquareAt(file, rank));
    return std::string("file ") + char('a' + file - 1) + ": " + Occupants(g, squares);
}

std::string AttackersAnswer(const TChessGame& g, int q) {
    if (q < A8 || q > H1) return {};
    const char c = g.PieceAt(q);
    if (c == ' ')
        return SquareText(q) + ", empty, reached by white: " + Joined(Reachers(g, q, true)) +
               ", by black: " + Joined(Reachers(g, q, false));
    const bool white = IsWhite(c);
    return SquareText(q) + ", " + PieceInWords(c) + ", attacked by " +
           Joined(Reachers(g, q, !white)) + ", defended by " + Joined(Reachers(g, q, white));
}

std::string MovesAnswer(const TChessGame& g, int q) {
    if (q < A8 || q > H1) return {};
    const char c = g.PieceAt(q);
    if (c == ' ') return SquareText(q) + ", empty";
    const std::string piece = PieceInWords(c) + ' ' + SquareText(q);
    if (IsWhite(c) != g.WhiteToMove()) return piece + ", not " + Colour(c) + "'s turn";
    std::vector<std::string> moves;
    for (int to : ReadingOrder()) {
        if (!g.IsLegalMove(Square(q), Square(to))) continue;
        std::string m = SquareText(to);
        if ((c | 0x20) == 'k' && std::abs(FileOf(to) - FileOf(q)) == 2)
            m += " castles";
        else if (g.PieceAt(to) != ' ')
            m += " takes " + PieceInWords(g.PieceAt(to));
        else if ((c | 0x20) == 'p' && FileOf(to) != FileOf(q))
            m += " takes en passant";
        moves.push_back(m);
    }
    if (moves.empty()) return piece + " has no legal move";
    return piece + ": " + Joined(moves);
}
