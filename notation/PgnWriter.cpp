#include "PgnWriter.h"

#include <array>
#include <vector>

#include "San.h"

namespace {

constexpr std::array<const char*, 7> kRoster = {"Event", "Site",  "Date",  "Round",
                                                "White", "Black", "Result"};

const MoveNote kNoNote;

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

// The moves of a line from the game's position as words, "12." before White's and "12..."
// before a Black move that opens the line. It ends at the first move the rules refuse,
// whose number is left standing; false then.
bool LineWords(TReplayGame& game, const std::vector<GameMove>& moves, bool numberFirst,
               std::vector<std::string>& words) {
    for (const GameMove& m : moves) {
        const std::string number = std::to_string(game.FullMoveNumber());
        if (game.WhiteToMove())
            words.push_back(number + ".");
        else if (numberFirst)
            words.push_back(number + "...");
        const std::string san = WriteSan(game, m);
        if (!game.Play(m)) return false;
        words.push_back(san);
        numberFirst = false;
    }
    return true;
}

// What follows a move for its note: the mark as a NAG, the clock and evaluation comment and
// the better line as a variation (its legal beginning). True when a comment or variation
// was written, after which a Black move needs its number again.
bool NoteWords(const FenPosition& before, const MoveNote& note, std::vector<std::string>& words) {
    if (*MarkSign(note.Mark)) words.push_back("$" + std::to_string(note.Mark));
    bool interrupted = false;
    const std::string comment = NoteCommentText(note);
    if (!comment.empty()) {
        words.push_back("{" + comment + "}");
        interrupted = true;
    }
    if (!note.Better.empty()) {
        TReplayGame line(before);
        std::vector<std::string> variation;
        if (!LineWords(line, note.Better, true, variation)) variation.pop_back();
        if (!variation.empty()) {
            variation.front() = "(" + variation.front();
            variation.back() += ")";
            words.insert(words.end(), variation.begin(), variation.end());
            interrupted = true;
        }
    }
    return interrupted;
}

// The movetext as separate words: move numbers, moves, the notes when asked for, and the
// result.
std::vector<std::string> MoveWords(const GameRecord& record, bool withNotes) {
    std::vector<std::string> words;
    TReplayGame game(record.Start);
    bool numberBlack = true;
    for (size_t i = 0; i < record.Moves.size(); ++i) {
        const MoveNote& note = withNotes ? record.Note(i) : kNoNote;
        const FenPosition before = note.Better.empty() ? FenPosition() : game.Fen();
        if (!LineWords(game, {record.Moves[i]}, numberBlack, words)) break;
        numberBlack = NoteWords(before, note, words);
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
    for (const std::string& w : MoveWords(record, true)) {
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
