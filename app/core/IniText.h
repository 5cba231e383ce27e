#pragma once
// The text of one profile file held as its lines, with the lookups and edits the profile
// calls need. It knows nothing of files: IniFile reads the bytes, edits them here and writes
// the result back.
//
// Lines are classified once: blank, comment (first non-blank character ';'), section header
// ('[' up to the last ']' of the line, the name trimmed), key (name = the trimmed text before
// the first '='), and anything else, which is kept and otherwise ignored. Keys before the
// first header belong to no section. When a section or key name occurs twice, the first one
// is the one read and replaced. Untouched lines come back byte for byte, each with its own
// line ending, also in a file that mixes CRLF and LF lines; a replaced line keeps its
// ending, and a new line gets the file's (CRLF when its first line ends so, else LF). A
// last line without an ending stays so, and a leading UTF-8 byte order mark is kept.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

class IniText {
  public:
    explicit IniText(std::string_view bytes);

    // The raw text after the '=' of key in section (not trimmed), or nothing when missing.
    std::optional<std::string_view> RawValue(std::string_view section, std::string_view key) const;
    std::vector<std::string> Keys(std::string_view section) const;

    // Replaces the first line of key in place (as "<name>=<value>", keeping the name's
    // spelling), or adds the key after the last non-blank line of the section, or adds the
    // section at the end of the text (after a blank line when the text does not end in one).
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of key in section; false when there was none.
    bool Remove(std::string_view section, std::string_view key);

    std::string Serialise() const;

  private:
    enum class Kind { Blank, Comment, Section, Key, Other };
    // What ends a line: the one it was read with (none for a last line without), or for a
    // line the program writes, the file's.
    enum class LineEnding { Crlf, Lf, None, File };
    struct Line {
        Kind kind;
        std::string text;       // the line without its ending
        std::string name;       // section or key name, trimmed
        std::size_t valueStart; // of a key line: the offset just after the '='
        LineEnding ending;
    };
    struct Range {
        std::size_t header; // index of the header line
        std::size_t end;    // one past the last line of the section
    };

    static Line Classify(std::string text);
    static LineEnding Ending(std::string_view text);
    std::optional<Range> FindSection(std::string_view name) const;
    std::optional<std::size_t> FindKey(const Range& range, std::string_view name) const;

    std::vector<Line> lines_;
    bool crlf_ = false;
    bool bom_ = false;
};

// What a reader sees of a raw value: the blanks around it stripped, then one pair of
// enclosing double quotes, then cut to kMaxValueLength characters.
std::string CleanValue(std::string_view raw);

// ASCII blanks (space, tab, CR, LF, vertical tab, form feed) stripped from both ends.
std::string_view TrimBlanks(std::string_view text);

} // namespace ini
