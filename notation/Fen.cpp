#include "Fen.h"

#include <charconv>
#include <vector>

#include "Excerpt.h"
#include "FenFields.h"
#include "ReplayGame.h"

namespace {

constexpr std::string_view kStartBoard = "rnbqkbnrpppppppp                                "
                                         "PPPPPPPPRNBQKBNR";

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start) fields.push_back(text.substr(start, i - start));
    }
    return fields;
}

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The rules' reader, which takes any combination of the letters, and no letter twice.
bool ReadCastlingField(std::string_view field, CastleSet& castling, std::string& error) {
    if (!ReadCastling(field, castling, nullptr)) {
        error = "the castling rights \"" + Excerpt(field) + "\" are not K, Q, k, q or -";
        return false;
    }
    for (std::size_t i = 0; i < field.size(); ++i)
        if (field.find(field[i], i + 1) != std::string_view::npos) {
            error = "the castling rights \"" + Excerpt(field) + "\" repeat a letter";
            return false;
        }
    return true;
}

bool ReadCounter(std::string_view field, int low, const char* name, int& value,
                 std::string& error) {
    int v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc() || end != field.data() + field.size() || v < low || v > 100000) {
        error = std::string("the ") + name + " \"" + Excerpt(field) + "\" is not a number";
        if (ec == std::errc() && end == field.data() + field.size())
            error = std::string("the ") + name + " " + Excerpt(field) + " is out of range";
        return false;
    }
    value = v;
    return true;
}

const char* SideName(bool white) {
    return white ? "White" : "Black";
}

std::string KingFault(const std::string& board, bool white) {
    int kings = 0;
    for (char c : board)
        kings += c == (white ? 'K' : 'k');
    if (kings == 1) return {};
    if (kings == 0) return std::string(SideName(white)) + " has no king";
    return std::string(SideName(white)) + " has " + std::to_string(kings) + " kings";
}

std::string MenFault(const std::string& board, bool white) {
    int men = 0;
    int pawns = 0;
    for (char c : board) {
        if (c == ' ') continue;
        const bool isWhite = c >= 'A' && c <= 'Z';
        if (isWhite != white) continue;
        ++men;
        pawns += c == 'P' || c == 'p';
    }
    if (men > 16)
        return std::string(SideName(white)) + " has " + std::to_string(men) +
               " men; no side has more than 16";
    if (pawns > 8)
        return std::string(SideName(white)) + " has " + std::to_string(pawns) +
               " pawns; no side has more than 8";
    return {};
}

struct Right {
    CanStillCastle Which;
    Square King, Rook;
    char KingLetter, RookLetter;
    const char* Name;
};
constexpr Right kRights[] = {
    {WhiteKingSide, E1, H1, 'K', 'R', "White's king-side"},
    {WhiteQueenSide, E1, A1, 'K', 'R', "White's queen-side"},
    {BlackKingSide, E8, H8, 'k', 'r', "Black's king-side"},
    {BlackQueenSide, E8, A8, 'k', 'r', "Black's queen-side"},
};

std::string CastlingFault(const FenPosition& p) {
    for (const Right& r : kRights) {
        if (!p.Castling.Contains(r.Which)) continue;
        if (p.Board[r.King - 1] != r.KingLetter || p.Board[r.Rook - 1] != r.RookLetter)
            return std::string(r.Name) + " castling right needs the king on " + SquareText(r.King) +
                   " and the rook on " + SquareText(r.Rook);
    }
    return {};
}

std::string EnPassantFault(const FenPosition& p) {
    if (p.EnPassant == None) return {};
    const int file = FileOf(p.EnPassant);
    // The square a pawn of the side not to move has just passed over: on rank 6 when White
    // is to move, with the pawn now in front of it and its start square behind it empty.
    const int rank = p.WhiteToMove ? 6 : 3;
    const int step = p.WhiteToMove ? -1 : 1;
    const char pawn = p.WhiteToMove ? 'p' : 'P';
    const std::string name = SquareText(p.EnPassant);
    if (RankOf(p.EnPassant) != rank)
        return "the en-passant square " + name + " is not on rank " + std::to_string(rank) +
               " with " + SideName(p.WhiteToMove) + " to move";
    if (p.Board[p.EnPassant - 1] != ' ' || p.Board[SquareAt(file, rank - step) - 1] != ' ' ||
        p.Board[SquareAt(file, rank + step) - 1] != pawn)
        return "the en-passant square " + name + " does not follow a pawn's double step";
    return {};
}

} // namespace

CastleSet CastlingAtHome(const std::string& board, CastleSet rights) {
    CastleSet kept;
    for (const Right& r : kRights)
        if (rights.Contains(r.Which) && board[r.King - 1] == r.KingLetter &&
            board[r.Rook - 1] == r.RookLetter)
            kept.Include(r.Which);
    return kept;
}

FenPosition StartFenPosition() {
    FenPosition p;
    p.Board = std::string(kStartBoard);
    p.Castling = CastleSet::All();
    return p;
}

std::string WriteFen(const FenPosition& p) {
    std::string out;
    for (int rank = 8; rank >= 1; --rank) {
        int empty = 0;
        for (int file = 1; file <= 8; ++file) {
            const char c = p.Board[SquareAt(file, rank) - 1];
            if (c == ' ') {
                ++empty;
                continue;
            }
            if (empty) out += static_cast<char>('0' + empty);
            empty = 0;
            out += c;
        }
        if (empty) out += static_cast<char>('0' + empty);
        if (rank > 1) out += '/';
    }
    out += p.WhiteToMove ? " w " : " b ";
    const CastleSet castling = CastlingAtHome(p.Board, p.Castling);
    if (castling.Empty()) out += '-';
    if (castling.Contains(WhiteKingSide)) out += 'K';
    if (castling.Contains(WhiteQueenSide)) out += 'Q';
    if (castling.Contains(BlackKingSide)) out += 'k';
    if (castling.Contains(BlackQueenSide)) out += 'q';
    out += ' ' + SquareText(p.EnPassant);
    out += ' ' + std::to_string(p.HalfMoveClock) + ' ' + std::to_string(p.MoveNumber);
    return out;
}

bool ReadFen(std::string_view text, FenPosition& position, std::string& error) {
    const std::vector<std::string_view> fields = SplitFields(Trim(text));
    if (fields.size() < 4 || fields.size() > 6) {
        error = "a FEN has 4 to 6 fields separated by spaces, not " + std::to_string(fields.size());
        return false;
    }
    FenPosition p;
    if (!ReadPlacement(fields[0], p.Board, &error)) return false;
    if (!ReadSide(fields[1], p.WhiteToMove)) {
        error = "the side to move \"" + Excerpt(fields[1]) + "\" is not w or b";
        return false;
    }
    if (!ReadCastlingField(fields[2], p.Castling, error)) return false;
    if (!ReadEnPassant(fields[3], p.EnPassant)) {
        error = "the en-passant square \"" + Excerpt(fields[3]) + "\" is not a square";
        return false;
    }
    if (fields.size() > 4 && !ReadCounter(fields[4], 0, "half-move clock", p.HalfMoveClock, error))
        return false;
    // Many puzzle collections number their positions' move 0; it is read as move 1.
    if (fields.size() > 5 && !ReadCounter(fields[5], 0, "move number", p.MoveNumber, error))
        return false;
    if (p.MoveNumber == 0) p.MoveNumber = 1;
    if (std::string fault = PositionFault(p); !fault.empty()) {
        error = fault;
        return false;
    }
    position = p;
    return true;
}

std::string PositionFault(const FenPosition& p) {
    for (bool white : {true, false})
        if (std::string fault = KingFault(p.Board, white); !fault.empty()) return fault;
    for (int file = 1; file <= 8; ++file) {
        for (int rank : {1, 8}) {
            const Square sq = SquareAt(file, rank);
            const char c = p.Board[sq - 1];
            if (c == 'P' || c == 'p')
                return "a pawn stands on " + SquareText(sq) + ", on rank " + std::to_string(rank);
        }
    }
    for (bool white : {true, false})
        if (std::string fault = MenFault(p.Board, white); !fault.empty()) return fault;
    if (std::string fault = CastlingFault(p); !fault.empty()) return fault;
    if (std::string fault = EnPassantFault(p); !fault.empty()) return fault;
    // The side that has just moved may not have left its own king attacked.
    FenPosition other = p;
    other.WhiteToMove = !p.WhiteToMove;
    other.EnPassant = None;
    if (TReplayGame(other).SideToMoveInCheck())
        return std::string(SideName(!p.WhiteToMove)) + " is in check but " +
               SideName(p.WhiteToMove) + " is to move";
    return {};
}
