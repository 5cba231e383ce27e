#include "IniText.h"

#include "IniFile.h"
#include "Text.h"

#include <unordered_set>

namespace ini {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string CleanValue(std::string_view raw) {
    std::string_view value = TrimBlanks(raw);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValueLength));
}

IniText::IniText(std::string_view bytes) {
    if (bytes.substr(0, kBom.size()) == kBom) {
        bom_ = true;
        bytes.remove_prefix(kBom.size());
    }
    const std::size_t firstBreak = bytes.find('\n');
    crlf_ = firstBreak != std::string_view::npos && firstBreak > 0 && bytes[firstBreak - 1] == '\r';

    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t stop = bytes.find('\n', start);
        const std::size_t next = stop == std::string_view::npos ? bytes.size() : stop + 1;
        if (stop == std::string_view::npos)
            stop = bytes.size(); // a last line without an ending keeps even a final CR
        else if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        Line line = Classify(std::string(bytes.substr(start, stop - start)));
        line.ending = Ending(bytes.substr(stop, next - stop));
        lines_.push_back(std::move(line));
        start = next;
    }
}

IniText::LineEnding IniText::Ending(std::string_view text) {
    if (text == "\r\n") return LineEnding::Crlf;
    if (text == "\n") return LineEnding::Lf;
    return LineEnding::None;
}

IniText::Line IniText::Classify(std::string text) {
    Line line{Kind::Other, std::move(text), {}, 0, LineEnding::File};
    const std::string_view trimmed = TrimBlanks(line.text);
    if (trimmed.empty()) {
        line.kind = Kind::Blank;
    } else if (trimmed.front() == ';') {
        line.kind = Kind::Comment;
    } else if (trimmed.front() == '[' && trimmed.find(']') != std::string_view::npos) {
        line.kind = Kind::Section;
        const std::size_t close = trimmed.rfind(']');
        line.name = std::string(TrimBlanks(trimmed.substr(1, close - 1)));
    } else if (const std::size_t eq = line.text.find('='); eq != std::string::npos) {
        line.kind = Kind::Key;
        line.name = std::string(TrimBlanks(std::string_view(line.text).substr(0, eq)));
        line.valueStart = eq + 1;
    }
    return line;
}

std::optional<IniText::Range> IniText::FindSection(std::string_view name) const {
    name = TrimBlanks(name);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section || !EqualIgnoringCase(lines_[i].name, name)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Section)
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniText::FindKey(const Range& range, std::string_view name) const {
    name = TrimBlanks(name);
    for (std::size_t i = range.header + 1; i < range.end; ++i)
        if (lines_[i].kind == Kind::Key && EqualIgnoringCase(lines_[i].name, name)) return i;
    return std::nullopt;
}

std::optional<std::string_view> IniText::RawValue(std::string_view section,
                                                  std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) return std::nullopt;
    const auto index = FindKey(*range, key);
    if (!index) return std::nullopt;
    const Line& line = lines_[*index];
    return std::string_view(line.text).substr(line.valueStart);
}

std::vector<std::string> IniText::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const auto range = FindSection(section);
    if (!range) return keys;
    std::unordered_set<std::string> seen;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (lines_[i].kind != Kind::Key) continue;
        // A repeated key is listed once, where it first appears.
        std::string folded = lines_[i].name;
        for (char& c : folded)
            c = LowerAscii(c);
        if (seen.insert(std::move(folded)).second) keys.push_back(lines_[i].name);
    }
    return keys;
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    const auto range = FindSection(section);
    if (!range) {
        if (!lines_.empty() && lines_.back().kind != Kind::Blank)
            lines_.push_back(Classify(std::string()));
        lines_.push_back(Classify("[" + std::string(section) + "]"));
        lines_.push_back(Classify(std::string(key) + "=" + std::string(value)));
        return;
    }
    if (const auto index = FindKey(*range, key)) {
        const std::string name = lines_[*index].name;
        const LineEnding ending = lines_[*index].ending;
        lines_[*index] = Classify(name + "=" + std::string(value));
        lines_[*index].ending = ending;
        return;
    }
    std::size_t at = range->end;
    while (at > range->header + 1 && lines_[at - 1].kind == Kind::Blank)
        --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  Classify(std::string(key) + "=" + std::string(value)));
}

bool IniText::Remove(std::string_view section, std::string_view key) {
    const auto range = FindSection(section);
    if (!range) return false;
    key = TrimBlanks(key);
    bool removed = false;
    std::size_t end = range->end;
    for (std::size_t i = range->header + 1; i < end;) {
        if (lines_[i].kind == Kind::Key && EqualIgnoringCase(lines_[i].name, key)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            --end;
            removed = true;
        } else {
            ++i;
        }
    }
    return removed;
}

std::string IniText::Serialise() const {
    // Every line read keeps its own ending; a new line gets the file's. The last line read
    // may have had none: a line added after it needs one to begin on a line of its own.
    const std::string_view fileEnding = crlf_ ? "\r\n" : "\n";
    std::string out;
    if (bom_) out += kBom;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        out += line.text;
        switch (line.ending) {
        case LineEnding::Crlf:
            out += "\r\n";
            break;
        case LineEnding::Lf:
            out += '\n';
            break;
        case LineEnding::None:
            if (i + 1 < lines_.size()) out += fileEnding;
            break;
        case LineEnding::File:
            out += fileEnding;
            break;
        }
    }
    return out;
}

} // namespace ini
