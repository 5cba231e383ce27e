#pragma once
// TGameReviewer looks back over a finished game with the strong search: it evaluates every
// position of the game under a budget per position, and for every move tells the evaluation
// before and after it, the search's best move and line, the share of a win the mover gave
// away, a mark for a costly move and an accuracy figure per side. It runs on the caller's
// thread, reports its progress and stops at once when told to from another thread.
//
// The share of a win: a score of s centipawns for a side is worth an expected score of
// E(s) = 1 / (1 + 10^(-s / 400)) to it (the logistic curve of rating differences, a pawn
// being about 100 rating points); a mate for it is worth 1, a mate against it 0. A move
// loses E(before) - E(after) for its mover, 0 when it is the search's own choice and never
// below 0. Marks: "?!" from a loss of 0.10, "?" from 0.20, "??" from 0.30. Accuracy of a
// move: 100 * e^(-4 * loss) (a blunder of 0.30 scores 30); a side's accuracy is the mean over
// its moves, 100 when it made none.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "GameRecord.h"
#include "StrongSearch.h"

struct TReviewOptions {
    // The search's budget for each position: a node count when set, otherwise a time. The
    // default time makes a game of 40 moves take under 30 s.
    std::int64_t NodesPerPosition = 0;
    int MillisPerPosition = 350;
    std::size_t HashMegabytes = 16;
};

struct TMoveReview {
    // Evaluations from White's side in the search's units: centipawns, or a mate as
    // +-(strong::Mate - plies to it), positive when White mates.
    int Before = 0;                 // of the position the move was played in (best play assumed)
    int After = 0;                  // of the position it led to
    GameMove Best;                  // the search's choice where the move was played
    std::vector<GameMove> BestLine; // its line, Best first
    double Loss = 0;                // the mover's expected score given away, 0 to 1
    int Mark = MarkNone;            // MarkDubious, MarkMistake, MarkBlunder or none
};

struct TGameReview {
    std::vector<TMoveReview> Moves;  // as far as the review came
    double Accuracy[2] = {100, 100}; // White's, Black's, in percent
    bool Complete = false;           // every move reviewed (false when stopped or refused)
};

// The expected score of a White-side evaluation for the given side (the curve above).
double ExpectedScore(int whiteScore, bool forWhite);
// Whether an evaluation is a mate, and the moves to it: positive when White mates, negative
// when Black does, 0 for a position already mate.
bool IsMateScore(int score);
int MateMoves(int score);

class TGameReviewer {
  public:
    explicit TGameReviewer(const TReviewOptions& options = {});

    // Reviews the game from its start through all its moves. progress, when given, is called
    // on this thread after each position with the positions done and their number.
    TGameReview
    Review(const GameRecord& game,
           const std::function<void(std::size_t done, std::size_t total)>& progress = {});
    // Ends a running review at once, from any thread; the review returns what it has. The
    // stop holds until ResetStop, which is called while no review runs.
    void Stop();
    void ResetStop();

  private:
    struct TEvaluation {
        int Score = 0; // White's side
        std::vector<strong::Move> Line;
    };
    bool Evaluate(strong::TPosition& pos, TEvaluation& out);

    TReviewOptions Options;
    strong::TTranspositionTable TT;
    strong::TStrongSearch Search;
    std::atomic<bool> Stopped{false};
};

// Writes a review into the record's notes: the evaluation after each move, its mark, and
// for a marked move the search's line as the better one. Clocks already noted stay.
void AnnotateRecord(GameRecord& record, const TGameReview& review);
