#include "FenFields.h"

#include <algorithm>

namespace {

std::string_view NextField(std::string_view& text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end);
    return field;
}

} // namespace

bool ReadPlacement(std::string_view text, std::string& position) {
    constexpr std::string_view pieces = "PNBRQKpnbrqk";
    std::string result;
    int rank = 0;
    int file = 0;
    for (char c : text) {
        if (c == '/') {
            if (file != 8 || ++rank > 7) return false;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 8) return false;
            result.append(static_cast<std::size_t>(c - '0'), ' ');
        } else if (pieces.find(c) != std::string_view::npos) {
            if (++file > 8) return false;
            result.push_back(c);
        } else {
            return false;
        }
    }
    if (rank != 7 || file != 8) return false;
    position = result;
    return true;
}

bool ReadSide(std::string_view text, bool& white) {
    if (text != "w" && text != "b") return false;
    white = text == "w";
    return true;
}

bool ReadCastling(std::string_view text, CastleSet& rights) {
    if (text == "-") {
        rights = CastleSet{};
        return true;
    }
    if (text.empty()) return false;
    CastleSet result;
    for (char c : text) {
        switch (c) {
        case 'K':
            result.Include(WhiteKingSide);
            break;
        case 'Q':
            result.Include(WhiteQueenSide);
            break;
        case 'k':
            result.Include(BlackKingSide);
            break;
        case 'q':
            result.Include(BlackQueenSide);
            break;
        default:
            return false;
        }
    }
    rights = result;
    return true;
}

bool ReadEnPassant(std::string_view text, Square& sq) {
    if (text == "-") {
        sq = None;
        return true;
    }
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
        return false;
    sq = SquareAt(text[0] - 'a' + 1, text[1] - '0');
    return true;
}

bool ReadFenFields(std::string_view fen, TFenFields& fields) {
    TFenFields f;
    if (!ReadPlacement(NextField(fen), f.Position) || !ReadSide(NextField(fen), f.WhiteToMove))
        return false;
    const std::string_view castling = NextField(fen);
    if (!castling.empty() && !ReadCastling(castling, f.Castling)) return false;
    const std::string_view ep = NextField(fen);
    if (!ep.empty() && !ReadEnPassant(ep, f.EnPassant)) return false;
    fields = f;
    return true;
}
