#include "MoveNote.h"

#include <array>
#include <cctype>
#include <cstdlib>

namespace {

constexpr int kMaxCentipawns = 100'000;
constexpr int kMaxMateMoves = 1000;

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A run of at most nine digits at the front of text, taken off it; -1 when there is none.
long long TakeNumber(std::string_view& text) {
    size_t n = 0;
    while (n < text.size() && IsDigit(text[n]))
        ++n;
    if (n == 0 || n > 9) return -1;
    const long long value = std::atoll(std::string(text.substr(0, n)).c_str());
    text.remove_prefix(n);
    return value;
}

std::string TwoDigits(long long n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The argument of "[%name arg]" in a comment, empty when the command is not there. Other
// programs break long comments across lines, between the name and its argument too.
std::string_view CommandArgument(std::string_view comment, std::string_view name) {
    const std::string key = "[%" + std::string(name);
    for (size_t at = comment.find(key); at != std::string_view::npos;
         at = comment.find(key, at + 1)) {
        size_t p = at + key.size();
        if (p >= comment.size() || !IsBlank(comment[p])) continue;
        while (p < comment.size() && IsBlank(comment[p]))
            ++p;
        size_t end = p;
        while (end < comment.size() && comment[end] != ']' && !IsBlank(comment[end]) &&
               comment[end] != ',')
            ++end;
        return comment.substr(p, end - p);
    }
    return {};
}

constexpr std::array<const char*, 7> kSigns = {"", "!", "?", "!!", "??", "!?", "?!"};

} // namespace

std::string EvalText(const PgnEval& eval) {
    if (eval.Mate) return eval.Value == 0 ? std::string() : "#" + std::to_string(eval.Value);
    const int magnitude = std::abs(eval.Value);
    return (eval.Value < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." +
           TwoDigits(magnitude % 100);
}

std::optional<PgnEval> ReadEvalText(std::string_view text) {
    PgnEval eval;
    if (!text.empty() && text.front() == '#') {
        eval.Mate = true;
        text.remove_prefix(1);
    }
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (eval.Mate) {
        const long long moves = TakeNumber(text);
        if (moves <= 0 || moves > kMaxMateMoves || !text.empty()) return std::nullopt;
        eval.Value = static_cast<int>(negative ? -moves : moves);
        return eval;
    }
    long long whole = 0;
    if (text.empty() || text.front() != '.') {
        whole = TakeNumber(text);
        if (whole < 0) return std::nullopt;
    }
    long long hundredths = 0;
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        size_t n = 0;
        for (; n < text.size() && IsDigit(text[n]); ++n) {
            if (n < 2) hundredths = hundredths * 10 + (text[n] - '0');
            if (n == 2 && text[n] >= '5') ++hundredths; // to the nearest centipawn
        }
        if (n == 1) hundredths *= 10;
        if (n == 0 && whole == 0) return std::nullopt;
        text.remove_prefix(n);
    }
    if (!text.empty()) return std::nullopt;
    const long long centipawns = whole * 100 + hundredths;
    if (centipawns > kMaxCentipawns) return std::nullopt;
    eval.Value = static_cast<int>(negative ? -centipawns : centipawns);
    return eval;
}

std::string PgnClockText(std::int64_t millis) {
    const long long seconds = millis < 0 ? 0 : millis / 1000;
    return std::to_string(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
           TwoDigits(seconds % 60);
}

std::int64_t ReadPgnClockText(std::string_view text) {
    long long parts[3] = {0, 0, 0};
    int count = 0;
    for (;;) {
        const long long n = TakeNumber(text);
        if (n < 0 || count == 3) return -1;
        parts[count++] = n;
        if (text.empty() || text.front() != ':') break;
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        while (!text.empty() && IsDigit(text.front()))
            text.remove_prefix(1);
    }
    if (count < 2 || !text.empty()) return -1;
    const long long hours = count == 3 ? parts[0] : 0;
    const long long minutes = parts[count - 2];
    const long long seconds = parts[count - 1];
    if (minutes >= 60 || seconds >= 60 || hours > 999) return -1;
    return ((hours * 60 + minutes) * 60 + seconds) * 1000;
}

std::string NoteCommentText(const MoveNote& note) {
    std::string text;
    const std::string eval = note.Eval ? EvalText(*note.Eval) : std::string();
    if (!eval.empty()) text = "[%eval " + eval + "]";
    if (note.ClockMillis >= 0) {
        if (!text.empty()) text += ' ';
        text += "[%clk " + PgnClockText(note.ClockMillis) + "]";
    }
    return text;
}

void ReadNoteComment(std::string_view comment, MoveNote& note) {
    const std::string_view clock = CommandArgument(comment, "clk");
    if (!clock.empty()) {
        const std::int64_t millis = ReadPgnClockText(clock);
        if (millis >= 0) note.ClockMillis = millis;
    }
    const std::string_view eval = CommandArgument(comment, "eval");
    if (!eval.empty()) {
        const std::optional<PgnEval> read = ReadEvalText(eval);
        if (read && !EvalText(*read).empty()) note.Eval = read;
    }
}

const char* MarkSign(int mark) {
    return mark > 0 && mark < static_cast<int>(kSigns.size()) ? kSigns[mark] : "";
}

int MarkFromSign(std::string_view sign) {
    for (size_t i = 1; i < kSigns.size(); ++i)
        if (sign == kSigns[i]) return static_cast<int>(i);
    return MarkNone;
}

std::string TimeControlTagText(const TTimeControl& control) {
    if (control.Untimed()) return "-";
    std::string text = std::to_string(control.BaseMillis / 1000);
    if (control.IncrementMillis > 0) text += "+" + std::to_string(control.IncrementMillis / 1000);
    return text;
}

bool ReadTimeControlTag(std::string_view text, TTimeControl& control) {
    if (text == "-") {
        control = TimeControlPresets().front();
        return true;
    }
    const long long base = TakeNumber(text);
    long long increment = 0;
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        increment = TakeNumber(text);
    }
    if (base <= 0 || increment < 0 || !text.empty()) return false;
    for (const TTimeControl& preset : TimeControlPresets()) {
        if (preset.BaseMillis == base * 1000 && preset.IncrementMillis == increment * 1000) {
            control = preset;
            return true;
        }
    }
    control = CustomTimeControl(static_cast<int>(base), static_cast<int>(increment));
    return true;
}
