#pragma once
// MoveNote is what a game's notation says about one move besides the move itself: the
// mover's clock after it, an evaluation of the position it led to, its mark ("?", "!?" ...)
// and a better line. PGN carries them as "{[%clk 0:04:58]}" and "{[%eval 0.35]}" comments,
// NAGs and a variation; this file also holds the texts of those comments and of the
// "TimeControl" tag.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GameClock.h"
#include "ReplayGame.h"

// An evaluation from White's side: centipawns, or the moves to a mate (positive when White
// mates, negative when Black does; never 0).
struct PgnEval {
    bool Mate = false;
    int Value = 0;
    friend bool operator==(const PgnEval&, const PgnEval&) = default;
};

// The marks of a move, as their NAG numbers.
enum PgnMark : int {
    MarkNone = 0,
    MarkGood = 1,        // "!"
    MarkMistake = 2,     // "?"
    MarkBrilliant = 3,   // "!!"
    MarkBlunder = 4,     // "??"
    MarkInteresting = 5, // "!?"
    MarkDubious = 6      // "?!"
};

struct MoveNote {
    std::int64_t ClockMillis = -1; // the mover's time left after the move; -1 when not known
    std::optional<PgnEval> Eval;   // of the position after the move
    int Mark = MarkNone;           // a PgnMark; other NAGs are not kept
    // A line to play instead of the move, from the position before it.
    std::vector<GameMove> Better;

    bool Empty() const { return ClockMillis < 0 && !Eval && Mark == MarkNone && Better.empty(); }
    friend bool operator==(const MoveNote&, const MoveNote&) = default;
};

// "0.35", "-1.20", "#3", "#-2"; empty for a mate in 0, which says nothing.
std::string EvalText(const PgnEval& eval);
// Reads what EvalText writes (also "+0.3", ".5", whole pawns); nothing beyond a thousand
// pawns or a thousand moves to mate.
std::optional<PgnEval> ReadEvalText(std::string_view text);

// "h:mm:ss", whole seconds rounded down.
std::string PgnClockText(std::int64_t millis);
// Reads "h:mm:ss", "m:ss" or with a fraction of a second, which is dropped; -1 when the
// text is none of these.
std::int64_t ReadPgnClockText(std::string_view text);

// The comment of a note's clock and evaluation, "[%eval 0.35] [%clk 0:04:58]"; empty when
// it has neither.
std::string NoteCommentText(const MoveNote& note);
// Takes the clock and the evaluation out of a comment's text into the note; other words of
// the comment are passed over.
void ReadNoteComment(std::string_view comment, MoveNote& note);

// The mark's sign ("?!") and the mark of a sign, MarkNone for anything else.
const char* MarkSign(int mark);
int MarkFromSign(std::string_view sign);

// The "TimeControl" tag: "-" for an untimed game, "180+2" (seconds and increment), "60"
// for no increment.
std::string TimeControlTagText(const TTimeControl& control);
// Reads that form back into a preset of the same times or a custom control; false for a
// tag that says nothing ("?", a form with moves per period, anything else).
bool ReadTimeControlTag(std::string_view text, TTimeControl& control);
