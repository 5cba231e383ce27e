#pragma once
// Helpers shared by the notation tests: random legal games and games from SAN lists.

#include <random>
#include <sstream>
#include <string>

#include <vector>

#include <gtest/gtest.h>

#include "GameRecord.h"
#include "PgnReader.h"
#include "PgnWriter.h"
#include "San.h"

// A game of up to maxPlies random legal moves from the start (or from start), ending early
// when the side to move has none. Promotions favour the queen but take every piece.
inline GameRecord RandomGame(unsigned seed, int maxPlies = 160,
                             const FenPosition& start = StartFenPosition()) {
    std::mt19937 rng(seed);
    GameRecord record;
    record.Start = start;
    TReplayGame game(start);
    for (int ply = 0; ply < maxPlies; ++ply) {
        const std::vector<GameMove> moves = game.LegalMoves();
        if (moves.empty()) break;
        const GameMove m = moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)];
        if (!game.Play(m)) break;
        record.Moves.push_back(m);
    }
    return record;
}

// Plays SAN moves separated by spaces; the moves read, or fewer when one is refused.
inline GameRecord GameFromSan(const std::string& sans,
                              const FenPosition& start = StartFenPosition()) {
    GameRecord record;
    record.Start = start;
    TReplayGame game(start);
    std::istringstream in(sans);
    for (std::string san; in >> san;) {
        GameMove m;
        std::string error;
        if (!ReadSan(game, san, m, error) || !game.Play(m)) break;
        record.Moves.push_back(m);
    }
    return record;
}

// Gives the moves of a game random notes: clocks in whole seconds, evaluations in
// centipawns and mates, marks, and legal better lines of up to three moves.
inline void Annotate(GameRecord& record, unsigned seed) {
    std::mt19937 rng(seed);
    TReplayGame game(record.Start);
    for (size_t i = 0; i < record.Moves.size(); ++i) {
        const unsigned roll = rng();
        if (roll % 3 == 0) record.NoteToWrite(i).ClockMillis = rng() % 8'000'000 / 1000 * 1000;
        if (roll % 5 == 0) record.NoteToWrite(i).Eval = PgnEval{false, int(rng() % 4001) - 2000};
        if (roll % 7 == 0) record.NoteToWrite(i).Eval = PgnEval{true, int(rng() % 2) ? 4 : -9};
        if (roll % 4 == 0) record.NoteToWrite(i).Mark = int(rng() % 7);
        if (roll % 6 == 0) {
            TReplayGame line(game.Fen());
            std::vector<GameMove> better;
            for (int ply = 0; ply < 3; ++ply) {
                const std::vector<GameMove> moves = line.LegalMoves();
                if (moves.empty()) break;
                better.push_back(moves[rng() % moves.size()]);
                line.Play(better.back());
            }
            record.NoteToWrite(i).Better = better;
        }
        game.Play(record.Moves[i]);
    }
}

// The moves of record as exported, on one line, without their notes and the result.
inline std::string Sans(GameRecord record) {
    record.Notes.clear();
    const std::string pgn = WritePgn(record);
    std::istringstream in(pgn.substr(pgn.find("\n\n") + 2));
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    EXPECT_FALSE(words.empty()) << pgn;
    if (!words.empty()) words.pop_back();
    std::string line;
    for (const std::string& w : words)
        line += (line.empty() ? "" : " ") + w;
    return line;
}

// The game of a PGN text that must be read.
inline GameRecord Read(const std::string& text) {
    GameRecord record;
    std::string error;
    EXPECT_TRUE(ReadPgn(text, record, error)) << error;
    return record;
}
