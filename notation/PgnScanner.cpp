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

void PgnScanner::SkipBlanksAndComments(PgnToken& error) {
    while (!AtEnd()) {
        const char c = Peek();
        const bool lineStart = FPos == 0 || FText[FPos - 1] == '\n';
        if (IsBlank(c)) {
            Advance();
        } else if (c == ';' || (c == '%' && lineStart)) {
            while (!AtEnd() && Peek() != '\n')
                Advance();
        } else if (c == '{') {
            const int opened = FLine;
            while (!AtEnd() && Peek() != '}')
                Advance();
            if (AtEnd()) {
                error = Failure(error, "the comment opened on line " + std::to_string(opened) +
                                           " is not closed");
                error.Line = opened;
                return;
            }
            Advance();
        } else {
            return;
        }
    }
}

PgnToken PgnScanner::Next() {
    PgnToken t;
    SkipBlanksAndComments(t);
    if (t.Kind == PgnTokenKind::Error) return t;
    t.Line = FLine;
    t.Offset = FPos;
    if (AtEnd()) return t;
    const char c = Peek();
    switch (c) {
    case '[':
        return ReadTag(t);
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

PgnToken PgnScanner::ReadTag(PgnToken t) {
    Advance(); // '['
    while (Peek() == ' ' || Peek() == '\t')
        Advance();
    const size_t nameStart = FPos;
    while (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_')
        Advance();
    t.Name = std::string(FText.substr(nameStart, FPos - nameStart));
    if (t.Name.empty()) return Failure(t, "a tag without a name");
    while (Peek() == ' ' || Peek() == '\t')
        Advance();
    if (Peek() != '"') return Failure(t, "the tag " + t.Name + " has no quoted value");
    Advance();
    for (;;) {
        const char v = Peek();
        if (AtEnd() || v == '\n' || v == '\r')
            return Failure(t, "the value of the tag " + t.Name + " has no closing quote");
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
    if (Peek() != ']') return Failure(t, "the tag " + t.Name + " is not closed with ]");
    Advance();
    t.Kind = PgnTokenKind::Tag;
    t.Text = FText.substr(t.Offset, FPos - t.Offset);
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
