// MakeMove: side effects, the history records, game ends and the order of the events.
#include <gtest/gtest.h>

#include "RulesTestSupport.h"

namespace {

using Lines = std::vector<std::string>;
const char* const kEmpty = "        ";

TEST(MakeMove, FirstPawnMove) {
    TChessGame game;
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(E2, E4));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 53 37", "Paint"}));
    EXPECT_EQ(game.EnPassant(), E3);
    EXPECT_FALSE(game.WhiteToMove());
    EXPECT_EQ(game.CurrentMove(), 1);
    EXPECT_EQ(game.HistoryLastMove(), 1);
    EXPECT_FALSE(game.HistoryLastWhite());
    EXPECT_EQ(game.PieceAt(E4), 'P');
    EXPECT_EQ(game.PieceAt(E2), ' ');

    const MoveInfo& played = game.MoveHistory(1, true);
    EXPECT_EQ(played.OldSq, E2);
    EXPECT_EQ(played.NewSq, E4);
    EXPECT_EQ(played.EnPassant, None);
    EXPECT_EQ(played.Castling, CastleSet::All());
    EXPECT_EQ(game.MoveHistory(1, false).Position, game.Position());
    EXPECT_EQ(game.MoveHistory(1, false).EnPassant, E3);

    ASSERT_TRUE(game.MakeMove(E7, E5));
    EXPECT_EQ(game.CurrentMove(), 2);
    EXPECT_TRUE(game.WhiteToMove());
}

TEST(MakeMove, IllegalMoveChangesNothingButGameEnded) {
    TChessGame game;
    EventLog log;
    log.Attach(game);
    const std::string before = game.Position();
    EXPECT_FALSE(game.MakeMove(E2, E5));
    EXPECT_FALSE(game.MakeMove(None, E4));
    EXPECT_TRUE(log.Lines.empty());
    EXPECT_EQ(game.Position(), before);
    EXPECT_TRUE(game.WhiteToMove());
    EXPECT_TRUE(game.MoveHistory(1, true).Position.empty());
}

TEST(MakeMove, HandlersSeeTheStateOfTheirStep) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "d7d5"}));
    std::vector<std::string> seen;
    game.OnLegalMove = [&](TChessGame* sender, Square, Square newSq) {
        EXPECT_EQ(sender, &game);
        // The piece stands, the turn is handed over, the list shows the move; the
        // en-passant square is not updated yet.
        EXPECT_EQ(game.PieceAt(newSq), 'P');
        EXPECT_FALSE(game.WhiteToMove());
        EXPECT_EQ(game.EnPassant(), D6);
        game.GetMoveList(seen);
    };
    game.OnCapture = [&](TChessGame*, Square, Square, char piece) {
        EXPECT_EQ(piece, 'p');
        EXPECT_EQ(game.EnPassant(), D6);
    };
    ASSERT_TRUE(game.MakeMove(E4, D5));
    EXPECT_EQ(seen, (Lines{"1. E2-E4", std::string(14, ' ') + "D7-D5", "2. E4-D5"}));
    EXPECT_EQ(game.EnPassant(), None);
}

TEST(MakeMove, CastlingMovesTheRookAndTakesTheRights) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6"}));
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(E1, G1));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 61 63", "Castle 61 63", "Paint"}));
    EXPECT_EQ(game.PieceAt(G1), 'K');
    EXPECT_EQ(game.PieceAt(F1), 'R');
    EXPECT_EQ(game.PieceAt(H1), ' ');
    EXPECT_FALSE(game.CastlingAllowed().Contains(WhiteKingSide));
    EXPECT_FALSE(game.CastlingAllowed().Contains(WhiteQueenSide));
    EXPECT_TRUE(game.CastlingAllowed().Contains(BlackKingSide));

    // Black castles queen side.
    TChessGame black;
    black.SetPosition(
        Board({"r   k  r", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "    K   "}));
    black.SetWhiteToMove(false);
    ASSERT_TRUE(black.MakeMove(E8, C8));
    EXPECT_EQ(black.Position().substr(0, 8), "  kr   r");
    EXPECT_TRUE(black.CastlingAllowed().Contains(WhiteKingSide));
    EXPECT_FALSE(black.CastlingAllowed().Contains(BlackKingSide));
}

TEST(MakeMove, RightsGoByTheSquareLeftOnly) {
    TChessGame game;
    game.SetPosition(
        Board({"r      r", kEmpty, "    k   ", kEmpty, kEmpty, kEmpty, kEmpty, "R   K  R"}));
    // A rook captured on its corner keeps that corner's right.
    ASSERT_TRUE(Play(game, {"a1a8"}));
    EXPECT_FALSE(game.CastlingAllowed().Contains(WhiteQueenSide));
    EXPECT_TRUE(game.CastlingAllowed().Contains(BlackQueenSide));
    ASSERT_TRUE(Play(game, {"h8h1"}));
    EXPECT_FALSE(game.CastlingAllowed().Contains(BlackKingSide));
    EXPECT_TRUE(game.CastlingAllowed().Contains(WhiteKingSide));
}

TEST(MakeMove, EnPassantCapture) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"e2e4", "a7a6", "e4e5", "d7d5"}));
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(E5, D6));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 29 20", "Capture 29 20 p", "Paint"}));
    EXPECT_EQ(game.PieceAt(D5), ' ');
    EXPECT_EQ(game.PieceAt(D6), 'P');
    EXPECT_EQ(game.EnPassant(), None);

    // Black takes on e3 after e2-e4.
    TChessGame black;
    ASSERT_TRUE(Play(black, {"a2a3", "d7d5", "a3a4", "d5d4", "e2e4"}));
    log.Clear();
    log.Attach(black);
    ASSERT_TRUE(black.MakeMove(D4, E3));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 36 45", "Capture 36 45 P", "Paint"}));
    EXPECT_EQ(black.PieceAt(E4), ' ');
}

TEST(MakeMove, PromotionWithAndWithoutAHandler) {
    const std::string board =
        Board({kEmpty, "P       ", "       k", kEmpty, kEmpty, kEmpty, "p       ", "    K   "});
    TChessGame plain;
    plain.SetPosition(board);
    ASSERT_TRUE(Play(plain, {"a7a8", "a2a1"}));
    EXPECT_EQ(plain.PieceAt(A8), 'Q');
    EXPECT_EQ(plain.PieceAt(A1), 'q');

    // A handler's choice sticks for later promotions of either colour.
    TChessGame game;
    game.SetPosition(board);
    EventLog log;
    log.Attach(game);
    auto logged = game.OnPromotion;
    game.OnPromotion = [&](TChessGame* sender, Square a, Square b, char& piece) {
        logged(sender, a, b, piece);
        if (game.WhiteToMove() == false) piece = 'n';
    };
    ASSERT_TRUE(game.MakeMove(A7, A8));
    EXPECT_EQ(game.PieceAt(A8), 'N');
    EXPECT_EQ(game.PromotionPiece(), 'n');
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 9 1", "Promotion 9 1 q", "Paint"}));
    log.Clear();
    ASSERT_TRUE(game.MakeMove(A2, A1));
    EXPECT_EQ(game.PieceAt(A1), 'n');
    EXPECT_EQ(log.Lines,
              (Lines{"LegalMove 49 57", "Promotion 49 57 n", "NoMatingMaterial", "Draw", "Paint"}));

    // Promotion by capture gives a capture first, and a check after it.
    TChessGame capture;
    capture.SetPosition(
        Board({" r     k", "P       ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "    K   "}));
    log.Clear();
    log.Attach(capture);
    ASSERT_TRUE(capture.MakeMove(A7, B8));
    EXPECT_EQ(log.Names(), (Lines{"LegalMove", "Capture", "Promotion", "Check", "Paint"}));
}

TEST(MakeMove, ApplyPromotionTakesAnyLetter) {
    TChessGame game;
    game.SetPromotionPiece('R');
    game.ApplyPromotion(H1);
    EXPECT_EQ(game.PieceAt(H1), 'r');
    game.SetPromotionPiece('x');
    game.ApplyPromotion(A8);
    EXPECT_EQ(game.PieceAt(A8), 'X');
    const std::string before = game.Position();
    game.ApplyPromotion(E4);
    game.ApplyPromotion(None);
    EXPECT_EQ(game.Position(), before) << "only ranks 8 and 1 change";
}

TEST(MakeMove, FoolsMate) {
    TChessGame game;
    ASSERT_TRUE(Play(game, {"f2f3", "e7e5", "g2g4"}));
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(D8, H4));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 4 40", "Check 4 40", "Mate 4 40", "Paint"}));
    EXPECT_TRUE(game.GameEnded());
    EXPECT_FALSE(game.HasLegalMove());

    // Without an OnMate handler the game is not marked ended.
    TChessGame quiet;
    ASSERT_TRUE(Play(quiet, {"f2f3", "e7e5", "g2g4", "d8h4"}));
    EXPECT_FALSE(quiet.GameEnded());
    // Any later call of MakeMove clears the flag.
    EXPECT_FALSE(game.MakeMove(E2, E4));
    EXPECT_FALSE(game.GameEnded());
}

TEST(MakeMove, CastlingAndEnPassantThatGiveCheck) {
    TChessGame game;
    game.SetPosition(
        Board({"     k  ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "    K  R"}));
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(E1, G1));
    EXPECT_EQ(log.Names(), (Lines{"LegalMove", "Castle", "Check", "Paint"}));

    // Taking d5 en passant from e5 empties both squares of the fifth rank that stood
    // between the a5 rook and the h5 king.
    TChessGame ep;
    ep.SetPosition(
        Board({kEmpty, "   p    ", kEmpty, "R   P  k", kEmpty, kEmpty, kEmpty, "    K   "}));
    ep.SetWhiteToMove(false);
    ASSERT_TRUE(Play(ep, {"d7d5"}));
    log.Clear();
    log.Attach(ep);
    ASSERT_TRUE(ep.MakeMove(E5, D6));
    EXPECT_EQ(log.Names(), (Lines{"LegalMove", "Capture", "Check", "Paint"}));
}

TEST(MakeMove, StalemateIsADrawWithOrWithoutItsHandler) {
    const std::string board =
        Board({"k       ", kEmpty, " Q      ", kEmpty, kEmpty, kEmpty, " P      ", "    K   "});
    TChessGame game;
    game.SetPosition(board);
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(B6, C7));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 18 11", "StaleMate 18 11", "Draw", "Paint"}));
    EXPECT_TRUE(game.GameEnded());

    TChessGame noHandler;
    noHandler.SetPosition(board);
    log.Clear();
    log.Attach(noHandler);
    noHandler.OnStaleMate = nullptr;
    ASSERT_TRUE(noHandler.MakeMove(B6, C7));
    EXPECT_EQ(log.Names(), (Lines{"LegalMove", "Draw", "Paint"}));

    // Without an OnDraw handler the game is not marked ended.
    TChessGame silent;
    silent.SetPosition(board);
    ASSERT_TRUE(silent.MakeMove(B6, C7));
    EXPECT_FALSE(silent.GameEnded());
}

TEST(MakeMove, MatingMaterialSums) {
    struct Case {
        const char* WhiteRank; // rank 1 after the capture on b2
        bool Draw;
    };
    // The white king takes the black knight on d2; what remains on rank 2 decides.
    for (const Case& c :
         {Case{"    K B ", true}, Case{"    KNN ", true}, Case{"    KBN ", false},
          Case{"    K  P", false}, Case{"    K  R", false}, Case{"   BK   ", true}}) {
        TChessGame game;
        game.SetPosition(
            Board({"k       ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "   n    ", c.WhiteRank}));
        EventLog log;
        log.Attach(game);
        ASSERT_TRUE(game.MakeMove(E1, D2)) << c.WhiteRank;
        const Lines names = log.Names();
        const bool drew = std::find(names.begin(), names.end(), "Draw") != names.end();
        EXPECT_EQ(drew, c.Draw) << c.WhiteRank;
        if (c.Draw) {
            EXPECT_EQ(names, (Lines{"LegalMove", "Capture", "NoMatingMaterial", "Draw", "Paint"}));
        }
    }
    // A black side at 5 points keeps the game going as well.
    TChessGame game;
    game.SetPosition(
        Board({"k     bn", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "   n    ", "    K   "}));
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(E1, D2));
    EXPECT_EQ(log.Names(), (Lines{"LegalMove", "Capture", "Paint"}));

    // Later moves draw again, each once.
    TChessGame bare;
    bare.SetPosition(
        Board({"k       ", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, "    K   "}));
    log.Clear();
    log.Attach(bare);
    ASSERT_TRUE(Play(bare, {"e1e2", "a8a7"}));
    EXPECT_EQ(log.Names(), (Lines{"LegalMove", "NoMatingMaterial", "Draw", "Paint", "LegalMove",
                                  "NoMatingMaterial", "Draw", "Paint"}));
}

TEST(MakeMove, ThreefoldRepetitionFreezesTheGameUntilStepBack) {
    TChessGame game;
    EventLog log;
    ASSERT_TRUE(Play(game, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1"}));
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(F6, G8));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 22 7", "Threefold", "Draw", "Paint"}));
    EXPECT_TRUE(game.GameEnded());
    EXPECT_FALSE(game.IsLegalMove(E2, E4));
    EXPECT_FALSE(game.IsLegalMove(G1, F3));
    EXPECT_FALSE(game.HasLegalMove());
    EXPECT_FALSE(game.MakeMove(E2, E4));

    ASSERT_TRUE(game.StepBack());
    EXPECT_TRUE(game.IsLegalMove(F6, E4));
    EXPECT_TRUE(game.HasLegalMove());
}

TEST(MakeMove, NoLeftoverOfAnAbandonedLineIsCompared) {
    // After stepping back, the record of the half-move after the new move still held the
    // repeated start position of the abandoned line; it must not make the game look frozen.
    TChessGame game;
    ASSERT_TRUE(Play(game, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"}));
    ASSERT_TRUE(game.StepBack());
    EventLog log;
    log.Attach(game);
    ASSERT_TRUE(game.MakeMove(F6, E4));
    EXPECT_EQ(log.Lines, (Lines{"LegalMove 22 37", "Paint"}));
    EXPECT_FALSE(game.GameEnded());
    EXPECT_TRUE(game.HasLegalMove());
    EXPECT_EQ(game.MoveHistory(5, true).Position, game.Position());
}

// Records which drawing hooks a move calls.
class HookGame : public TChessGame {
  public:
    std::vector<std::string> Calls;
    void DropFrom(Square from, Square to) {
        FDragFrom = from;
        FDropTo = to;
    }

  protected:
    void RepaintSquare(Square sq) override { Calls.push_back("Repaint " + std::to_string(sq)); }
    void DrawPieceAt(Square sq, char c) override {
        Calls.push_back("Draw " + std::to_string(sq) + " " + std::string(1, c));
    }
    void DrawGridLines() override { Calls.emplace_back("Grid"); }
    void AnimateMove(Square a, Square b, int) override {
        Calls.push_back("Animate " + std::to_string(a) + " " + std::to_string(b));
    }
};

TEST(MakeMove, AnimatesOnlyMovesTheUserDidNotDrop) {
    HookGame game;
    ASSERT_TRUE(game.MakeMove(E2, E4));
    EXPECT_EQ(game.Calls,
              (Lines{"Repaint 53", "Grid", "Animate 53 37", "Repaint 37", "Draw 37 P", "Grid"}));
    game.Calls.clear();
    game.DropFrom(E7, E5);
    ASSERT_TRUE(game.MakeMove(E7, E5));
    EXPECT_EQ(game.Calls, (Lines{"Repaint 13", "Repaint 29", "Draw 29 p", "Grid"}));
}

TEST(MakeMove, PlayerMoveHandsTheTurnToTheComputer) {
    struct Game : TChessGame {
        std::vector<std::string> Calls;
        void StopThinking() override {
            Calls.emplace_back("Stop");
            TChessGame::StopThinking();
        }
        void StartComputerMove() override {
            Calls.push_back(EngineHalted() ? "Start halted" : "Start");
        }
    } game;
    game.OnLegalMove = [&](TChessGame*, Square, Square) { game.Calls.emplace_back("Move"); };
    EXPECT_TRUE(game.PlayerMove(E2, E4));
    EXPECT_FALSE(game.PlayerMove(E2, E4));
    EXPECT_EQ(game.Calls, (Lines{"Stop", "Move", "Start", "Stop", "Start"}));
}

} // namespace
