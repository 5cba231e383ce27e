// A move in the words it is spoken in: the board's description without the colour, with the
// promotion, the check and the end of the game in their places.

#include <gtest/gtest.h>

#include "Square.h"
#include "SpokenMove.h"

namespace {

TSpokenMove Move(char piece, Square from, Square to) {
    TSpokenMove m;
    m.Piece = piece;
    m.From = from;
    m.To = to;
    return m;
}

template <typename Change>
TSpokenMove With(TSpokenMove m, Change change) {
    change(m);
    return m;
}

} // namespace

TEST(SpokenMove, PlainMovesCapturesChecksAndCastling) {
    EXPECT_EQ(SpokenMoveText(Move('N', G1, F3)), "Knight g1 to f3");
    EXPECT_EQ(SpokenMoveText(Move('p', E7, E5)), "Pawn e7 to e5");
    EXPECT_EQ(SpokenMoveText(With(Move('N', F3, E5), [](auto& m) { m.Capture = m.Check = true; })),
              "Knight f3 takes e5, check");
    EXPECT_EQ(SpokenMoveText(With(Move('K', E1, G1), [](auto& m) { m.Castle = true; })),
              "Castles king side");
    EXPECT_EQ(SpokenMoveText(With(Move('k', E8, C8), [](auto& m) { m.Castle = m.Check = true; })),
              "Castles queen side, check");
}

TEST(SpokenMove, PromotionNamesTheNewPieceBeforeTheCheck) {
    EXPECT_EQ(SpokenMoveText(With(Move('P', E7, E8), [](auto& m) { m.Promotion = 'Q'; })),
              "Pawn e7 to e8 promotes to queen");
    EXPECT_EQ(SpokenMoveText(With(Move('p', B2, A1), [](auto& m) {
                  m.Promotion = 'n';
                  m.Capture = m.Check = true;
              })),
              "Pawn b2 takes a1 promotes to knight, check");
    EXPECT_EQ(SpokenMoveText(With(Move('P', A7, A8), [](auto& m) { m.Promotion = 'R'; })),
              "Pawn a7 to a8 promotes to rook");
    EXPECT_EQ(SpokenMoveText(With(Move('p', H2, H1), [](auto& m) { m.Promotion = 'b'; })),
              "Pawn h2 to h1 promotes to bishop");
}

TEST(SpokenMove, TheEndOfTheGameFollowsTheMove) {
    const auto mate = [](auto& m) {
        m.Capture = m.Check = true;
        m.End = TGameEnd::Checkmate;
    };
    EXPECT_EQ(SpokenMoveText(With(Move('Q', H5, F7), mate)),
              "Queen h5 takes f7, checkmate. White wins.");
    EXPECT_EQ(SpokenMoveText(With(Move('q', D8, H4), mate)),
              "Queen d8 takes h4, checkmate. Black wins.");
    EXPECT_EQ(SpokenMoveText(With(Move('Q', C7, B6), [](auto& m) { m.End = TGameEnd::Stalemate; })),
              "Queen c7 to b6. Stalemate. The game is a draw.");
    EXPECT_EQ(SpokenMoveText(With(Move('k', E5, D4), [](auto& m) {
                  m.Capture = true;
                  m.End = TGameEnd::NoMatingMaterial;
              })),
              "King e5 takes d4. Neither side can checkmate. The game is a draw.");
    // A repeated check: the check is told before the draw it makes.
    EXPECT_EQ(SpokenMoveText(With(Move('Q', H5, E8), [](auto& m) {
                  m.Check = true;
                  m.End = TGameEnd::Repetition;
              })),
              "Queen h5 to e8, check. The same position has come three times. The game is a draw.");
}
