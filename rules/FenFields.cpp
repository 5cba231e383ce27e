#include "FenFields.h"

#include <algorithm>
#include <utility>

#include "Text.h"

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

bool ReadPlacement(std::string_view text, std::string& position, std::string* why) {
    constexpr std::string_view pieces = "PNBRQKpnbrqk";
    const auto refuse = [why](std::string reason) {
        if (why != nullptr) *why = std::move(reason);
        return false;
    };
    const auto rankName = [](int rank) { return "rank " + std::to_string(8 - rank); };
    std::string result;
    int rank = 0; // 0 is the eighth rank
    int file = 0; // files filled so far on this rank
    for (char c : text) {
        if (c == '/') {
            if (file != 8) return refuse(rankName(rank) + " does not have 8 squares");
            if (++rank > 7) return refuse("the board has more than 8 ranks");
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 8) return refuse(rankName(rank) + " has more than 8 squares");
            result.append(static_cast<std::size_t>(c - '0'), ' ');
        } else if (pieces.find(c) != std::string_view::npos) {
            if (++file > 8) return refuse(rankName(rank) + " has more than 8 squares");
            result.push_back(c);
        } else {
            return refuse(std::string("'") + c + "' is not a piece letter");
        }
    }
    if (rank != 7)
        return refuse("the board has " + std::to_string(rank + 1) + " ranks instead of 8");
    if (file != 8) return refuse("rank 1 does not have 8 squares");
    position = result;
    return true;
}

bool ReadSide(std::string_view text, bool& white) {
    if (text != "w" && text != "b") return false;
    white = text == "w";
    return true;
}

bool ReadCastling(std::string_view text, CastleSet& rights, std::string* why) {
    if (text == "-") {
        rights = CastleSet{};
        return true;
    }
    const auto refuse = [&] {
        if (why != nullptr)
            *why = "the castling rights \"" + std::string(text) + "\" are not K, Q, k, q or -";
        return false;
    };
    if (text.empty()) return refuse();
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
            return refuse();
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
    const Square named = SquareFromText(text);
    if (named == None) return false;
    sq = named;
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
