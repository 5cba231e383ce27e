#pragma once
// PgnScanner cuts PGN text into tokens: tag pairs, variation brackets, NAGs, move numbers,
// move symbols, results and comments in braces (their text without the braces). It skips
// white space, ";" comments to the end of the line and "%" escape lines, and counts lines
// so that every token knows its own.

#include <cstddef>
#include <string>
#include <string_view>

enum class PgnTokenKind {
    End,
    Tag,
    VariationOpen,
    VariationClose,
    Nag,
    MoveNumber,
    Move,
    Result,
    Comment,
    Error
};

struct PgnToken {
    PgnTokenKind Kind = PgnTokenKind::End;
    std::string_view Text; // the token as written (a move, a result)
    int Line = 1;
    size_t Offset = 0;
    // A tag's name and unescaped value (an empty name for a tag line too damaged to say
    // anything); for Error, Value is the reason.
    std::string Name, Value;
};

class PgnScanner {
  public:
    PgnScanner(std::string_view text, size_t offset = 0, int line = 1)
        : FText(text), FPos(offset), FLine(line) {}

    PgnToken Next();
    // After an error: moves on to the next line that begins with "[".
    void SkipToNextTagLine();
    size_t Offset() const { return FPos; }

  private:
    // White space, ";" comments and "%" escape lines.
    void SkipBlanks();
    PgnToken ReadComment(PgnToken t);
    PgnToken ReadTag(PgnToken t);
    PgnToken ReadTagLeniently(PgnToken t);
    PgnToken ReadSymbol(PgnToken t);
    char Peek(size_t ahead = 0) const {
        return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0';
    }
    bool AtEnd() const { return FPos >= FText.size(); }
    void Advance() {
        if (FText[FPos] == '\n') ++FLine;
        ++FPos;
    }

    std::string_view FText;
    size_t FPos;
    int FLine;
};
