// FEN reading and move text for the engine's tools.

#include "EngineFen.h"

#include <cstring>

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

bool ReadBoard(std::string_view field, char* board) {
    int sq = 0;
    for (char c : field) {
        if (c == '/') {
            if (sq % 8 != 0) return false;
        } else if (c >= '1' && c <= '8') {
            for (int k = 0; k < c - '0' && sq < 64; ++k)
                board[sq++] = ' ';
        } else if (std::strchr("PNBRQKpnbrqk", c) && sq < 64) {
            board[sq++] = c;
        } else {
            return false;
        }
    }
    return sq == 64;
}

bool ReadCastling(std::string_view field, std::uint8_t& bits) {
    bits = 0;
    if (field == "-") return true;
    for (char c : field) {
        const char* p = std::strchr("KQkq", c);
        if (!p || c == 0) return false;
        bits = static_cast<std::uint8_t>(bits | (1u << (p - "KQkq")));
    }
    return true;
}

} // namespace

bool EngineInputFromFen(std::string_view fen, TEngineInput& in) {
    if (!ReadBoard(NextField(fen), in.Board)) return false;
    const std::string_view side = NextField(fen);
    if (side != "w" && side != "b") return false;
    in.WhiteToMove = side == "w";
    const std::string_view castling = NextField(fen);
    if (!ReadCastling(castling.empty() ? "-" : castling, in.CastlingAllowed)) return false;
    const std::string_view ep = NextField(fen);
    in.EnPassant = 0;
    if (!ep.empty() && ep != "-") {
        if (ep.size() != 2 || ep[0] < 'a' || ep[0] > 'h' || ep[1] < '1' || ep[1] > '8')
            return false;
        in.EnPassant = static_cast<std::uint8_t>((8 - (ep[1] - '0')) * 8 + (ep[0] - 'a') + 1);
    }
    return true;
}

std::string EngineMoveText(TEngineMove m) {
    std::string text = SquareText(m.From % 64 + 1) + SquareText(m.To % 64 + 1);
    if (m.Flags & mfPromotion && m.Promote >= 1 && m.Promote <= 4) text += " nbrq"[m.Promote];
    return text;
}
