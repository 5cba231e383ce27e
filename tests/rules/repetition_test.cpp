// The repetition test: a position repeats with the same letters on the same squares, the same
// side to move, the same castling rights and the same en-passant capture.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

// Plays the moves one by one and answers, after each, whether a repetition stands.
std::string RepetitionsAlong(TChessGame& game, std::initializer_list<const char*> moves) {
    std::string marks;
    for (const char* m : moves) {
        EXPECT_TRUE(Play(game, {m})) << m;
        marks += game.IsThreefoldRepetition() ? '3' : '.';
    }
    return marks;
}

} // namespace

TEST(Repetition, TheSamePlacementWithTheOtherSideToMoveIsAnotherPosition) {
    // The white king walks a triangle and so hands the move over: Ka1 against kh8 occurs
    // with White to move at the start, then with Black to move after 3.Ka1 and 5.Ka1.
    TChessGame game;
    Place(game, "Ka1 Pc2 kh8 pc7");
    EventLog log;
    log.Attach(game);
    EXPECT_EQ(RepetitionsAlong(game, {"a1b1", "h8g8", "b1b2", "g8h8", "b2a1", "h8g8", "a1b1",
                                      "g8h8", "b1a1"}),
              ".........");
    EXPECT_TRUE(game.HasLegalMove());
    for (const std::string& line : log.Lines)
        EXPECT_NE(line, "Threefold");
    // The third time with Black to move ends the game as before.
    EXPECT_EQ(RepetitionsAlong(game, {"h8g8", "a1b1", "g8h8", "b1a1"}), "...3");
    EXPECT_FALSE(game.HasLegalMove());
}

TEST(Repetition, ALostCastlingRightMakesAnotherPosition) {
    TChessGame game;
    Place(game, "Ke1 Rh1 Pa2 ke8 pa7");
    CastleSet rights;
    rights.Include(WhiteKingSide);
    game.SetCastlingAllowed(rights);
    // The start held the right and the returns to it after moves 4 and 8 do not; the rook
    // on h2 with Black to move has no right each time, so the ninth move repeats.
    EXPECT_EQ(RepetitionsAlong(game, {"h1h2", "e8d8", "h2h1", "d8e8", "h1h2", "e8d8", "h2h1",
                                      "d8e8", "h1h2"}),
              "........3");
}

TEST(Repetition, APassedSquareCountsOnlyWhileAPawnCanTakeOnIt) {
    // After 1.e4 no black pawn can take on e3: the later positions without the square are
    // the same position.
    TChessGame game;
    EXPECT_EQ(RepetitionsAlong(game, {"e2e4", "b8c6", "g1f3", "c6b8", "f3g1", "b8c6", "g1f3",
                                      "c6b8", "f3g1"}),
              "........3");

    // With a black pawn on d4 the capture on e3 was possible right after e2-e4 only: the
    // ninth move repeats that placement with Black to move a second time only. The tenth
    // brings the knight to c6 with White to move for the third time.
    TChessGame other;
    Place(other, "Ke1 Pe2 Ng1 ke8 pd4 nb8");
    other.SetCastlingAllowed({});
    EXPECT_EQ(RepetitionsAlong(other, {"e2e4", "b8c6", "g1f3", "c6b8", "f3g1", "b8c6", "g1f3",
                                       "c6b8", "f3g1", "b8c6"}),
              ".........3");
}
