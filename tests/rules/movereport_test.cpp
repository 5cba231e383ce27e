// The report of a move: what each kind of move tells in it, that it comes once per move
// after all the move's events, and that nothing but a move played raises one.

#include <gtest/gtest.h>

#include <algorithm>

#include "RulesTestSupport.h"

namespace {

// Collects the reports a game raises.
struct Reports {
    std::shared_ptr<std::vector<TMoveReport>> Sink = std::make_shared<std::vector<TMoveReport>>();
    std::vector<TMoveReport>& List = *Sink;
    void Attach(TChessGame& game) {
        game.OnMoveReport = [sink = Sink](TChessGame*, const TMoveReport& r) {
            sink->push_back(r);
        };
    }
};

// Plays the moves and answers the report of the last; every move must raise exactly one.
TMoveReport ReportOf(TChessGame& game, std::initializer_list<const char*> moves) {
    Reports reports;
    reports.Attach(game);
    for (const char* m : moves)
        EXPECT_TRUE(Play(game, {m})) << m;
    EXPECT_EQ(reports.List.size(), moves.size());
    game.OnMoveReport = nullptr;
    return reports.List.empty() ? TMoveReport{} : reports.List.back();
}

} // namespace

TEST(MoveReport, QuietMovesAndCapturesTellWhoMovedWhatAndWhatWasTaken) {
    TChessGame game;
    TMoveReport r = ReportOf(game, {"e2e4"});
    EXPECT_TRUE(r.White);
    EXPECT_EQ(r.Piece, 'P');
    EXPECT_EQ(r.From, E2);
    EXPECT_EQ(r.To, E4);
    EXPECT_FALSE(r.Capture());
    EXPECT_EQ(r.CapturedOn, None);
    EXPECT_FALSE(r.EnPassant);
    EXPECT_FALSE(r.Castle());
    EXPECT_EQ(r.Promotion, 0);
    EXPECT_FALSE(r.Check);
    EXPECT_FALSE(r.Mate);
    EXPECT_FALSE(r.Drawn());
    EXPECT_EQ(r.End(), TGameOver::None);

    r = ReportOf(game, {"d7d5", "e4d5"});
    EXPECT_TRUE(r.White);
    EXPECT_EQ(r.Captured, 'p');
    EXPECT_EQ(r.CapturedOn, D5);
    EXPECT_FALSE(r.EnPassant);
    r = ReportOf(game, {"d8d5"});
    EXPECT_FALSE(r.White);
    EXPECT_EQ(r.Piece, 'q');
    EXPECT_EQ(r.Captured, 'P');
}

TEST(MoveReport, CastlingOnEitherSideNamesTheRooksTwoSquares) {
    struct Case {
        const char* Move;
        bool White;
        Square RookFrom, RookTo;
    };
    for (const Case c : {Case{"e1g1", true, H1, F1}, Case{"e1c1", true, A1, D1},
                         Case{"e8g8", false, H8, F8}, Case{"e8c8", false, A8, D8}}) {
        TChessGame game;
        Place(game, "Ke1 Ra1 Rh1 ke8 ra8 rh8", c.White);
        const TMoveReport r = ReportOf(game, {c.Move});
        EXPECT_EQ(r.Piece, c.White ? 'K' : 'k') << c.Move;
        EXPECT_TRUE(r.Castle()) << c.Move;
        EXPECT_EQ(r.RookFrom, c.RookFrom) << c.Move;
        EXPECT_EQ(r.RookTo, c.RookTo) << c.Move;
        EXPECT_FALSE(r.Capture()) << c.Move;
    }
    // A king's step next to its rook, or a rook leaving its corner, castles nothing.
    TChessGame game;
    Place(game, "Ke1 Ra1 Rh1 ke8 ra8 rh8");
    EXPECT_FALSE(ReportOf(game, {"e1f1"}).Castle());
    EXPECT_FALSE(ReportOf(game, {"h8h1"}).Castle());
}

TEST(MoveReport, EnPassantTellsTheSquareThePawnWasTakenOn) {
    TChessGame game;
    Place(game, "Ke1 Pe5 ke8 pd7", false);
    TMoveReport r = ReportOf(game, {"d7d5", "e5d6"});
    EXPECT_EQ(r.To, D6);
    EXPECT_EQ(r.Captured, 'p');
    EXPECT_EQ(r.CapturedOn, D5);
    EXPECT_TRUE(r.EnPassant);

    Place(game, "Ke1 Pc2 ke8 pd4");
    r = ReportOf(game, {"c2c4", "d4c3"});
    EXPECT_FALSE(r.White);
    EXPECT_EQ(r.Captured, 'P');
    EXPECT_EQ(r.CapturedOn, C4);
    EXPECT_TRUE(r.EnPassant);
    // A pawn passing by while no pawn stands beside it takes nothing.
    Place(game, "Ke1 Pc2 ke8 pd7");
    r = ReportOf(game, {"c2c4", "d7d6"});
    EXPECT_FALSE(r.Capture());
    EXPECT_FALSE(r.EnPassant);
}

TEST(MoveReport, APromotionTellsThePieceTheHandlerChose) {
    for (const char chosen : {'n', 'b', 'r', 'q'}) {
        TChessGame game;
        game.OnPromotion = [chosen](TChessGame*, Square, Square, char& piece) { piece = chosen; };
        Place(game, "Kh1 Pb7 kh5 ra8");
        TMoveReport r = ReportOf(game, {"b7a8"});
        EXPECT_EQ(r.Piece, 'P');
        EXPECT_EQ(r.Promotion, chosen - 32) << chosen;
        EXPECT_EQ(r.Captured, 'r');
        EXPECT_EQ(r.CapturedOn, A8);

        Place(game, "Kh8 kh4 pg2", false);
        r = ReportOf(game, {"g2g1"});
        EXPECT_EQ(r.Piece, 'p');
        EXPECT_EQ(r.Promotion, chosen) << chosen;
        EXPECT_FALSE(r.Capture());
    }
    // Without a handler a pawn becomes a queen; a pawn short of the last rank promotes to
    // nothing.
    TChessGame game;
    Place(game, "Kh1 Pb6 kh5");
    EXPECT_EQ(ReportOf(game, {"b6b7"}).Promotion, 0);
    EXPECT_EQ(ReportOf(game, {"h5g5", "b7b8"}).Promotion, 'Q');
}

TEST(MoveReport, CheckAndMateAreToldWithOrWithoutHandlers) {
    TChessGame game;
    TMoveReport r = ReportOf(game, {"e2e4", "e7e5", "d1h5", "b8c6", "f1c4", "g8f6"});
    EXPECT_FALSE(r.Check);
    r = ReportOf(game, {"h5f7"});
    EXPECT_TRUE(r.Check);
    EXPECT_TRUE(r.Mate);
    EXPECT_EQ(r.End(), TGameOver::Mate);
    EXPECT_EQ(r.Captured, 'p');
    EXPECT_FALSE(r.Drawn());

    // A check that leaves a way out.
    TChessGame other;
    r = ReportOf(other, {"e2e4", "f7f6", "d1h5"});
    EXPECT_TRUE(r.Check);
    EXPECT_FALSE(r.Mate);
    EXPECT_EQ(r.End(), TGameOver::None);
}

TEST(MoveReport, EachDrawIsToldWithItsReason) {
    TChessGame game;
    Place(game, "Kf6 Qg5 kh8");
    TMoveReport r = ReportOf(game, {"g5g6"});
    EXPECT_TRUE(r.StaleMate);
    EXPECT_FALSE(r.Check);
    EXPECT_FALSE(r.Mate);
    EXPECT_EQ(r.End(), TGameOver::StaleMate);

    Place(game, "Ke4 rd5 ka8");
    r = ReportOf(game, {"e4d5"});
    EXPECT_TRUE(r.NoMatingMaterial);
    EXPECT_FALSE(r.StaleMate);
    EXPECT_EQ(r.End(), TGameOver::NoMatingMaterial);

    TChessGame knights;
    r = ReportOf(knights, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1"});
    EXPECT_FALSE(r.Threefold);
    r = ReportOf(knights, {"f6g8"});
    EXPECT_TRUE(r.Threefold);
    EXPECT_EQ(r.End(), TGameOver::Threefold);
}

// Once the third check stands no move is legal, but the king in check is not mated: the
// repetition ends the game, and the report says so.
TEST(MoveReport, APerpetualCheckRepeatedIsADrawNotAMate) {
    TChessGame game;
    Place(game, "Ka1 Qd1 kh8 pa7");
    game.SetCastlingAllowed(CastleSet{});
    const TMoveReport r =
        ReportOf(game, {"d1d8", "h8h7", "d8d3", "h7h8", "d3d8", "h8h7", "d8d3", "h7h8", "d3d8"});
    EXPECT_TRUE(r.Check);
    EXPECT_TRUE(r.Threefold);
    EXPECT_FALSE(r.Mate);
    EXPECT_EQ(r.End(), TGameOver::Threefold);
    EXPECT_FALSE(game.HasLegalMove());
}

TEST(MoveReport, ComesOncePerMoveAfterAllItsEventsAndForNothingElse) {
    TChessGame game;
    EventLog log;
    log.Attach(game);
    int reports = 0;
    game.OnMoveReport = [&](TChessGame* sender, const TMoveReport& r) {
        EXPECT_EQ(sender, &game);
        ++reports;
        log.Lines.push_back("Report " + std::to_string(r.From) + " " + std::to_string(r.To));
    };
    ASSERT_TRUE(Play(game, {"e2e4", "f7f6", "d1h5"}));
    EXPECT_EQ(log.Lines,
              (Lines{"LegalMove 53 37", "Paint", "Report 53 37", "LegalMove 14 22", "Paint",
                     "Report 14 22", "LegalMove 60 32", "Check 60 32", "Paint", "Report 60 32"}));

    // A refused move, the history stepped through, a position announced, a new game.
    log.Lines.clear();
    EXPECT_FALSE(game.MakeMove(E1, E3));
    ASSERT_TRUE(game.StepBack());
    ASSERT_TRUE(game.StepForward());
    ASSERT_TRUE(game.GotoHalfMove(1, true));
    game.AnnouncePosition();
    game.NewGame();
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), "Paint"), 1) << "NewGame's repaint";
}
