// Move legality: movement rules, castling, the king tests and the repetition freeze.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

const char* const kEmpty = "        ";

bool Legal(const TChessGame& game, const char* from, const char* to) {
    return game.IsLegalMove(Sq(from), Sq(to));
}

// White king e1 and rooks a1, h1; black king e8.
std::string CastlingBoard() {
    return Board({"    k   ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "R   K  R"});
}

TEST(Legality, StartPosition) {
    TChessGame game;
    EXPECT_TRUE(Legal(game, "e2", "e4"));
    EXPECT_TRUE(Legal(game, "e2", "e3"));
    EXPECT_TRUE(Legal(game, "g1", "f3"));
    EXPECT_FALSE(Legal(game, "e2", "e5"));
    EXPECT_FALSE(Legal(game, "b1", "d2")) << "own pawn on d2";
    EXPECT_FALSE(Legal(game, "e7", "e5")) << "Black is not to move";
    EXPECT_FALSE(Legal(game, "e4", "e5")) << "empty square";
    EXPECT_FALSE(Legal(game, "f1", "c4")) << "bishop blocked";
    EXPECT_FALSE(game.IsLegalMove(None, E4));
    EXPECT_FALSE(game.IsLegalMove(E2, static_cast<Square>(65)));
    EXPECT_TRUE(game.HasLegalMove());
}

TEST(Legality, PawnRules) {
    TChessGame game;
    // White pawns a2 (blocked two ahead), c2 (blocked one ahead) and e5; black pieces.
    game.SetPosition(Board({"    k   ", kEmpty, "   p    ", "    P   ", "p       ", "  n     ",
                            "P P     ", "    K   "}));
    EXPECT_TRUE(Legal(game, "a2", "a3"));
    EXPECT_FALSE(Legal(game, "a2", "a4")) << "double step onto a piece";
    EXPECT_FALSE(Legal(game, "c2", "c4")) << "double step over a piece";
    EXPECT_FALSE(Legal(game, "c2", "c3")) << "straight onto a piece";
    EXPECT_FALSE(Legal(game, "a2", "b3")) << "diagonal onto an empty square";
    EXPECT_TRUE(Legal(game, "e5", "d6"));
    EXPECT_FALSE(Legal(game, "e5", "e4")) << "backwards";
    EXPECT_FALSE(Legal(game, "e5", "c6"));
    EXPECT_TRUE(Legal(game, "e5", "e6"));
    EXPECT_FALSE(Legal(game, "e5", "e7")) << "double step away from rank 2";
    game.SetWhiteToMove(false);
    EXPECT_TRUE(Legal(game, "d6", "e5"));
    EXPECT_TRUE(Legal(game, "d6", "d5"));
    EXPECT_FALSE(Legal(game, "a4", "a2"));
}

TEST(Legality, EnPassantOnlyRightAfterTheDoubleStep) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"d2d4", "h7h6", "d4d5", "e7e5"}));
    EXPECT_EQ(game.EnPassant(), Sq("e6"));
    EXPECT_TRUE(Legal(game, "d5", "e6"));
    EXPECT_FALSE(Legal(game, "d5", "c6"));
    ASSERT_TRUE(Play(game, {"a2a3", "a7a6"}));
    EXPECT_FALSE(Legal(game, "d5", "e6")) << "the chance has gone";

    TChessGame black;
    ASSERT_TRUE(Play(black, {"a2a3", "d7d5", "a3a4", "d5d4", "e2e4"}));
    EXPECT_EQ(black.EnPassant(), Sq("e3"));
    EXPECT_TRUE(Legal(black, "d4", "e3"));
}

TEST(Legality, SlidersAndKnights) {
    TChessGame game;
    game.SetPosition(
        Board({"    k   ", kEmpty, "  p     ", kEmpty, "Q   N  p", kEmpty, kEmpty, "    K   "}));
    EXPECT_TRUE(Legal(game, "a4", "c6")) << "capture at the end of a diagonal";
    EXPECT_FALSE(Legal(game, "a4", "d7")) << "beyond the capture";
    EXPECT_TRUE(Legal(game, "a4", "d4"));
    EXPECT_FALSE(Legal(game, "a4", "f4")) << "through its own knight";
    EXPECT_FALSE(Legal(game, "a4", "e4"));
    EXPECT_TRUE(Legal(game, "a4", "a8"));
    EXPECT_FALSE(Legal(game, "a4", "b6")) << "not a queen move";
    EXPECT_TRUE(Legal(game, "e4", "f6"));
    EXPECT_TRUE(Legal(game, "e4", "c3"));
    EXPECT_FALSE(Legal(game, "e4", "e6"));
    EXPECT_TRUE(Legal(game, "e4", "g5"));
    EXPECT_FALSE(game.KnightCanMove(H4, B3)) << "no wrap around the board edge";
    EXPECT_FALSE(game.BishopCanMove(H4, A4));
    // The movement rules on their own ignore the side to move and the king.
    EXPECT_TRUE(game.KnightCanMove(Sq("g1"), Sq("h3")));
    EXPECT_FALSE(game.RookCanMove(Sq("h4"), Sq("a4")));
    EXPECT_TRUE(game.RookCanMove(Sq("h4"), Sq("e4")));
    EXPECT_FALSE(game.BishopCanMove(Sq("h4"), static_cast<Square>(70)));
}

TEST(Legality, CastlingConditions) {
    TChessGame game;
    game.SetPosition(CastlingBoard());
    EXPECT_TRUE(Legal(game, "e1", "g1"));
    EXPECT_TRUE(Legal(game, "e1", "c1"));
    EXPECT_FALSE(Legal(game, "e1", "b1")) << "not a castling square";

    // One black piece on a given rank: a bishop attacking f1, a rook giving check, rooks
    // attacking g1, b1 and d1.
    struct Case {
        int Row; // 0 = rank 8
        const char* Rank;
        bool KingSide, QueenSide;
    };
    for (const Case& c : {Case{2, "b       ", false, true}, Case{1, "    r   ", false, false},
                          Case{1, "      r ", false, true}, Case{1, " r      ", true, true},
                          Case{1, "   r    ", true, false}}) {
        std::string board = CastlingBoard();
        board.replace(static_cast<std::size_t>(c.Row) * 8, 8, c.Rank);
        game.SetPosition(board);
        EXPECT_EQ(Legal(game, "e1", "g1"), c.KingSide) << c.Rank;
        EXPECT_EQ(Legal(game, "e1", "c1"), c.QueenSide) << c.Rank;
    }

    // The right alone is not enough: the rook must stand on its corner.
    game.SetPosition(
        Board({"    k   ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "R   K   "}));
    EXPECT_FALSE(Legal(game, "e1", "g1"));
    // And the rook alone is not enough either.
    game.SetPosition(CastlingBoard());
    CastleSet rights = CastleSet::All();
    rights.Exclude(WhiteKingSide);
    game.SetCastlingAllowed(rights);
    EXPECT_FALSE(Legal(game, "e1", "g1"));
    EXPECT_TRUE(Legal(game, "e1", "c1"));
    // A piece between king and rook.
    game.SetCastlingAllowed(CastleSet::All());
    game.SetPosition(
        Board({"    k   ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "RN  K  R"}));
    EXPECT_FALSE(Legal(game, "e1", "c1"));

    // Black, mirrored.
    game.SetPosition(
        Board({"r   k  r", kEmpty, kEmpty, kEmpty, kEmpty, "B       ", kEmpty, "    K   "}));
    game.SetWhiteToMove(false);
    EXPECT_FALSE(Legal(game, "e8", "g8")) << "the a3 bishop sees f8";
    EXPECT_TRUE(Legal(game, "e8", "c8"));
}

TEST(Legality, ARookBroughtToTheCornerRestoresCastling) {
    TChessGame game;
    // The h1 rook is taken on its square; the right stays because only the square left
    // changes rights. Another white rook later stands on h1 again.
    game.SetPosition(
        Board({"    k  r", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "       R", "R   K  R"}));
    game.SetWhiteToMove(false);
    ASSERT_TRUE(Play(game, {"h8h2"})) << "rook h8 takes h2";
    ASSERT_TRUE(Play(game, {"a1a2", "h2h1"}));
    EXPECT_TRUE(game.CastlingAllowed().Contains(WhiteKingSide));
    EXPECT_FALSE(Legal(game, "e1", "g1"));
    game.SetPosition(
        Board({"    k   ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "R       ", "    K  R"}));
    EXPECT_TRUE(Legal(game, "e1", "g1"));
}

TEST(Legality, PinsAndKings) {
    TChessGame game;
    // The knight on e2 is pinned by the rook on e8; the kings face each other over d-file.
    game.SetPosition(
        Board({"    r   ", kEmpty, kEmpty, "   k    ", kEmpty, kEmpty, "    N   ", "    K   "}));
    EXPECT_FALSE(Legal(game, "e2", "c3"));
    EXPECT_TRUE(Legal(game, "e1", "d1"));
    EXPECT_TRUE(Legal(game, "e1", "f2"));
    game.SetPosition(
        Board({kEmpty, kEmpty, kEmpty, "   k    ", kEmpty, "    K   ", kEmpty, kEmpty}));
    EXPECT_FALSE(Legal(game, "e3", "e4")) << "next to the other king";
    EXPECT_FALSE(Legal(game, "e3", "d4"));
    EXPECT_TRUE(Legal(game, "e3", "e2"));
}

TEST(Legality, EnPassantThatExposesTheKingIsStillAccepted) {
    TChessGame game;
    // King a5, pawn b5; black pawn c7 steps to c5, rook h5 on the rank.
    game.SetPosition(
        Board({"    k   ", "  p     ", kEmpty, "KP     r", kEmpty, kEmpty, kEmpty, kEmpty}));
    game.SetWhiteToMove(false);
    ASSERT_TRUE(Play(game, {"c7c5"}));
    // The captured pawn stays on the trial copy, so the rank looks blocked.
    EXPECT_TRUE(Legal(game, "b5", "c6"));
}

TEST(Legality, MissingKings) {
    TChessGame game;
    game.SetPosition(
        Board({kEmpty, "    p   ", kEmpty, kEmpty, kEmpty, kEmpty, "    P   ", "    K   "}));
    EXPECT_TRUE(game.BlackKingInCheck(None, None));
    game.SetWhiteToMove(false);
    EXPECT_FALSE(Legal(game, "e7", "e6")) << "a missing black king counts as attacked";
    EXPECT_FALSE(game.HasLegalMove());

    game.SetPosition(
        Board({"    k   ", "    p   ", kEmpty, kEmpty, kEmpty, kEmpty, "  q P   ", kEmpty}));
    game.SetWhiteToMove(true);
    EXPECT_FALSE(game.WhiteKingInCheck(E2, E2));
    EXPECT_TRUE(Legal(game, "e2", "e4")) << "no white king: nothing refused for check";
}

TEST(Legality, KingTestsMakeOnlyTheTrialMove) {
    TChessGame game;
    game.SetPosition(
        Board({"    k   ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "    R   ", "    K   "}));
    EXPECT_TRUE(game.BlackKingInCheck(E2, E2));
    EXPECT_FALSE(game.BlackKingInCheck(E2, D2));
    EXPECT_TRUE(game.BlackKingInCheck(E2, E7)) << "a king next to the rook is still attacked";
    EXPECT_FALSE(game.WhiteKingInCheck(E1, E1));
    EXPECT_EQ(game.Position()[52], 'R') << "the board itself is untouched";
    // A rook behind another piece does not attack.
    game.SetPosition(
        Board({"    k   ", "    n   ", kEmpty, kEmpty, kEmpty, kEmpty, "    R   ", "    K   "}));
    EXPECT_FALSE(game.BlackKingInCheck(E2, E2));
    // Pawns attack diagonally forward only.
    game.SetPosition(
        Board({"    k   ", "   P    ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "    K   "}));
    EXPECT_TRUE(game.BlackKingInCheck(E1, E1));
    game.SetPosition(
        Board({"    k   ", "    P   ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "    K   "}));
    EXPECT_FALSE(game.BlackKingInCheck(E1, E1));
    game.SetPosition(
        Board({kEmpty, "   P    ", "    k   ", kEmpty, kEmpty, kEmpty, kEmpty, "    K   "}));
    EXPECT_FALSE(game.BlackKingInCheck(E1, E1)) << "a pawn behind the king";
}

TEST(Legality, ALetterWithoutARuleGoesAnywhere) {
    TChessGame game;
    game.SetPosition(
        Board({"    k   ", "P       ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "    K   "}));
    game.OnPromotion = [](TChessGame*, Square, Square, char& piece) { piece = 'c'; };
    ASSERT_TRUE(Play(game, {"a7a8", "e8e7"}));
    EXPECT_EQ(game.PieceAt(A8), 'C');
    EXPECT_TRUE(Legal(game, "a8", "h1"));
    EXPECT_TRUE(Legal(game, "a8", "e7")) << "even onto the king";
    EXPECT_FALSE(Legal(game, "a8", "e1")) << "but not onto its own side";
}

} // namespace
