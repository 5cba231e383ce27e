// MakeMove: side effects, the history records, game ends and the order of the events.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

// Sets up a position, plays the moves before the last and answers the events of the last.
Lines EventsOf(TChessGame& game, std::initializer_list<const char*> moves) {
    std::vector<const char*> list(moves);
    for (std::size_t i = 0; i + 1 < list.size(); ++i)
        EXPECT_TRUE(Play(game, {list[i]}));
    EventLog log;
    log.Attach(game);
    EXPECT_TRUE(Play(game, {list.back()})) << list.back();
    return log.Lines;
}

TEST(MakeMove, FirstPawnMoveAndItsRecords) {
    TChessGame game;
    EXPECT_EQ(EventsOf(game, {"e2e4"}), (Lines{"LegalMove 53 37", "Paint"}));
    EXPECT_EQ(game.EnPassant(), E3);
    EXPECT_FALSE(game.WhiteToMove());
    EXPECT_EQ(game.CurrentMove(), 1);
    EXPECT_EQ(game.HistoryLastMove(), 1);
    EXPECT_FALSE(game.HistoryLastWhite());
    const MoveInfo& played = game.MoveHistory(1, true);
    EXPECT_EQ(played.OldSq, E2);
    EXPECT_EQ(played.NewSq, E4);
    EXPECT_EQ(played.EnPassant, None);
    EXPECT_EQ(game.MoveHistory(1, false).Position, game.Position());
    EXPECT_EQ(game.MoveHistory(1, false).EnPassant, E3);
    ASSERT_TRUE(Play(game, {"e7e5"}));
    EXPECT_EQ(game.CurrentMove(), 2);
}

TEST(MakeMove, IllegalMoveChangesNothing) {
    TChessGame game;
    EventLog log;
    log.Attach(game);
    EXPECT_FALSE(game.MakeMove(E2, E5));
    EXPECT_FALSE(game.MakeMove(None, E4));
    EXPECT_TRUE(log.Lines.empty());
    EXPECT_TRUE(game.WhiteToMove());
    EXPECT_TRUE(game.MoveHistory(1, true).Position.empty());
}

TEST(MakeMove, LegalMoveHandlerSeesTheMoveButNotItsSideEffects) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "d7d5"}));
    Lines list;
    game.OnLegalMove = [&](TChessGame* sender, Square, Square) {
        EXPECT_EQ(sender, &game);
        EXPECT_EQ(game.PieceAt(D5), 'P');
        EXPECT_FALSE(game.WhiteToMove());
        EXPECT_EQ(game.EnPassant(), D6);
        game.GetMoveList(list);
    };
    ASSERT_TRUE(Play(game, {"e4d5"}));
    EXPECT_EQ(list, (Lines{"1. E2-E4", std::string(14, ' ') + "D7-D5", "2. E4-D5"}));
}

TEST(MakeMove, Castling) {
    TChessGame game;
    EXPECT_EQ(EventsOf(game, {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6", "e1g1"}),
              (Lines{"LegalMove 61 63", "Castle 61 63", "Paint"}));
    EXPECT_EQ(game.Position().substr(56), "RNBQ RK ");
    EXPECT_EQ(game.CastlingAllowed().Bits, 0b1100);

    Place(game, "Ke1 ra8 ke8 rh8", false);
    game.SetCastlingAllowed(CastleSet::All());
    ASSERT_TRUE(Play(game, {"e8c8"}));
    EXPECT_EQ(game.Position().substr(0, 8), "  kr   r");
    EXPECT_EQ(game.CastlingAllowed().Bits, 0b0011);

    // A castling rook that gives check.
    Place(game, "Ke1 Rh1 kf8");
    game.SetCastlingAllowed(CastleSet::All());
    EXPECT_EQ(EventsOf(game, {"e1g1"}),
              (Lines{"LegalMove 61 63", "Castle 61 63", "Check 61 63", "Paint"}));
}

TEST(MakeMove, RightsGoByTheSquareLeftOnly) {
    for (auto [move, bits] : {std::pair{"a1a2", 0b1101},
                              {"e1e2", 0b1100},
                              {"h1h2", 0b1110},
                              {"a8a7", 0b0111},
                              {"e8e7", 0b0011},
                              {"h8h7", 0b1011}}) {
        TChessGame game;
        Place(game, "Ke1 Ra1 Rh1 ke8 ra8 rh8", move[1] == '1');
        ASSERT_TRUE(Play(game, {move}));
        EXPECT_EQ(game.CastlingAllowed().Bits, bits) << move;
    }
    // A rook taken on its corner keeps that corner's right.
    TChessGame game;
    Place(game, "Ke1 Ra1 Rh1 ke6 ra8 rh8");
    ASSERT_TRUE(Play(game, {"a1a8", "h8h1"}));
    EXPECT_EQ(game.CastlingAllowed().Bits, 0b1001);
}

TEST(MakeMove, EnPassant) {
    TChessGame game;
    EXPECT_EQ(EventsOf(game, {"e2e4", "a7a6", "e4e5", "d7d5", "e5d6"}),
              (Lines{"LegalMove 29 20", "Capture 29 20 p", "Paint"}));
    EXPECT_EQ(game.PieceAt(D5), ' ');
    EXPECT_EQ(game.EnPassant(), None);

    game.NewGame();
    EXPECT_EQ(EventsOf(game, {"a2a3", "d7d5", "a3a4", "d5d4", "e2e4", "d4e3"}),
              (Lines{"LegalMove 36 45", "Capture 36 45 P", "Paint"}));
    EXPECT_EQ(game.PieceAt(E4), ' ');

    // Taking d5 uncovers the a5 rook against the h5 king.
    Place(game, "Ke1 Ra5 Pe5 kh5 pd7", false);
    EXPECT_EQ(EventsOf(game, {"d7d5", "e5d6"}),
              (Lines{"LegalMove 29 20", "Capture 29 20 p", "Check 29 20", "Paint"}));
}

TEST(MakeMove, Promotion) {
    TChessGame game;
    Place(game, "Ke1 Pa7 kh6 pa2");
    ASSERT_TRUE(Play(game, {"a7a8", "a2a1"}));
    EXPECT_EQ(game.PieceAt(A8), 'Q');
    EXPECT_EQ(game.PieceAt(A1), 'q');

    // A handler's choice sticks for later promotions of either colour.
    Place(game, "Ke1 Pa7 kh6 pa2");
    EventLog log;
    log.Attach(game);
    auto logged = game.OnPromotion;
    game.OnPromotion = [&](TChessGame* sender, Square a, Square b, char& piece) {
        logged(sender, a, b, piece);
        if (piece == 'q') piece = 'n';
    };
    ASSERT_TRUE(Play(game, {"a7a8", "a2a1"}));
    EXPECT_EQ(game.PieceAt(A8), 'N');
    EXPECT_EQ(game.PieceAt(A1), 'n');
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 9 1", "Promotion 9 1 q", "Paint", "LegalMove 49 57",
                                "Promotion 49 57 n", "NoMatingMaterial", "Draw", "Paint"}));

    // A capturing promotion: the capture first, the check last.
    Place(game, "Ke1 Pa7 rb8 kh8");
    game.SetPromotionPiece('Q');
    EXPECT_EQ(EventsOf(game, {"a7b8"}),
              (Lines{"LegalMove 9 2", "Capture 9 2 r", "Promotion 9 2 Q", "Check 9 2", "Paint"}));
    EXPECT_EQ(game.PieceAt(B8), 'Q');
}

TEST(MakeMove, Mate) {
    TChessGame game;
    EXPECT_EQ(EventsOf(game, {"f2f3", "e7e5", "g2g4", "d8h4"}),
              (Lines{"LegalMove 4 40", "Check 4 40", "Mate 4 40", "Paint"}));
    EXPECT_TRUE(game.GameEnded());
    EXPECT_FALSE(game.MakeMove(E2, E4));
    EXPECT_FALSE(game.GameEnded()) << "every MakeMove clears the flag first";

    // Without an OnMate handler nothing marks the game ended.
    TChessGame quiet;
    ASSERT_TRUE(Play(quiet, {"f2f3", "e7e5", "g2g4", "d8h4"}));
    EXPECT_FALSE(quiet.GameEnded());
}

TEST(MakeMove, StalemateIsADrawWithOrWithoutItsHandler) {
    TChessGame game;
    Place(game, "Ke1 Qb6 Pb2 ka8");
    EXPECT_EQ(EventsOf(game, {"b6c7"}),
              (Lines{"LegalMove 18 11", "StaleMate 18 11", "Draw", "Paint"}));
    EXPECT_TRUE(game.GameEnded());

    // Without an OnStaleMate handler the draw still comes; without an OnDraw handler
    // nothing marks the game ended.
    for (bool drawHandler : {true, false}) {
        Place(game, "Ke1 Qb6 Pb2 ka8");
        EventLog log;
        log.Attach(game);
        game.OnStaleMate = nullptr;
        if (!drawHandler) game.OnDraw = nullptr;
        ASSERT_TRUE(Play(game, {"b6c7"}));
        const Lines expected =
            drawHandler ? Lines{"LegalMove", "Draw", "Paint"} : Lines{"LegalMove", "Paint"};
        EXPECT_EQ(log.Names(), expected);
        EXPECT_EQ(game.GameEnded(), drawHandler);
    }
}

TEST(MakeMove, MatingMaterial) {
    // The white king takes a knight on d2; the rest decides.
    for (auto [rest, drawn] : {std::pair{"Bg1", true},
                               {"Nf1 Ng1", true},
                               {"Bf1 Ng1", false},
                               {"Ph2", false},
                               {"Rh1", false},
                               {"bg8 nh8", false},
                               {"", true}}) {
        TChessGame game;
        Place(game, std::string("Ke1 nd2 ka8 ") + rest);
        const Lines expected =
            drawn ? Lines{"LegalMove", "Capture", "NoMatingMaterial", "Draw", "Paint"}
                  : Lines{"LegalMove", "Capture", "Paint"};
        EventLog log;
        log.Attach(game);
        ASSERT_TRUE(Play(game, {"e1d2"})) << rest;
        EXPECT_EQ(log.Names(), expected) << rest;
        // Play goes on, and every later move draws again.
        if (drawn) {
            EXPECT_EQ(EventsOf(game, {"a8b8"}).size(), 4u) << rest;
        }
    }
}

TEST(MakeMove, ThreefoldRepetitionFreezesTheGameUntilStepBack) {
    TChessGame game;
    EXPECT_EQ(EventsOf(game, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"}),
              (Lines{"LegalMove 22 7", "Threefold", "Draw", "Paint"}));
    EXPECT_TRUE(game.GameEnded());
    EXPECT_FALSE(game.IsLegalMove(E2, E4));
    EXPECT_FALSE(game.HasLegalMove());
    EXPECT_FALSE(game.MakeMove(G1, F3));
    ASSERT_TRUE(game.StepBack());
    EXPECT_TRUE(game.HasLegalMove());

    // The record after the new move still held the start position of the abandoned line,
    // which occurred twice before; it must not be mistaken for a frozen game.
    EXPECT_EQ(EventsOf(game, {"f6e4"}), (Lines{"LegalMove 22 37", "Paint"}));
    EXPECT_TRUE(game.HasLegalMove());
}

// Logs the drawing hooks a move calls.
struct HookGame : TChessGame {
    Lines Calls;
    Square DroppedFrom = None, DroppedTo = None;
    void Drop(Square from, Square to) {
        DroppedFrom = from;
        DroppedTo = to;
    }
    bool IsDroppedMove(Square from, Square to) const override {
        return from == DroppedFrom && to == DroppedTo;
    }
    void RepaintSquare(Square sq) override { Calls.push_back("Repaint " + std::to_string(sq)); }
    void DrawPieceAt(Square sq, char c) override {
        Calls.push_back("Draw " + std::to_string(sq) + c);
    }
    void DrawGridLines() override { Calls.emplace_back("Grid"); }
    void AnimateMove(Square a, Square b, int) override {
        Calls.push_back("Animate " + std::to_string(a) + "-" + std::to_string(b));
    }
    void StopThinking() override { Calls.emplace_back("Stop"); }
    void StartComputerMove() override { Calls.push_back(EngineHalted() ? "Start?" : "Start"); }
};

TEST(MakeMove, AnimatesOnlyMovesTheUserDidNotDrop) {
    HookGame game;
    ASSERT_TRUE(game.MakeMove(E2, E4));
    EXPECT_EQ(game.Calls,
              (Lines{"Repaint 53", "Grid", "Animate 53-37", "Repaint 37", "Draw 37P", "Grid"}));
    game.Calls.clear();
    game.Drop(E7, E5);
    ASSERT_TRUE(game.PlayerMove(E7, E5));
    EXPECT_EQ(game.Calls, (Lines{"Stop", "Repaint 13", "Repaint 29", "Draw 29p", "Grid", "Start"}));
    game.Calls.clear();
    EXPECT_FALSE(game.PlayerMove(E7, E5));
    EXPECT_EQ(game.Calls, (Lines{"Stop", "Start"}));
}

} // namespace
