#include "PgnReader.h"

#include <algorithm>

#include "Excerpt.h"
#include "PgnScanner.h"
#include "San.h"

namespace {

std::string AtLine(int line, const std::string& reason) {
    return "line " + std::to_string(line) + ": " + reason;
}

// Reads one game token by token: the tags, then the movetext up to its result, the next
// game's tags or the end of the text.
class GameReader {
  public:
    GameReader(std::string_view text, const PgnGameEntry& entry)
        : FScanner(text, entry.Offset, entry.Line) {}

    bool Read(GameRecord& record, std::string& error) {
        for (;;) {
            const PgnToken t = FScanner.Next();
            if (t.Kind == PgnTokenKind::Error) return Fail(t.Line, t.Value, error);
            if (t.Kind == PgnTokenKind::End) break;
            if (t.Kind == PgnTokenKind::Comment) {
                TakeComment(t);
                continue;
            }
            if (t.Kind == PgnTokenKind::Tag) {
                if (FInMoves && FDepth == 0) break; // the next game begins: no result here
                if (FDepth > 0)
                    return Fail(FVariationLine,
                                "the variation opened here is not closed before a tag", error);
                if (!t.Name.empty()) FRecord.SetTag(t.Name, t.Value);
                if (t.Name == "FEN") FFenLine = t.Line;
                FAny = true;
                continue;
            }
            if (!FInMoves && !StartMoves(error)) return false;
            FAny = true;
            if (!Take(t, error)) return false;
            if (t.Kind == PgnTokenKind::Result && FDepth == 0) {
                FRecord.Result = std::string(t.Text);
                FResultSeen = true;
                break;
            }
        }
        if (FDepth > 0)
            return Fail(FVariationLine, "the variation opened here is not closed", error);
        if (!FAny) return Fail(FScanner.Offset() ? FLastLine : 1, "no game found", error);
        if (!FInMoves && !StartMoves(error)) return false;
        if (!FResultSeen) {
            const std::string tagged = FRecord.Tag("Result");
            if (tagged == "1-0" || tagged == "0-1" || tagged == "1/2-1/2") FRecord.Result = tagged;
        }
        const auto empty = [](const MoveNote& n) { return n.Empty(); };
        if (std::all_of(FRecord.Notes.begin(), FRecord.Notes.end(), empty))
            FRecord.Notes.clear();
        else
            FRecord.Notes.resize(FRecord.Moves.size());
        record = std::move(FRecord);
        return true;
    }

  private:
    bool Fail(int line, const std::string& reason, std::string& error) {
        error = AtLine(line, reason);
        return false;
    }

    // The game begins from the FEN tag's position when there is one.
    bool StartMoves(std::string& error) {
        FInMoves = true;
        const std::string fen = FRecord.Tag("FEN");
        if (!fen.empty()) {
            std::string reason;
            if (!ReadFen(fen, FRecord.Start, reason))
                return Fail(FFenLine, "the FEN tag: " + reason, error);
        }
        FGame.SetUp(FRecord.Start);
        return true;
    }

    bool Take(const PgnToken& t, std::string& error) {
        FLastLine = t.Line;
        switch (t.Kind) {
        case PgnTokenKind::VariationOpen:
            if (FDepth++ == 0) {
                FVariationLine = t.Line;
                OpenBetterLine();
            }
            return true;
        case PgnTokenKind::VariationClose:
            if (FDepth == 0) return Fail(t.Line, "a ) that closes no variation", error);
            if (--FDepth == 0) CloseBetterLine();
            return true;
        case PgnTokenKind::Move:
            if (FDepth == 1) TakeBetterMove(t.Text);
            if (FDepth > 0) return true;
            if (!PlayMove(t, error)) return false;
            TakeMark(t.Text.substr(t.Text.find_last_not_of("!?") + 1));
            return true;
        case PgnTokenKind::Nag:
            if (FDepth == 0) TakeMark(t.Text);
            return true;
        default:
            return true; // move numbers, results inside variations
        }
    }

    // The notes of the last move of the game: its comment's clock and evaluation, its first
    // mark and its first variation, which must be legal from the position before the move.
    // Anything before the first move, or inside variations, is passed over.
    void TakeComment(const PgnToken& t) {
        if (!FInMoves || FDepth > 0 || FRecord.Moves.empty()) return;
        MoveNote note = FRecord.Note(FRecord.Moves.size() - 1);
        ReadNoteComment(t.Text, note);
        if (!(note == FRecord.Note(FRecord.Moves.size() - 1)))
            FRecord.NoteToWrite(FRecord.Moves.size() - 1) = note;
    }

    void TakeMark(std::string_view text) {
        if (FRecord.Moves.empty() || text.empty()) return;
        int mark = MarkFromSign(text);
        if (text.front() == '$') {
            const std::string_view digits = text.substr(1);
            if (digits.size() == 1 && digits[0] >= '1' && digits[0] <= '6') mark = digits[0] - '0';
        }
        const size_t last = FRecord.Moves.size() - 1;
        if (mark != MarkNone && FRecord.Note(last).Mark == MarkNone)
            FRecord.NoteToWrite(last).Mark = mark;
    }

    void OpenBetterLine() {
        FBetter.clear();
        FBetterOpen = !FRecord.Moves.empty() && FLineFor != FRecord.Moves.size();
        FLineFor = FRecord.Moves.size();
        if (FBetterOpen) FLine.SetUp(FBefore);
    }

    void TakeBetterMove(std::string_view text) {
        if (!FBetterOpen) return;
        GameMove move;
        std::string reason;
        if (ReadSan(FLine, text, move, reason) && FLine.Play(move)) {
            FBetter.push_back(move);
        } else {
            FBetterOpen = false; // a line that breaks the rules is no better line
        }
    }

    void CloseBetterLine() {
        if (FBetterOpen && !FBetter.empty())
            FRecord.NoteToWrite(FRecord.Moves.size() - 1).Better = std::move(FBetter);
        FBetterOpen = false;
        FBetter.clear();
    }

    bool PlayMove(const PgnToken& t, std::string& error) {
        const std::string number = std::to_string(FGame.FullMoveNumber());
        const std::string named =
            "move " + number + (FGame.WhiteToMove() ? " " : " ... ") + Excerpt(t.Text) + ": ";
        // The rules end a game at mate and stalemate; say so rather than that the piece
        // cannot move. A repetition is a draw only when claimed, and games go on past it.
        if (!FGame.HasLegalMove())
            return Fail(t.Line,
                        named + (FGame.SideToMoveInCheck() ? "the game ended in checkmate"
                                                           : "the game ended in stalemate"),
                        error);
        GameMove move;
        std::string reason;
        if (!ReadSan(FGame, t.Text, move, reason)) return Fail(t.Line, named + reason, error);
        FBefore = FGame.Fen();
        if (!FGame.Play(move)) return Fail(t.Line, named + "the rules refuse it", error);
        FRecord.Moves.push_back(move);
        return true;
    }

    PgnScanner FScanner;
    GameRecord FRecord;
    TReplayGame FGame;
    FenPosition FBefore; // the position before the last move of the game
    TReplayGame FLine;   // the better line being read
    std::vector<GameMove> FBetter;
    bool FBetterOpen = false;
    size_t FLineFor = 0; // the number of moves played when the last variation opened
    bool FInMoves = false;
    bool FAny = false;
    bool FResultSeen = false;
    int FDepth = 0;
    int FVariationLine = 0;
    int FFenLine = 0;
    int FLastLine = 1;
};

} // namespace

bool ReadPgnGame(std::string_view text, const PgnGameEntry& entry, GameRecord& record,
                 std::string& error) {
    if (entry.Offset > text.size()) {
        error = AtLine(entry.Line, "no game found");
        return false;
    }
    return GameReader(text, entry).Read(record, error);
}

std::vector<PgnGameEntry> ListPgnGames(std::string_view text,
                                       const std::function<bool(size_t)>& progress) {
    std::vector<PgnGameEntry> games;
    PgnScanner scanner(text);
    bool open = false;    // a game has begun
    bool inMoves = false; // and its movetext too
    size_t count = 0;
    int depth = 0;
    for (;;) {
        const PgnToken t = scanner.Next();
        if (progress && (++count & 0xFFF) == 0 && !progress(t.Offset)) break;
        if (t.Kind == PgnTokenKind::End) break;
        if (t.Kind == PgnTokenKind::Comment) continue;
        if (t.Kind == PgnTokenKind::Error) {
            // The game is listed; reading it reports the fault. Go on with the next one.
            if (!open) games.push_back({t.Offset, t.Line, {}, {}, {}, {}, {}});
            open = inMoves = false;
            depth = 0;
            scanner.SkipToNextTagLine();
            continue;
        }
        const bool startsGame = !open || (inMoves && t.Kind == PgnTokenKind::Tag);
        if (startsGame) {
            games.push_back({t.Offset, t.Line, {}, {}, {}, {}, {}});
            open = true;
            inMoves = false;
            depth = 0;
        }
        PgnGameEntry& g = games.back();
        if (t.Kind == PgnTokenKind::Tag) {
            if (t.Name == "White") g.White = t.Value;
            if (t.Name == "Black") g.Black = t.Value;
            if (t.Name == "Event") g.Event = t.Value;
            if (t.Name == "Date") g.Date = t.Value;
            if (t.Name == "Result") g.Result = t.Value;
            continue;
        }
        inMoves = true;
        if (t.Kind == PgnTokenKind::VariationOpen) ++depth;
        if (t.Kind == PgnTokenKind::VariationClose && depth > 0) --depth;
        if (t.Kind == PgnTokenKind::Result && depth == 0) {
            open = inMoves = false;
            g.Result = std::string(t.Text);
        }
    }
    return games;
}
