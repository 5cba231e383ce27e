// The spoken words of moves the window tests do not reach: Black's win, castling into check,
// the under-promotions, a draw by a repeated check, and a mate that is also short of
// material, which is told as the mate.

#include <gtest/gtest.h>

#include "SpokenMove.h"
#include "Square.h"

namespace {

TMoveReport Move(char piece, Square from, Square to, bool check = false, char promotion = 0) {
    TMoveReport m;
    m.White = piece >= 'A' && piece <= 'Z';
    m.Piece = piece;
    m.From = from;
    m.To = to;
    m.Check = check;
    m.Promotion = promotion;
    return m;
}

} // namespace

TEST(SpokenMove, TheWordsFollowTheBoardsDescriptionWithoutTheColour) {
    TMoveReport castle = Move('K', E1, G1, true);
    castle.RookFrom = H1;
    castle.RookTo = F1;
    EXPECT_EQ(SpokenMoveText(castle), "Castles king side, check");
    TMoveReport mate = Move('q', D8, H4, true);
    mate.Mate = true;
    EXPECT_EQ(SpokenMoveText(mate), "Queen d8 to h4, checkmate. Black wins.");
    EXPECT_EQ(SpokenMoveText(Move('P', A7, A8, false, 'R')), "Pawn a7 to a8 promotes to rook");
    EXPECT_EQ(SpokenMoveText(Move('p', H2, H1, true, 'b')),
              "Pawn h2 to h1 promotes to bishop, check");
    // The check is told before the draw it makes.
    TMoveReport repeated = Move('Q', H5, E8, true);
    repeated.Threefold = true;
    EXPECT_EQ(SpokenMoveText(repeated),
              "Queen h5 to e8, check. The same position has come three times. The game is a "
              "draw.");
    // Knight and king against knight and king can still be mated; the mate is what is told.
    TMoveReport smothered = Move('n', G3, F2, true);
    smothered.Mate = true;
    smothered.NoMatingMaterial = true;
    EXPECT_EQ(SpokenMoveText(smothered), "Knight g3 to f2, checkmate. Black wins.");
}
