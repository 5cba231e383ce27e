#include "ProbeText.h"

#include <climits>

namespace probe {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::vector<std::string_view> SplitScript(std::string_view commands) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = commands.find(';', start);
        if (end == std::string_view::npos) {
            pieces.push_back(commands.substr(start));
            return pieces;
        }
        pieces.push_back(commands.substr(start, end - start));
        start = end + 1;
    }
}

std::string_view Trim(std::string_view line) {
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

bool ParseInt(std::string_view text, int& value) {
    bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty()) return false;
    long long magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        // One past INT_MAX still fits INT_MIN; anything larger is out of range.
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    }
    long long result = negative ? -magnitude : magnitude;
    if (result > INT_MAX) return false;
    value = static_cast<int>(result);
    return true;
}

bool ParseSquare(std::string_view text, Square& sq) {
    if (const Square named = SquareFromText(text); named != None) {
        sq = named;
        return true;
    }
    // "-" is how the output writes None, so it reads back as None.
    if (text == "-") {
        sq = None;
        return true;
    }
    if (text.empty() || text.front() == '-') return false;
    int number = 0;
    if (!ParseInt(text, number) || number > 64) return false;
    sq = static_cast<Square>(number);
    return true;
}

std::string CastlingText(CastleSet rights) {
    std::string text;
    if (rights.Contains(WhiteKingSide)) text += 'K';
    if (rights.Contains(WhiteQueenSide)) text += 'Q';
    if (rights.Contains(BlackKingSide)) text += 'k';
    if (rights.Contains(BlackQueenSide)) text += 'q';
    return text.empty() ? "-" : text;
}

char EventLetter(char piece) {
    return piece == ' ' ? '_' : piece;
}

} // namespace probe
