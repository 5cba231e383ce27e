// The spoken words of moves the window tests do not reach: Black's win, castling into check,
// the under-promotions and a draw by a repeated check.

#include <gtest/gtest.h>

#include "Square.h"
#include "SpokenMove.h"

namespace {

TSpokenMove Move(char piece, Square from, Square to, bool check = false, char promotion = 0,
                 TGameEnd end = TGameEnd::None) {
    TSpokenMove m;
    m.Piece = piece;
    m.From = from;
    m.To = to;
    m.Check = check;
    m.Promotion = promotion;
    m.End = end;
    return m;
}

} // namespace

TEST(SpokenMove, TheWordsFollowTheBoardsDescriptionWithoutTheColour) {
    TSpokenMove castle = Move('K', E1, G1, true);
    castle.Castle = true;
    EXPECT_EQ(SpokenMoveText(castle), "Castles king side, check");
    TSpokenMove mate = Move('q', D8, H4, true, 0, TGameEnd::Checkmate);
    EXPECT_EQ(SpokenMoveText(mate), "Queen d8 to h4, checkmate. Black wins.");
    EXPECT_EQ(SpokenMoveText(Move('P', A7, A8, false, 'R')), "Pawn a7 to a8 promotes to rook");
    EXPECT_EQ(SpokenMoveText(Move('p', H2, H1, true, 'b')),
              "Pawn h2 to h1 promotes to bishop, check");
    // The check is told before the draw it makes.
    EXPECT_EQ(SpokenMoveText(Move('Q', H5, E8, true, 0, TGameEnd::Repetition)),
              "Queen h5 to e8, check. The same position has come three times. The game is a "
              "draw.");
}
