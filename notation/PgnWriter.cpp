#include "PgnWriter.h"

#include <array>
#include <vector>

#include "San.h"

namespace {

constexpr std::array<const char*, 7> kRoster = {"Event", "Site",  "Date",  "Round",
                                                "White", "Black", "Result"};

std::string Escaped(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
        out += c;
    }
    return out;
}

bool InRoster(const std::string& name) {
    for (const char* r : kRoster)
        if (name == r) return true;
    return false;
}

// The movetext as separate words: move numbers, moves and the result.
std::vector<std::string> MoveWords(const GameRecord& record) {
    std::vector<std::string> words;
    TReplayGame game(record.Start);
    bool first = true;
    for (const GameMove& m : record.Moves) {
        const std::string number = std::to_string(game.FullMoveNumber());
        if (game.WhiteToMove())
            words.push_back(number + ".");
        else if (first)
            words.push_back(number + "...");
        const std::string san = WriteSan(game, m);
        if (!game.Play(m)) break;
        words.push_back(san);
        first = false;
    }
    words.push_back(record.Result.empty() ? "*" : record.Result);
    return words;
}

} // namespace

std::string WritePgn(const GameRecord& record) {
    std::string out;
    const auto tag = [&out](const std::string& name, const std::string& value) {
        out += "[" + name + " \"" + Escaped(value) + "\"]\n";
    };
    for (const char* name : kRoster) {
        const bool result = name == std::string("Result");
        const std::string value = result ? record.Result : record.Tag(name);
        tag(name, !value.empty() ? value : result ? "*" : "?");
    }
    const bool setUp = record.IsSetUp();
    if (setUp) {
        tag("SetUp", "1");
        tag("FEN", WriteFen(record.Start));
    }
    for (const auto& [name, value] : record.Tags)
        if (!InRoster(name) && name != "SetUp" && name != "FEN") tag(name, value);
    out += '\n';
    std::string line;
    for (const std::string& w : MoveWords(record)) {
        if (!line.empty() && line.size() + 1 + w.size() > 79) {
            out += line + '\n';
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += w;
    }
    out += line + "\n\n";
    return out;
}
