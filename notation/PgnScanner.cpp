#include "PgnScanner.h"

#include <cctype>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsSymbolChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("_+#=:-/!?").find(c) != std::string_view::npos;
}

PgnToken Failure(PgnToken t, std::string reason) {
    t.Kind = PgnTokenKind::Error;
    t.Value = std::move(reason);
    return t;
}

std::string CharName(char c) {
    if (c > ' ' && c < 127) return std::string("'") + c + "'";
    return "a character that has no place in a game";
}

} // namespace

void PgnScanner::SkipBlanks() {
    while (!AtEnd()) {
        const char c = Peek();
        const bool lineStart = FPos == 0 || FText[FPos - 1] == '\n';
        if (IsBlank(c)) {
            Advance();
        } else if (c == ';' || (c == '%' && lineStart)) {
            while (!AtEnd() && Peek() != '\n')
                Advance();
        } else {
            return;
        }
    }
}

PgnToken PgnScanner::Next() {
    PgnToken t;
    SkipBlanks();
    t.Line = FLine;
    t.Offset = FPos;
    if (AtEnd()) return t;
    const char c = Peek();
    switch (c) {
    case '[':
        return ReadTag(t);
    case '{':
        return ReadComment(t);
    case '(':
        Advance();
        t.Kind = PgnTokenKind::VariationOpen;
        return t;
    case ')':
        Advance();
        t.Kind = PgnTokenKind::VariationClose;
        return t;
    case '*':
        Advance();
        t.Kind = PgnTokenKind::Result;
        t.Text = FText.substr(t.Offset, 1);
        return t;
    case '$':
        Advance();
        if (!std::isdigit(static_cast<unsigned char>(Peek())))
            return Failure(t, "a $ without a number");
        while (std::isdigit(static_cast<unsigned char>(Peek())))
            Advance();
        t.Kind = PgnTokenKind::Nag;
        t.Text = FText.substr(t.Offset, FPos - t.Offset);
        return t;
    case '.': // the dots of "1. ..." standing alone
        while (Peek() == '.')
            Advance();
        t.Kind = PgnTokenKind::MoveNumber;
        return t;
    default:
        if (IsSymbolChar(c)) return ReadSymbol(t);
        Advance();
        return Failure(t, CharName(c) + " here is not part of a game");
    }
}

PgnToken PgnScanner::ReadComment(PgnToken t) {
    Advance(); // '{'
    const size_t start = FPos;
    while (!AtEnd() && Peek() != '}')
        Advance();
    if (AtEnd())
        return Failure(t,
                       "the comment opened on line " + std::to_string(t.Line) + " is not closed");
    t.Kind = PgnTokenKind::Comment;
    t.Text = FText.substr(start, FPos - start);
    Advance(); // '}'
    return t;
}

PgnToken PgnScanner::ReadTag(PgnToken t) {
    Advance(); // '['
    while (Peek() == ' ' || Peek() == '\t')
        Advance();
    const size_t nameStart = FPos;
    while (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_')
        Advance();
    t.Name = std::string(FText.substr(nameStart, FPos - nameStart));
    if (t.Name.empty()) return ReadTagLeniently(t);
    while (Peek() == ' ' || Peek() == '\t')
        Advance();
    if (Peek() != '"') return ReadTagLeniently(t);
    Advance();
    for (;;) {
        const char v = Peek();
        if (AtEnd() || v == '\n' || v == '\r') return ReadTagLeniently(t);
        Advance();
        if (v == '"') break;
        if (v == '\\' && (Peek() == '"' || Peek() == '\\')) {
            t.Value += Peek();
            Advance();
        } else {
            t.Value += v;
        }
    }
    while (Peek() == ' ' || Peek() == '\t')
        Advance();
    if (Peek() != ']') return ReadTagLeniently(t);
    Advance();
    t.Kind = PgnTokenKind::Tag;
    t.Text = FText.substr(t.Offset, FPos - t.Offset);
    return t;
}

// Tag lines written by hand or by careless programs break the form: quotes inside the value
// left unescaped ([White ""Mirage""]), a missing closing quote or bracket. Such a line is
// still one tag, read from its '[' to the end of the line: the value runs from the first
// quote to the last one before the closing ']' (or to the ']', or to the end of the line,
// when that is all there is). A line with no name is a tag that says nothing.
PgnToken PgnScanner::ReadTagLeniently(PgnToken t) {
    size_t end = FText.find('\n', t.Offset);
    if (end == std::string_view::npos) end = FText.size();
    while (FPos < end)
        Advance();
    std::string_view line = FText.substr(t.Offset, end - t.Offset);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    t.Kind = PgnTokenKind::Tag;
    t.Text = line;
    t.Value.clear();
    if (t.Name.empty()) return t;
    if (!line.empty() && line.back() == ']') line.remove_suffix(1);
    const size_t open = line.find('"');
    if (open == std::string_view::npos) {
        t.Name.clear();
        return t;
    }
    std::string_view value = line.substr(open + 1);
    const size_t close = value.rfind('"');
    if (close != std::string_view::npos) value = value.substr(0, close);
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == '"' || value[i + 1] == '\\'))
            ++i;
        t.Value += value[i];
    }
    return t;
}

PgnToken PgnScanner::ReadSymbol(PgnToken t) {
    if (std::isdigit(static_cast<unsigned char>(Peek()))) {
        size_t digits = 0;
        while (std::isdigit(static_cast<unsigned char>(Peek(digits))))
            ++digits;
        if (Peek(digits) == '.' || IsBlank(Peek(digits)) || Peek(digits) == '\0') {
            for (size_t i = 0; i < digits; ++i)
                Advance();
            while (Peek() == '.')
                Advance();
            t.Kind = PgnTokenKind::MoveNumber;
            t.Text = FText.substr(t.Offset, FPos - t.Offset);
            return t;
        }
    }
    while (IsSymbolChar(Peek()))
        Advance();
    t.Text = FText.substr(t.Offset, FPos - t.Offset);
    if (t.Text == "1-0" || t.Text == "0-1" || t.Text == "1/2-1/2") {
        t.Kind = PgnTokenKind::Result;
    } else if (t.Text.find_first_not_of("!?") == std::string_view::npos) {
        t.Kind = PgnTokenKind::Nag; // an annotation standing apart from its move
    } else {
        t.Kind = PgnTokenKind::Move;
    }
    return t;
}

void PgnScanner::SkipToNextTagLine() {
    if (!AtEnd()) Advance();
    while (!AtEnd()) {
        const bool lineStart = FPos == 0 || FText[FPos - 1] == '\n';
        if (lineStart && Peek() == '[') return;
        Advance();
    }
}
