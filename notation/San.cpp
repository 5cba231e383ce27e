#include "San.h"

#include "Excerpt.h"

#include <cctype>
#include <vector>

namespace {

char KindOf(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

bool IsCastling(const TReplayGame& game, const GameMove& m) {
    const char c = game.PieceAt(m.From);
    return (c == 'K' && m.From == E1 && (m.To == G1 || m.To == C1)) ||
           (c == 'k' && m.From == E8 && (m.To == G8 || m.To == C8));
}

bool IsCapture(const TReplayGame& game, const GameMove& m) {
    const char c = KindOf(game.PieceAt(m.From));
    return game.PieceAt(m.To) != ' ' ||
           (c == 'P' && FileOf(m.From) != FileOf(m.To)); // en passant lands on an empty square
}

std::string PieceName(char kind, bool plural) {
    std::string name;
    switch (kind) {
    case 'N':
        name = "knight";
        break;
    case 'B':
        name = "bishop";
        break;
    case 'R':
        name = "rook";
        break;
    case 'Q':
        name = "queen";
        break;
    case 'K':
        name = "king";
        break;
    default:
        name = "pawn";
        break;
    }
    return plural ? name + "s" : name;
}

std::string CountName(size_t n) {
    static const char* names[] = {"no",   "one", "two",   "three", "four",
                                  "five", "six", "seven", "eight"};
    return n < 9 ? names[n] : std::to_string(n);
}

// The disambiguation a piece needs: other pieces of the same kind that can reach the same
// square decide whether the file, the rank or the whole square is written.
std::string Disambiguation(const TReplayGame& game, const GameMove& m) {
    const char letter = game.PieceAt(m.From);
    bool rivals = false, sameFile = false, sameRank = false;
    for (int sq = 1; sq <= 64; ++sq) {
        const auto from = static_cast<Square>(sq);
        if (from == m.From || game.PieceAt(from) != letter || !game.IsLegalMove(from, m.To))
            continue;
        rivals = true;
        sameFile |= FileOf(from) == FileOf(m.From);
        sameRank |= RankOf(from) == RankOf(m.From);
    }
    const std::string from = SquareText(m.From);
    if (!rivals) return {};
    if (!sameFile) return from.substr(0, 1);
    if (!sameRank) return from.substr(1, 1);
    return from;
}

std::string CheckSign(const TReplayGame& game, const GameMove& m) {
    TReplayGame after(game.Fen());
    if (!after.Play(m) || !after.SideToMoveInCheck()) return {};
    return after.IsMate() ? "#" : "+";
}

} // namespace

std::string WriteSan(const TReplayGame& game, const GameMove& m) {
    std::string san;
    const char kind = KindOf(game.PieceAt(m.From));
    if (IsCastling(game, m)) {
        san = FileOf(m.To) == 7 ? "O-O" : "O-O-O";
    } else if (kind == 'P') {
        if (IsCapture(game, m)) san = SquareText(m.From).substr(0, 1) + "x";
        san += SquareText(m.To);
        if (m.Promotion) san += std::string("=") + KindOf(m.Promotion);
    } else {
        san = std::string(1, kind) + Disambiguation(game, m);
        if (IsCapture(game, m)) san += 'x';
        san += SquareText(m.To);
    }
    return san + CheckSign(game, m);
}

namespace {

// The parts of a SAN text other than castling.
struct SanParts {
    char Kind = 'P';
    int FromFile = 0; // 0 when not given
    int FromRank = 0;
    Square To = None;
    char Promotion = 0;
};

bool ParseParts(std::string_view s, SanParts& parts) {
    if (!s.empty() && std::string_view("NBRQK").find(s.front()) != std::string_view::npos) {
        parts.Kind = s.front();
        s.remove_prefix(1);
    }
    // A promotion at the end: "=Q", or a bare piece letter after the rank.
    if (s.size() >= 2 && std::string_view("NBRQnbrq").find(s.back()) != std::string_view::npos) {
        parts.Promotion = static_cast<char>(std::tolower(static_cast<unsigned char>(s.back())));
        s.remove_suffix(1);
        if (s.back() == '=') s.remove_suffix(1);
    }
    if (s.size() < 2) return false;
    parts.To = SquareFromText(s.substr(s.size() - 2));
    if (parts.To == None) return false;
    s.remove_suffix(2);
    if (!s.empty() && (s.back() == 'x' || s.back() == ':' || s.back() == '-')) s.remove_suffix(1);
    if (!s.empty() && s.front() >= 'a' && s.front() <= 'h') {
        parts.FromFile = s.front() - 'a' + 1;
        s.remove_prefix(1);
    }
    if (!s.empty() && s.front() >= '1' && s.front() <= '8') {
        parts.FromRank = s.front() - '0';
        s.remove_prefix(1);
    }
    return s.empty();
}

std::string_view StripSuffixes(std::string_view s) {
    while (!s.empty() && std::string_view("+#!?").find(s.back()) != std::string_view::npos)
        s.remove_suffix(1);
    if (s.size() > 4 && s.substr(s.size() - 4) == "e.p.") s.remove_suffix(4);
    return s;
}

bool ReadCastling(const TReplayGame& game, std::string_view s, GameMove& move, std::string& error) {
    const bool longSide = s.size() == 5;
    const bool white = game.WhiteToMove();
    const GameMove castle{white ? E1 : E8, white ? (longSide ? C1 : G1) : (longSide ? C8 : G8), 0};
    const char king = white ? 'K' : 'k';
    if (game.PieceAt(castle.From) == king && game.IsLegalMove(castle.From, castle.To)) {
        move = castle;
        return true;
    }
    error = std::string(white ? "White" : "Black") + " cannot castle " +
            (longSide ? "queen side" : "king side") + " here";
    return false;
}

} // namespace

bool ReadSan(const TReplayGame& game, std::string_view text, GameMove& move, std::string& error) {
    const std::string_view s = StripSuffixes(text);
    if (s == "O-O" || s == "0-0" || s == "O-O-O" || s == "0-0-0")
        return ReadCastling(game, s, move, error);
    SanParts parts;
    if (!ParseParts(s, parts)) {
        error = "\"" + Excerpt(text) + "\" is not a move";
        return false;
    }
    // Long algebraic notation ("g1f3", "e7-e8q", "e1g1") names the square a piece leaves
    // without its letter: the piece standing there moves.
    const bool longForm = parts.Kind == 'P' && parts.FromFile && parts.FromRank;
    if (longForm) {
        const auto from = SquareAt(parts.FromFile, parts.FromRank);
        if (game.PieceColor(from) == (game.WhiteToMove() ? 1 : 0))
            parts.Kind = KindOf(game.PieceAt(from));
    }
    std::vector<GameMove> candidates;
    const int side = game.WhiteToMove() ? 1 : 0;
    for (int sq = 1; sq <= 64; ++sq) {
        const auto from = static_cast<Square>(sq);
        if (game.PieceColor(from) != side || KindOf(game.PieceAt(from)) != parts.Kind) continue;
        if (parts.FromFile && FileOf(from) != parts.FromFile) continue;
        if (parts.FromRank && RankOf(from) != parts.FromRank) continue;
        if (!game.IsLegalMove(from, parts.To)) continue;
        const bool promotes = game.IsPromotion(from, parts.To);
        candidates.push_back({from, parts.To, promotes ? 'q' : '\0'});
    }
    const std::string piece = PieceName(parts.Kind, false);
    const std::string to = SquareText(parts.To);
    if (candidates.empty()) {
        std::string from;
        if (parts.FromFile && parts.FromRank)
            from = " on " + std::string(1, static_cast<char>('a' + parts.FromFile - 1)) +
                   static_cast<char>('0' + parts.FromRank);
        else if (parts.FromFile)
            from = std::string(" on the ") + static_cast<char>('a' + parts.FromFile - 1) + "-file";
        else if (parts.FromRank)
            from = " on rank " + std::to_string(parts.FromRank);
        error = "no " + piece + from + " can reach " + to;
        return false;
    }
    if (candidates.size() > 1) {
        error =
            CountName(candidates.size()) + " " + PieceName(parts.Kind, true) + " can reach " + to;
        return false;
    }
    if (candidates.front().Promotion && !parts.Promotion) {
        error = "the pawn reaching " + to + " needs a promotion piece";
        return false;
    }
    if (!candidates.front().Promotion && parts.Promotion) {
        error = "a " + piece + " reaching " + to + " does not promote";
        return false;
    }
    move = candidates.front();
    if (move.Promotion) move.Promotion = parts.Promotion;
    return true;
}
