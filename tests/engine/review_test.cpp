// The review of finished games whose mistakes are known: a hung queen and a move into mate
// are marked and nothing else is, a mate missed while still winning is no mistake, mates
// come out as mates in the notes, and a review stops at once from another thread.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "NotationTestSupport.h"
#include "GameReview.h"

namespace {

TReviewOptions ByNodes(std::int64_t nodes) {
    TReviewOptions options;
    options.NodesPerPosition = nodes;
    options.HashMegabytes = 8;
    return options;
}

std::vector<int> Marks(const TGameReview& review) {
    std::vector<int> marks;
    for (const TMoveReview& r : review.Moves)
        marks.push_back(r.Mark);
    return marks;
}

FenPosition Fen(const char* text) {
    FenPosition position;
    std::string error;
    EXPECT_TRUE(ReadFen(text, position, error)) << error;
    return position;
}

} // namespace

TEST(Review, AHungQueenIsTheOneBlunderOfTheGame) {
    // 3. Qg4 puts the queen where the knight takes it for nothing.
    GameRecord game = GameFromSan("e4 e5 Nc3 Nf6 Qg4 Nxg4 Nf3 d6");
    ASSERT_EQ(game.Moves.size(), 8u);
    TGameReviewer reviewer(ByNodes(30'000));
    std::vector<std::size_t> progress;
    const TGameReview review = reviewer.Review(game, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 9u);
        progress.push_back(done);
    });
    ASSERT_TRUE(review.Complete);
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Marks(review), (std::vector<int>{MarkNone, MarkNone, MarkNone, MarkNone, MarkBlunder,
                                               MarkNone, MarkNone, MarkNone}));
    const TMoveReview& blunder = review.Moves[4];
    EXPECT_GT(blunder.Loss, 0.4);
    EXPECT_LT(blunder.After, -500);
    EXPECT_GT(blunder.Before, -100);
    EXPECT_NE(blunder.Best, game.Moves[4]);
    // Black's reply takes the queen: the search's own choice, and it gains.
    EXPECT_EQ(review.Moves[5].Best, game.Moves[5]);
    EXPECT_EQ(review.Moves[5].Loss, 0);
    EXPECT_LT(review.Accuracy[0], 90);
    EXPECT_GT(review.Accuracy[1], 95);

    // Into the notes: the blunder's NAG and its better line, evaluations for every move.
    AnnotateRecord(game, review);
    EXPECT_EQ(game.Note(4).Mark, MarkBlunder);
    ASSERT_FALSE(game.Note(4).Better.empty());
    EXPECT_EQ(game.Note(4).Better.front(), blunder.Best);
    EXPECT_TRUE(game.Note(5).Better.empty());
    for (size_t i = 0; i < game.Moves.size(); ++i)
        EXPECT_TRUE(game.Note(i).Eval && !game.Note(i).Eval->Mate) << i;
}

TEST(Review, AMoveIntoMateIsABlunderAndTheMateIsAMateInTheNotes) {
    GameRecord game = GameFromSan("f3 e5 g4 Qh4#");
    ASSERT_EQ(game.Moves.size(), 4u);
    TGameReviewer reviewer(ByNodes(20'000));
    const TGameReview review = reviewer.Review(game);
    ASSERT_TRUE(review.Complete);
    EXPECT_EQ(review.Moves[2].Mark, MarkBlunder);
    EXPECT_EQ(MateMoves(review.Moves[2].After), -1); // Black mates in one
    EXPECT_EQ(review.Moves[3].Mark, MarkNone);
    EXPECT_EQ(review.Moves[3].Loss, 0);
    EXPECT_EQ(ExpectedScore(review.Moves[3].After, false), 1);
    EXPECT_EQ(review.Moves[1].Mark, MarkNone);
    AnnotateRecord(game, review);
    EXPECT_EQ(game.Note(2).Eval, (PgnEval{true, -1}));
    EXPECT_FALSE(game.Note(3).Eval.has_value()); // mate on the board: nothing to add
    EXPECT_LT(review.Accuracy[0], review.Accuracy[1]);
}

TEST(Review, AMateMissedWhileStillWinningIsNoMistakeButAMateAllowedIs) {
    // White mates with Qg7 but plays Qb1; a queen up, the win is as sure as before.
    GameRecord missed = GameFromSan("Qb1 Kg8", Fen("7k/8/5K2/8/8/8/8/6Q1 w - - 0 1"));
    ASSERT_EQ(missed.Moves.size(), 2u);
    TGameReviewer reviewer(ByNodes(20'000));
    TGameReview review = reviewer.Review(missed);
    ASSERT_TRUE(review.Complete);
    EXPECT_EQ(MateMoves(review.Moves[0].Before), 1);
    EXPECT_NE(review.Moves[0].Best, missed.Moves[0]);
    EXPECT_EQ(review.Moves[0].Mark, MarkNone);
    EXPECT_EQ(review.Moves[1].Mark, MarkNone); // the only move

    // Level material, until Black's rook takes a pawn and leaves the back rank to a mate.
    const GameRecord allowed =
        GameFromSan("Rxf2 Ra8#", Fen("6k1/5ppp/8/8/8/8/1r3PPP/R5K1 b - - 0 1"));
    ASSERT_EQ(allowed.Moves.size(), 2u);
    review = reviewer.Review(allowed);
    ASSERT_TRUE(review.Complete);
    EXPECT_EQ(review.Moves[0].Mark, MarkBlunder);
    EXPECT_EQ(MateMoves(review.Moves[0].After), 1);
    EXPECT_EQ(review.Moves[1].Mark, MarkNone);
    EXPECT_EQ(review.Accuracy[0], 100);
}

TEST(Review, AStopFromAnotherThreadEndsTheReviewAtOnce) {
    GameRecord game = RandomGame(5, 60);
    TReviewOptions slow;
    slow.MillisPerPosition = 60'000;
    slow.HashMegabytes = 8;
    TGameReviewer reviewer(slow);
    std::atomic<bool> done{false};
    TGameReview review;
    std::thread worker([&] {
        review = reviewer.Review(game);
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const auto stopped = std::chrono::steady_clock::now();
    reviewer.Stop();
    worker.join();
    const auto took = std::chrono::steady_clock::now() - stopped;
    EXPECT_LT(took, std::chrono::milliseconds(500));
    EXPECT_TRUE(done);
    EXPECT_FALSE(review.Complete);
    EXPECT_TRUE(review.Moves.empty());
    // The stop holds until it is taken back; then the reviewer works again.
    EXPECT_FALSE(reviewer.Review(game).Complete);
    reviewer.ResetStop();
    TGameReviewer quick(ByNodes(2000));
    const GameRecord shortGame = GameFromSan("e4 e5");
    EXPECT_TRUE(quick.Review(shortGame).Complete);
    reviewer.ResetStop();
    TReviewOptions fast = slow;
    fast.MillisPerPosition = 20;
    TGameReviewer again(fast);
    again.Stop();
    again.ResetStop();
    EXPECT_TRUE(again.Review(shortGame).Complete);
}
