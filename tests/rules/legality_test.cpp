// Move legality: movement rules, castling, the king tests and the repetition freeze.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

// Each case: a position, the side to move and moves with the expected answer.
struct Case {
    const char* Pieces;
    bool WhiteToMove;
    std::vector<std::pair<const char*, bool>> Moves;
};

void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        TChessGame game;
        Place(game, c.Pieces, c.WhiteToMove);
        for (const auto& [move, legal] : c.Moves) {
            const std::string m(move);
            EXPECT_EQ(game.IsLegalMove(Sq(m.substr(0, 2)), Sq(m.substr(2))), legal)
                << c.Pieces << ": " << m;
        }
    }
}

TEST(Legality, StartPosition) {
    TChessGame game;
    for (auto [from, to, legal] : {std::tuple{E2, E4, true},
                                   {G1, F3, true},
                                   {E2, E5, false},
                                   {B1, D2, false},
                                   {E7, E5, false},
                                   {F1, C4, false},
                                   {None, E4, false},
                                   {E2, static_cast<Square>(65), false}})
        EXPECT_EQ(game.IsLegalMove(from, to), legal) << int(from) << "-" << int(to);
}

TEST(Legality, PiecesMoveByTheirOwnRules) {
    Check({
        // Pawns: single, double (not onto or over a piece), captures, never backwards.
        {"Ke1 Pa2 Pc2 Pe5 ke8 pd6 pa4 nc3",
         true,
         {{"a2a3", true},
          {"a2a4", false},
          {"c2c4", false},
          {"c2c3", false},
          {"a2b3", false},
          {"e5d6", true},
          {"e5e6", true},
          {"e5e4", false},
          {"e5e7", false},
          {"e5c6", false}}},
        {"Ke1 Pe5 ke8 pd6 pa4", false, {{"d6e5", true}, {"d6d5", true}, {"a4a2", false}}},
        // Sliders stop at the first piece; knights jump; nothing wraps around the edge.
        {"Ke1 Qa4 Ne4 ke8 pc6 ph4",
         true,
         {{"a4c6", true},
          {"a4d7", false},
          {"a4d4", true},
          {"a4f4", false},
          {"a4a8", true},
          {"a4b6", false},
          {"e4f6", true},
          {"e4c3", true},
          {"e4e6", false}}},
        {"Ke1 Nh4 Bh5 ke8", true, {{"h4b3", false}, {"h5a5", false}, {"h4g2", true}}},
        // A pinned piece keeps to the pin; a king keeps away from the other king.
        {"Ke1 Ne2 kd5 re8", true, {{"e2c3", false}, {"e1d1", true}, {"e1f2", true}}},
        {"Ke3 kd5", true, {{"e3e4", false}, {"e3d4", false}, {"e3e2", true}}},
        // A missing black king counts as attacked; a missing white king as safe.
        {"Ke1 Pe2 pe7", false, {{"e7e6", false}}},
        {"Pe2 ke8 qc2", true, {{"e2e4", true}}},
    });
}

TEST(Legality, CastlingNeedsRightRookEmptyAndSafeSquares) {
    Check({
        {"Ke1 Ra1 Rh1 ke8", true, {{"e1g1", true}, {"e1c1", true}, {"e1b1", false}}},
        {"Ke1 Ra1 Rh1 ke8 ba6", true, {{"e1g1", false}, {"e1c1", true}}},  // f1 attacked
        {"Ke1 Ra1 Rh1 ke8 re7", true, {{"e1g1", false}, {"e1c1", false}}}, // in check
        {"Ke1 Ra1 Rh1 ke8 rg7", true, {{"e1g1", false}, {"e1c1", true}}},  // into check
        {"Ke1 Ra1 Rh1 ke8 rb7", true, {{"e1g1", true}, {"e1c1", true}}},   // b1 may be seen
        {"Ke1 Ra1 Nb1 Rh1 ke8", true, {{"e1c1", false}}},
        {"Ke1 ke8 Rh2", true, {{"e1g1", false}}}, // the right alone is not enough
        {"Ke1 ke8 ra8 rh8 Ba3", false, {{"e8g8", false}, {"e8c8", true}}},
    });
    TChessGame game;
    Place(game, "Ke1 Ra1 Rh1 ke8");
    CastleSet rights = CastleSet::All();
    rights.Exclude(WhiteKingSide);
    game.SetCastlingAllowed(rights);
    EXPECT_FALSE(game.IsLegalMove(E1, G1)) << "the rook alone is not enough";
    EXPECT_TRUE(game.IsLegalMove(E1, C1));
}

TEST(Legality, ARightOutlivesTheRookTakenOnItsCorner) {
    // The h1 rook is taken on its square, another white rook takes back on h1.
    TChessGame game;
    Place(game, "Ke1 Rh1 Rf2 ke8 rh8", false);
    ASSERT_TRUE(Play(game, {"h8h1", "f2f1", "e8d8", "f1h1", "d8d7"}));
    EXPECT_TRUE(game.CastlingAllowed().Contains(WhiteKingSide));
    EXPECT_TRUE(game.IsLegalMove(E1, G1));
}

TEST(Legality, EnPassant) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"d2d4", "h7h6", "d4d5", "e7e5"}));
    EXPECT_TRUE(game.IsLegalMove(D5, E6));
    EXPECT_FALSE(game.IsLegalMove(D5, C6));
    ASSERT_TRUE(Play(game, {"a2a3", "a7a6"}));
    EXPECT_FALSE(game.IsLegalMove(D5, E6)) << "the chance has gone";

    // The captured pawn leaves the trial copy too: uncovering the king along the rank
    // through both pawns' squares is refused.
    Place(game, "Ka5 Pb5 ke8 pc7 rh5", false);
    ASSERT_TRUE(Play(game, {"c7c5"}));
    EXPECT_FALSE(game.IsLegalMove(B5, C6));
}

TEST(Legality, EnPassantTakesThePawnThatHasJustGivenCheck) {
    // r7/2p5/3kb1pp/1P3p2/1K3P2/P1N1R2P/6P1/8 b - - 4 50: 50...c5+ 51.bxc6 e.p. Bg8.
    TChessGame game;
    Place(game, "Kb4 Pb5 Pf4 Pa3 Nc3 Re3 Ph3 Pg2 ra8 pc7 kd6 be6 pg6 ph6 pf5", false);
    game.SetCastlingAllowed({});
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(Play(game, {"c7c5"}));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 11 27", "Check 11 27", "Paint"})) << "not mate";
    EXPECT_TRUE(game.HasLegalMove());
    EXPECT_TRUE(game.IsLegalMove(B5, C6));
    ASSERT_TRUE(Play(game, {"b5c6", "e6g8"}));
    EXPECT_EQ(game.PieceAt(C5), ' ');
    EXPECT_EQ(game.PieceAt(C6), 'P');

    // 8/6p1/p1n1r2p/1k3p2/1pP2P2/3KB1PP/8/R7 b - c3: b4xc3 is Black's only move.
    Place(game, "Ra1 Kd3 Be3 Pg3 Ph3 Pc4 Pf4 kb5 pb4 pf5 pa6 nc6 re6 ph6 pg7", false);
    game.SetEnPassant(C3);
    EXPECT_TRUE(game.BlackKingInCheck(None, None));
    EXPECT_TRUE(game.HasLegalMove()) << "the game goes on";
    EXPECT_FALSE(game.BlackKingInCheck(B4, C3));
    int legal = 0;
    for (int from = 1; from <= 64; ++from)
        for (int to = 1; to <= 64; ++to)
            legal += game.IsLegalMove(static_cast<Square>(from), static_cast<Square>(to));
    EXPECT_EQ(legal, 1);
    ASSERT_TRUE(Play(game, {"b4c3"}));
    EXPECT_EQ(game.PieceAt(C4), ' ');

    // A plain diagonal step onto a square that is not the en-passant square removes nothing
    // from the trial copy: the checking pawn stays.
    Place(game, "Ke4 Pe5 pd5 ke8 nf6", true);
    EXPECT_FALSE(game.IsLegalMove(E5, F6)) << "the d5 pawn still checks";
}

TEST(Legality, KingTestsMakeOnlyTheTrialMove) {
    TChessGame game;
    Place(game, "Ke1 Re2 ke8");
    EXPECT_TRUE(game.BlackKingInCheck(E2, E2));
    EXPECT_FALSE(game.BlackKingInCheck(E2, D2));
    EXPECT_TRUE(game.BlackKingInCheck(E2, E7));
    EXPECT_EQ(game.PieceAt(E2), 'R') << "the board itself is untouched";
    for (auto [pieces, attacked] : {std::pair{"Ke1 Pd7 ke8", true},
                                    {"Ke1 Pe7 ke8", false},
                                    {"Ke1 Pd7 ke6", false},
                                    {"Ke1 Re2 ne7 ke8", false},
                                    {"Ke1 Nf6 ke8", true},
                                    {"Ke1 Kd7 ke8", true},
                                    {"Ke1 Qa4 ke8", true},
                                    {"Ke1", true}}) {
        Place(game, pieces);
        EXPECT_EQ(game.BlackKingInCheck(None, None), attacked) << pieces;
    }
    Place(game, "ke8 qe2");
    EXPECT_FALSE(game.WhiteKingInCheck(None, None));
}

TEST(Legality, ALetterWithoutARuleGoesAnywhere) {
    TChessGame game;
    Place(game, "Ke1 Pa7 ke8");
    game.SetPromotionPiece('c');
    ASSERT_TRUE(Play(game, {"a7a8", "e8e7"}));
    EXPECT_TRUE(game.IsLegalMove(A8, H1));
    EXPECT_FALSE(game.IsLegalMove(A8, E7)) << "but never onto a king";
    EXPECT_FALSE(game.IsLegalMove(A8, E1)) << "nor onto its own side";
}

} // namespace
