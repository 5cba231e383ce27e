#include "GameReview.h"

#include <algorithm>
#include <cmath>

#include "StrongMoveGen.h"

using namespace strong;

namespace {

constexpr double kDubious = 0.10, kMistake = 0.20, kBlunder = 0.30;

// The rules' move in the search's form; NoMove when the position has no such move.
Move ToSearchMove(TPosition& pos, const GameMove& m) {
    std::string text = SquareText(m.From) + SquareText(m.To);
    if (m.Promotion) text += m.Promotion;
    return pos.ParseMove(text);
}

GameMove ToGameMove(Move m) {
    const std::string text = TPosition::MoveText(m);
    GameMove move{SquareFromText(text.substr(0, 2)), SquareFromText(text.substr(2, 2)), 0};
    if (text.size() == 5) move.Promotion = text[4];
    return move;
}

int MarkForLoss(double loss) {
    if (loss >= kBlunder) return MarkBlunder;
    if (loss >= kMistake) return MarkMistake;
    if (loss >= kDubious) return MarkDubious;
    return MarkNone;
}

} // namespace

bool IsMateScore(int score) {
    return std::abs(score) >= MateBound;
}

int MateMoves(int score) {
    if (!IsMateScore(score)) return 0;
    const int plies = Mate - std::abs(score);
    const int moves = (plies + 1) / 2;
    return score > 0 ? moves : -moves;
}

double ExpectedScore(int whiteScore, bool forWhite) {
    const int s = forWhite ? whiteScore : -whiteScore;
    if (s >= MateBound) return 1;
    if (s <= -MateBound) return 0;
    return 1 / (1 + std::pow(10.0, -s / 400.0));
}

TGameReviewer::TGameReviewer(const TReviewOptions& options)
    : Options(options), TT(options.HashMegabytes), Search(TT) {}

void TGameReviewer::Stop() {
    Stopped = true;
    Search.Stop = true;
}

void TGameReviewer::ResetStop() {
    Stopped = false;
    Search.Stop = false;
}

bool TGameReviewer::Evaluate(TPosition& pos, TEvaluation& out) {
    // 1. A position without a move is mate or stalemate; no search needed.
    TMoveList legal;
    GenerateLegal(pos, legal);
    const int sign = pos.Side == White ? 1 : -1;
    out.Line.clear();
    if (legal.Size == 0) {
        out.Score = pos.InCheck() ? -sign * Mate : 0;
        return true;
    }
    // 2. The search under the budget; its last finished iteration gives score and line.
    TSearchLimits limits;
    if (Options.NodesPerPosition > 0)
        limits.Nodes = Options.NodesPerPosition;
    else
        limits.MoveTime = std::max(Options.MillisPerPosition, 1);
    TSearchReport last;
    Search.OnReport = [&last](const TSearchReport& r) { last = r; };
    Move best = Search.Go(pos, limits);
    // 3. A budget too small for one iteration: the first one in full.
    if (Search.CompletedDepth == 0 && !Stopped) {
        TSearchLimits one;
        one.Depth = 1;
        best = Search.Go(pos, one);
    }
    Search.OnReport = nullptr;
    if (Stopped || Search.CompletedDepth == 0) return false;
    out.Score = sign * Search.LastScore;
    out.Line = last.Pv;
    if (out.Line.empty() || out.Line.front() != best) out.Line.assign(1, best);
    return true;
}

TGameReview TGameReviewer::Review(const GameRecord& game,
                                  const std::function<void(std::size_t, std::size_t)>& progress) {
    TGameReview review;
    TPosition pos;
    if (!pos.SetFen(WriteFen(game.Start))) return review;
    const std::size_t total = game.Moves.size() + 1;
    TEvaluation before;
    if (Stopped || !Evaluate(pos, before)) return review;
    if (progress) progress(1, total);
    bool white = pos.Side == White;
    double sum[2] = {0, 0};
    int count[2] = {0, 0};
    for (std::size_t i = 0; i < game.Moves.size(); ++i) {
        // 1. The move on the search's board, then the position it leads to.
        const Move played = ToSearchMove(pos, game.Moves[i]);
        if (played == NoMove) return review;
        pos.DoMove(played);
        TEvaluation after;
        if (Stopped || !Evaluate(pos, after)) return review;
        if (progress) progress(i + 2, total);
        // 2. What the move cost its mover.
        TMoveReview r;
        r.Before = before.Score;
        r.After = after.Score;
        for (const Move m : before.Line)
            r.BestLine.push_back(ToGameMove(m));
        if (!r.BestLine.empty()) r.Best = r.BestLine.front();
        const bool chosen = !before.Line.empty() && before.Line.front() == played;
        if (!chosen)
            r.Loss = std::max(0.0, ExpectedScore(r.Before, white) - ExpectedScore(r.After, white));
        r.Mark = MarkForLoss(r.Loss);
        sum[white ? 0 : 1] += 100 * std::exp(-4 * r.Loss);
        ++count[white ? 0 : 1];
        review.Moves.push_back(std::move(r));
        before = std::move(after);
        white = !white;
    }
    for (int side = 0; side < 2; ++side)
        if (count[side]) review.Accuracy[side] = sum[side] / count[side];
    review.Complete = true;
    return review;
}

void AnnotateRecord(GameRecord& record, const TGameReview& review) {
    for (std::size_t i = 0; i < review.Moves.size() && i < record.Moves.size(); ++i) {
        const TMoveReview& r = review.Moves[i];
        MoveNote& note = record.NoteToWrite(i);
        if (IsMateScore(r.After)) {
            const int moves = MateMoves(r.After);
            note.Eval.reset();
            if (moves != 0) note.Eval = PgnEval{true, moves};
        } else {
            note.Eval = PgnEval{false, r.After};
        }
        note.Mark = r.Mark;
        note.Better.clear();
        if (r.Mark != MarkNone) note.Better = r.BestLine;
    }
}
