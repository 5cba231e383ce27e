#pragma once
// GameRecord is a whole game as notation carries it: its tags, the position it began from,
// the moves played and the result. It is built from a PGN text or from the history of a
// game of the rules, and written back to either. Its moves may carry notes: clocks,
// evaluations, marks and better lines.

#include <string>
#include <utility>
#include <vector>

#include "ChessGame.h"
#include "Fen.h"
#include "MoveNote.h"
#include "ReplayGame.h"

struct GameRecord {
    std::vector<std::pair<std::string, std::string>> Tags; // in the order read or set
    FenPosition Start = StartFenPosition();
    std::vector<GameMove> Moves;
    std::string Result = "*"; // "1-0", "0-1", "1/2-1/2" or "*"
    // Empty when no move has a note, otherwise one per move (an empty note for the others).
    std::vector<MoveNote> Notes;

    // The value of a tag, empty when it is missing.
    std::string Tag(const std::string& name) const;
    // Replaces the tag's value or appends the tag.
    void SetTag(const std::string& name, const std::string& value);
    // True when the game did not begin from the normal start position.
    bool IsSetUp() const;
    // The note of a move, an empty one when it has none.
    const MoveNote& Note(size_t move) const;
    // The note of a move for writing; the notes grow to one per move.
    MoveNote& NoteToWrite(size_t move);
};

// Gives every move the mover's time after it from a game clock's record (History()[n + 1]
// for move n), as far as both reach.
void SetMoveClocks(GameRecord& record, const std::vector<TGameClock::TTimes>& times);

// The game of the rules from the first recorded position to the end of its history
// (whatever half-move it shows after stepping), with the promotion pieces read from the
// positions that follow them. The rules number moves from 1 and keep no half-move clock;
// when the history begins in the position of knownStart, that position's counters are
// used instead.
GameRecord RecordFromHistory(const TChessGame& game, const FenPosition* knownStart = nullptr);

// Replays the record's moves from its start; the number of moves the rules accepted (all of
// them for a record read through notation).
size_t Replay(const GameRecord& record, TReplayGame& game);

// The result the rules give the game's last position: "1-0" or "0-1" after checkmate,
// "1/2-1/2" after stalemate, a threefold repetition or with no mating material left on
// either side; "*" while the game goes on.
std::string ResultByRules(const GameRecord& record);
