// The evaluation: the folded tables, the king's table by the enemy's material, the shelter
// by the king's file, and the pawn and rook terms.

#include <random>

#include "EngineTestSupport.h"

using namespace enginetest;
using E = TChessEngine;

namespace {

std::unique_ptr<TChessEngine> Built(const char* fen) {
    auto e = Loaded(fen);
    e->BuildPieceSquareTables();
    return e;
}

} // namespace

TEST(EngineTables, PositionalTablesHoldThePrintedValues) {
    auto e = std::make_unique<TChessEngine>();
    EXPECT_EQ(e->PawnTable[Sq("d2")], -20);
    EXPECT_EQ(e->PawnTable[Sq("e7")], 20);
    EXPECT_EQ(e->PawnTable[Sq("a3")], 1);
    EXPECT_EQ(e->KingsideShelter[Sq("h2")], 20);
    EXPECT_EQ(e->KingsideShelter[Sq("f4")], 5);
    EXPECT_EQ(e->KingsideShelter[Sq("e2")], 0);
    EXPECT_EQ(e->QueensideShelter[Sq("c3")], 10);
    EXPECT_EQ(e->MinorTable[Sq("d5")], 10);
    EXPECT_EQ(e->MinorTable[Sq("h1")], -20);
    EXPECT_EQ(e->MinorTable[Sq("a8")], -10);
    const int kingRank1[8] = {-10, 0, 10, -20, 0, -20, 10, 0};
    for (int f = 0; f < 8; ++f)
        EXPECT_EQ(e->KingMiddleTable[56 + f], kingRank1[f]);
    EXPECT_EQ(e->KingMiddleTable[Sq("a2")], -20);
    EXPECT_EQ(e->KingMiddleTable[Sq("e3")], -40);
    EXPECT_EQ(e->KingEndTable[Sq("e5")], 10);
    EXPECT_EQ(e->KingEndTable[Sq("b7")], 0);
    EXPECT_EQ(e->FlipSquare[Sq("a8")], Sq("a1"));
    EXPECT_EQ(e->FlipSquare[Sq("h1")], Sq("h8"));
    // Whole-table sums catch a mistyped entry anywhere else.
    auto sum = [](const std::int32_t* t) {
        int total = 0;
        for (int s = 0; s < 64; ++s)
            total += t[s];
        return total;
    };
    EXPECT_EQ(sum(e->PawnTable), 260);
    EXPECT_EQ(sum(e->MinorTable), -260);
    EXPECT_EQ(sum(e->KingEndTable), -40);
    EXPECT_EQ(sum(e->KingMiddleTable), -2110);
    EXPECT_EQ(sum(e->KingsideShelter), 105);
    EXPECT_EQ(sum(e->QueensideShelter), 105);
}

TEST(EngineEvaluate, StartIsZeroAndKingsPawnIsMinus28ForBlack) {
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    EXPECT_EQ(Built(start)->Evaluate(), 0);
    EXPECT_EQ(Built("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1")->Evaluate(), 0);
    // The tables are built from the position they evaluate.
    EXPECT_EQ(Built("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1")->Evaluate(),
              -28);
}

TEST(EngineEvaluate, KingTableSwitchesAbove1400OfEnemyPieces) {
    // Queen and rook each (1400): both kings on the endgame table, no shelter.
    auto end = Built("3qk2r/pppppppp/8/8/8/8/PPPPPPPP/3QK1R1 w - - 0 1");
    // Queen, rook and knight each (1700): middle-game tables and shelter.
    auto mid = Built("3qk1nr/pppppppp/8/8/8/8/PPPPPPPP/3QK1RN w - - 0 1");
    for (int s = 0; s < 64; ++s) {
        EXPECT_EQ(end->PieceSquare[E::White][E::King][s], end->KingEndTable[s]);
        EXPECT_EQ(end->PieceSquare[E::Black][E::King][s], end->KingEndTable[s ^ 56]);
        EXPECT_EQ(mid->PieceSquare[E::White][E::King][s], mid->KingMiddleTable[s]);
        EXPECT_EQ(mid->PieceSquare[E::Black][E::King][s], mid->KingMiddleTable[s ^ 56]);
    }
    // Each side's table follows the other side's material, not its own.
    auto mixed = Built("3qk1nr/8/8/8/8/8/8/3QK1R1 w - - 0 1");
    EXPECT_EQ(mixed->PieceSquare[E::White][E::King][Sq("g1")], 10); // Black has 1700
    EXPECT_EQ(mixed->PieceSquare[E::Black][E::King][Sq("g8")], -5); // White has 1400
}

TEST(EngineEvaluate, ShelterFollowsTheKingsFileAtTheRoot) {
    // Black has 2500 in pieces, so White's king is in the middle game wherever it stands.
    struct {
        const char* rank1;
        int kingside, queenside;
    } cases[] = {{"4K3", 0, 0}, {"3K4", 0, 0},  {"5K2", 20, 0},
                 {"7K", 20, 0}, {"1K6", 0, 20}, {"2K5", 0, 20}};
    for (const auto& c : cases) {
        const std::string fen =
            std::string("r2qk2r/ppp2ppp/2n2n2/8/8/8/8/") + c.rank1 + " w - - 0 1";
        auto e = Built(fen.c_str());
        const auto& pawn = e->PieceSquare[E::White][E::Pawn];
        EXPECT_EQ(pawn[Sq("f2")], 100 + c.kingside) << c.rank1;
        EXPECT_EQ(pawn[Sq("h3")], 101 + c.kingside / 2) << c.rank1;
        EXPECT_EQ(pawn[Sq("b2")], 100 + c.queenside) << c.rank1;
        EXPECT_EQ(pawn[Sq("a4")], 102 + c.queenside / 4) << c.rank1;
        EXPECT_EQ(pawn[Sq("d2")], 80) << c.rank1;
    }
    // Black's shelter reads the flipped table: king g8 shelters f7, g7, h7.
    auto b = Built("r2q1rk1/ppp2ppp/2n2n2/8/8/2N2N2/PPP2PPP/R2QK2R w - - 0 1");
    EXPECT_EQ(b->PieceSquare[E::Black][E::Pawn][Sq("g7")], 100 + 20);
    EXPECT_EQ(b->PieceSquare[E::Black][E::Pawn][Sq("g6")], 102 + 10);
    EXPECT_EQ(b->PieceSquare[E::Black][E::Pawn][Sq("b7")], 100);
}

TEST(EngineEvaluate, PawnStructureTerms) {
    // Kings e1/e8 on the endgame table (-5 each). A lone pawn on e4: entry 108, isolated on
    // a half-open file (-30), passed (+216).
    EXPECT_EQ(Built("4k3/8/8/8/4P3/8/8/4K3 w - - 0 1")->Evaluate(), -5 + 108 - 30 + 216 + 5);
    // Two pawns on e4 and e3: each doubled, isolated and passed on its own.
    EXPECT_EQ(Built("4k3/8/8/8/4P3/4P3/8/4K3 w - - 0 1")->Evaluate(),
              -5 + 108 + 104 - 2 * 5 - 2 * 30 + 2 * (108 + 104) + 5);
    // A neighbour on d3 ends the isolation; an enemy pawn on f7 ends the passing of both.
    // White: e4 108, d3 104; black f7 100 (isolated on a half-open file, not passed).
    EXPECT_EQ(Built("4k3/5p2/8/8/4P3/3P4/8/4K3 w - - 0 1")->Evaluate(),
              (-5 + 108 + 104 + 2 * 104) - (-5 + 100 - 30));
    // Seen from Black the score only changes sign.
    EXPECT_EQ(Built("4k3/5p2/8/8/4P3/3P4/8/4K3 b - - 0 1")->Evaluate(),
              -((-5 + 108 + 104 + 2 * 104) - (-5 + 100 - 30)));
}

TEST(EngineEvaluate, RookFileTerms) {
    // Rook h1 on a file without pawns: +15.
    EXPECT_EQ(Built("4k3/8/8/8/8/8/8/4K2R w - - 0 1")->Evaluate(), 500 + 15);
    // With only an enemy pawn on the file (h7: 100, isolated -30, passed +200): +10.
    EXPECT_EQ(Built("4k3/7p/8/8/8/8/8/4K2R w - - 0 1")->Evaluate(), 500 + 10 - (100 - 30 + 200));
    // With an own pawn on the file (h2: 100, isolated -30, passed +200): nothing.
    EXPECT_EQ(Built("4k3/8/8/8/8/8/7P/4K2R w - - 0 1")->Evaluate(), 500 + 100 - 30 + 200);
}

TEST(EngineEvaluate, SideToMoveOnlyFlipsTheSign) {
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        auto e = Loaded("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
        RandomWalk(*e, rng, 1 + i % 40);
        e->BuildPieceSquareTables();
        const int own = e->Evaluate();
        std::swap(e->Side, e->XSide);
        EXPECT_EQ(e->Evaluate(), -own);
    }
}
