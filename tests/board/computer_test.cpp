// The computer player through the real search thread and the window event loop: whole
// games, human moves against it, halting it from every game-changing operation, the host
// engine, game-end handlers that start a new game, and the board's destruction.

#include <gtest/gtest.h>

#include <memory>

#include "BoardTestSupport.h"

namespace {

struct Computer : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }

    std::unique_ptr<TCountingBoard> Board = NewBoard();
    bool Ended = false;
    std::string RefusedMove;

    static std::unique_ptr<TCountingBoard> NewBoard() {
        auto b = std::make_unique<TCountingBoard>();
        b->SetAnimateMoves(false);
        b->PaintBoard(); // as a shown board has been painted
        return b;
    }

    // Game end stops both computers from inside the handler, as the design allows.
    void StopAtGameEnd() {
        auto stop = [this] {
            Ended = true;
            Board->SetComputerPlaysWhite(false);
            Board->SetComputerPlaysBlack(false);
        };
        Board->OnMate = [stop](TChessGame*, Square, Square) { stop(); };
        Board->OnDraw = [stop](TChessGame*) { stop(); };
    }

    // Starts from the position after a few random legal moves.
    void RandomOpening(std::mt19937& rng, int halfMoves) {
        for (int i = 0; i < halfMoves; ++i) {
            const auto moves = LegalMoves(*Board);
            if (moves.empty()) return;
            const auto [a, b] = moves[rng() % moves.size()];
            Board->MakeMove(a, b);
        }
        Board->Made = 0;
    }

    // Lets the computer play both sides until the game ends or maxHalfMoves were made.
    bool PlayComputerGame(int depth, int maxHalfMoves) {
        Ended = false;
        StopAtGameEnd();
        Board->SetSearchDepth(depth);
        Board->SetComputerPlaysWhite(true);
        Board->SetComputerPlaysBlack(true);
        // A refused move leaves the computer waiting for a change of the game: stop there.
        Board->OnMakeMove = [this](Square a, Square b, bool ok) {
            if (!ok) RefusedMove = std::string(SquareName(a)) + "-" + SquareName(b);
        };
        const bool finished = PumpUntil(
            [&] { return Ended || Board->Refused > 0 || Board->Made >= maxHalfMoves; }, 60000);
        Board->SetComputerPlaysWhite(false);
        Board->SetComputerPlaysBlack(false);
        return finished;
    }

    // Waits until the computer is searching.
    void WaitForThinking() {
        ASSERT_TRUE(PumpUntil([&] { return Board->Thinking(); }, 5000));
    }
};

} // namespace

TEST_F(Computer, GamesAtDepthOneToThreeArePlayedToTheEnd) {
    for (int depth = 1; depth <= 3; ++depth) {
        Board = NewBoard();
        ASSERT_TRUE(PlayComputerGame(depth, 400)) << "depth " << depth;
        EXPECT_EQ(Board->Refused, 0) << "depth " << depth << " refused " << RefusedMove;
        EXPECT_GT(Board->Made, 0);
        // After the end nothing moves any more.
        const int made = Board->Made;
        PumpFor(100);
        EXPECT_EQ(Board->Made, made);
        EXPECT_FALSE(Board->Thinking());
    }
}

TEST_F(Computer, ManyShortGamesNeverHandOverAMoveTheRulesRefuse) {
    std::mt19937 rng(20240611);
    int games = 0, ended = 0;
    for (int g = 0; g < 30; ++g) {
        Board = NewBoard();
        RandomOpening(rng, int(rng() % 9));
        ASSERT_TRUE(PlayComputerGame(1 + g % 2, 150)) << "game " << g;
        EXPECT_EQ(Board->Refused, 0) << "game " << g << " refused " << RefusedMove << " in "
                                     << Board->PositionText().toStdString() << " en passant "
                                     << Board->EnPassantName().toStdString();
        ++games;
        ended += Ended ? 1 : 0;
    }
    EXPECT_EQ(games, 30);
    RecordProperty("GamesEndedByMateOrDraw", ended);
}

TEST_F(Computer, AnswersEachHumanMoveAfterHavingParked) {
    Board->SetSearchDepth(2);
    Board->SetComputerPlaysBlack(true);
    std::mt19937 rng(7);
    for (int i = 0; i < 6; ++i) {
        const auto moves = LegalMoves(*Board);
        ASSERT_FALSE(moves.empty());
        const auto [a, b] = moves[rng() % moves.size()];
        ASSERT_TRUE(Board->PlayerMove(a, b));
        EXPECT_FALSE(Board->WhiteToMove());
        EXPECT_FALSE(Board->EngineHalted());
        ASSERT_TRUE(PumpUntil([&] { return Board->WhiteToMove(); }, 5000)) << i;
    }
    EXPECT_EQ(Board->Made, 12);
    EXPECT_EQ(Board->Refused, 0);
}

TEST_F(Computer, AHumanMoveDuringTheSearchAbortsItAndIsMadeInstead) {
    Board->SetSearchDepth(8);
    Board->SetComputerPlaysBlack(true);
    ASSERT_TRUE(Board->PlayerMove(E2, E4));
    WaitForThinking();
    // The person plays Black's move himself; the search is dropped, no move of its own.
    ASSERT_TRUE(Board->PlayerMove(E7, E5));
    EXPECT_FALSE(Board->Thinking());
    EXPECT_TRUE(Board->WhiteToMove());
    PumpFor(200);
    EXPECT_EQ(Board->Made, 2);
    EXPECT_EQ(Board->PieceAt(E5), 'p');
}

TEST_F(Computer, EveryGameChangingOperationHaltsTheSearchAndDoesNotRestartIt) {
    const std::vector<std::pair<const char*, std::function<void(TChessBrd&)>>> ops = {
        {"StopThinking", [](TChessBrd& b) { b.StopThinking(); }},
        {"Position", [](TChessBrd& b) { b.SetPositionText(b.PositionText()); }},
        {"WhiteToMove", [](TChessBrd& b) { b.SetWhiteToMove(true); }},
        {"EnPassant", [](TChessBrd& b) { b.SetEnPassant(E3); }},
        {"NewGame", [](TChessBrd& b) { b.NewGame(); }},
        {"ResetGame", [](TChessBrd& b) { b.ResetGame(); }},
        {"StepBack", [](TChessBrd& b) { b.StepBack(); }},
        {"StepForward", [](TChessBrd& b) { b.StepForward(); }},
        {"GotoHalfMove", [](TChessBrd& b) { b.GotoHalfMove(1, true); }},
    };
    for (const auto& [name, op] : ops) {
        Board = NewBoard();
        Board->SetSearchDepth(8);
        Board->SetComputerPlaysWhite(true);
        WaitForThinking();
        QElapsedTimer clock;
        clock.start();
        op(*Board);
        EXPECT_LT(clock.elapsed(), 1000) << name;
        EXPECT_FALSE(Board->Thinking()) << name;
        EXPECT_TRUE(Board->EngineHalted()) << name;
        PumpFor(150);
        EXPECT_EQ(Board->Made, 0) << name;
        EXPECT_FALSE(Board->Thinking()) << name;
        // The next StartComputerMove lets it search again.
        Board->SetSearchDepth(1);
        Board->StartComputerMove();
        EXPECT_TRUE(PumpUntil([&] { return Board->Made == 1; }, 5000)) << name;
    }
}

TEST_F(Computer, SearchDepthIsReadByTheNextSearchOnly) {
    Board->SetSearchDepth(8);
    Board->SetComputerPlaysWhite(true);
    WaitForThinking();
    Board->SetSearchDepth(1); // does not stop the computer
    PumpFor(300);
    EXPECT_TRUE(Board->Thinking()); // still at depth 8
    EXPECT_EQ(Board->Made, 0);
    Board->StopThinking();
    QElapsedTimer clock;
    clock.start();
    Board->StartComputerMove();
    ASSERT_TRUE(PumpUntil([&] { return Board->Made == 1; }, 5000));
    EXPECT_LT(clock.elapsed(), 250); // a depth-1 search
}

TEST_F(Computer, TakingOverASideStartsTheSearchAtOnce) {
    Board->SetComputerPlaysWhite(false);
    Board->SetComputerPlaysBlack(false);
    PumpFor(100);
    EXPECT_EQ(Board->Made, 0);
    EXPECT_FALSE(Board->Thinking());
    Board->SetSearchDepth(2);
    Board->SetComputerPlaysWhite(true);
    ASSERT_TRUE(PumpUntil([&] { return Board->Made == 1; }, 5000));
    PumpFor(100);
    EXPECT_EQ(Board->Made, 1); // Black is nobody's computer
}

TEST_F(Computer, AMoveMadeByCodeWakesTheSleepingThread) {
    Board->SetComputerPlaysBlack(true); // White to move: nothing to search yet
    PumpFor(50);
    ASSERT_TRUE(Board->MakeMove(D2, D4));
    ASSERT_TRUE(PumpUntil([&] { return Board->Made == 2; }, 5000));
    EXPECT_TRUE(Board->WhiteToMove());
}

TEST_F(Computer, ARefusedMoveIsNotSearchedAgainUntilTheGameChanges) {
    Board->RefuseEveryMove = true;
    Board->SetComputerPlaysWhite(true);
    ASSERT_TRUE(PumpUntil([&] { return Board->Refused >= 1; }, 5000));
    PumpFor(300);
    EXPECT_EQ(Board->Refused, 1);
    EXPECT_FALSE(Board->Thinking());
    // A new position and a restart: it plays again.
    Board->RefuseEveryMove = false;
    Board->SetPositionText("init");
    Board->StartComputerMove();
    ASSERT_TRUE(PumpUntil([&] { return Board->Made == 1; }, 5000));
}

TEST_F(Computer, NeverMovesInAGameThatIsOver) {
    // Stalemate with the computer to move: nothing is searched, nothing handed over.
    Board->SetPositionText(QString::fromStdString(Placement({{A8, 'K'}, {C7, 'q'}, {H1, 'k'}})));
    Board->SetComputerPlaysWhite(true);
    PumpFor(300);
    EXPECT_EQ(Board->Made + Board->Refused, 0);
    EXPECT_FALSE(Board->Thinking());
    Board->SetComputerPlaysWhite(false);

    // The person takes the last black piece: a draw, and the computer, still able to move
    // its king by the rules, does not.
    Board = NewBoard();
    Board->SetPositionText(
        QString::fromStdString(Placement({{A8, 'k'}, {B2, 'r'}, {A1, 'K'}, {B1, 'N'}})));
    Board->SetComputerPlaysBlack(true);
    ASSERT_TRUE(Board->PlayerMove(A1, B2));
    PumpFor(300);
    EXPECT_EQ(Board->Made, 1);
    EXPECT_FALSE(Board->WhiteToMove());

    // A game marked over with the computer to move waits; stepped back, the person plays
    // on and the computer answers.
    Board = NewBoard();
    ASSERT_TRUE(Board->MakeMove(E2, E4));
    Board->MarkGameOver();
    Board->SetComputerPlaysBlack(true);
    PumpFor(300);
    EXPECT_EQ(Board->Made, 1);
    ASSERT_TRUE(Board->StepBack());
    ASSERT_TRUE(Board->PlayerMove(D2, D4));
    ASSERT_TRUE(PumpUntil([&] { return Board->Made == 3; }, 5000));
    EXPECT_TRUE(Board->WhiteToMove());
}

TEST_F(Computer, MateAndDrawHandlersMayStartANewGameFromInsideTheEvent) {
    // Back-rank mate in one for White; the mate handler starts a new game, in which the
    // computer (still White) opens at once.
    int mates = 0;
    Board->OnMate = [&](TChessGame* g, Square, Square) {
        ++mates;
        static_cast<TChessBrd*>(g)->NewGame();
    };
    Board->SetPositionText(
        QString::fromStdString(Placement({{H8, 'k'}, {G7, 'p'}, {H7, 'p'}, {A1, 'R'}, {G1, 'K'}})));
    Board->SetSearchDepth(3);
    Board->SetComputerPlaysWhite(true);
    ASSERT_TRUE(PumpUntil([&] { return Board->Made == 2; }, 5000));
    EXPECT_EQ(mates, 1);
    EXPECT_FALSE(Board->WhiteToMove());
    EXPECT_EQ(Board->CurrentMove(), 1);
    EXPECT_NE(Board->PositionText(),
              "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR");

    // Taking the last black piece, a rook, leaves no mating material; the draw handler changes the
    // players (the computer now plays Black as well) and starts a new game.
    Board = NewBoard();
    int draws = 0;
    Board->OnDraw = [&](TChessGame* g) {
        ++draws;
        auto* b = static_cast<TChessBrd*>(g);
        b->SetComputerPlaysBlack(true);
        b->NewGame();
    };
    Board->SetPositionText(
        QString::fromStdString(Placement({{H8, 'k'}, {H6, 'r'}, {C1, 'B'}, {A1, 'K'}})));
    Board->SetComputerPlaysWhite(true);
    ASSERT_TRUE(PumpUntil([&] { return Board->Made >= 4; }, 5000));
    EXPECT_EQ(draws, 1);
    Board->SetComputerPlaysWhite(false);
    Board->SetComputerPlaysBlack(false);
    EXPECT_EQ(Board->Refused, 0);
}

TEST_F(Computer, HostEngineIsAskedOnlyAfterAPlayerMove) {
    int asks = 0;
    Board->SetCustomEngine(true);
    Board->OnCalculateMove = [&](TChessBrd* b, Square& from, Square& to) {
        EXPECT_EQ(b, Board.get());
        ++asks;
        from = E7;
        to = E5;
    };
    Board->PaintBoard(); // the first paint lets the computer go on
    // The constructor left the computer halted: a host engine playing White does not open.
    Board->SetComputerPlaysWhite(true);
    PumpFor(700);
    EXPECT_EQ(asks, 0);
    Board->SetComputerPlaysWhite(false);

    Board->SetComputerPlaysBlack(true);
    ASSERT_TRUE(Board->PlayerMove(E2, E4));
    EXPECT_EQ(asks, 1); // asked inside PlayerMove, and the move is made
    EXPECT_EQ(Board->PieceAt(E5), 'p');
    EXPECT_TRUE(Board->WhiteToMove());
    EXPECT_FALSE(Board->Thinking());

    // Writing the side to move halts the host again until the next player move.
    Board->SetWhiteToMove(false);
    PumpFor(700);
    EXPECT_EQ(asks, 1);
}

TEST_F(Computer, HostEngineWithoutHandlerNeverMoves) {
    Board->SetCustomEngine(true);
    Board->SetComputerPlaysBlack(true);
    Board->PaintBoard();
    ASSERT_TRUE(Board->PlayerMove(E2, E4));
    PumpFor(700);
    EXPECT_FALSE(Board->WhiteToMove());
    EXPECT_EQ(Board->Made, 1);
    EXPECT_FALSE(Board->Thinking());
}

TEST_F(Computer, RefusedHostMoveIsReportedAndAskedAgainWhenTheComputerIsLetGoOn) {
    int asks = 0;
    std::vector<std::pair<Square, Square>> failed;
    Board->SetCustomEngine(true);
    Board->SetComputerPlaysBlack(true);
    Board->PaintBoard();
    Board->OnCalculateMove = [&](TChessBrd*, Square& from, Square& to) {
        ++asks;
        from = E8;
        to = E1;
    };
    Board->OnCalculationFailed = [&](TChessBrd* b, Square from, Square to) {
        EXPECT_EQ(b, Board.get());
        failed.emplace_back(from, to);
    };
    ASSERT_TRUE(Board->PlayerMove(E2, E4));
    const QString before = Board->PositionText();
    EXPECT_EQ(asks, 1);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0], std::make_pair(E8, E1));
    // Nothing polls the host: left alone, it is not asked again.
    PumpFor(700);
    EXPECT_EQ(asks, 1);
    Board->StartComputerMove();
    EXPECT_EQ(asks, 2);
    EXPECT_EQ(failed.size(), 2u);
    EXPECT_EQ(Board->PositionText(), before);
    EXPECT_FALSE(Board->WhiteToMove());
}

TEST_F(Computer, DestroyingTheBoardWhileItThinksIsInstant) {
    Board->SetSearchDepth(8);
    Board->SetComputerPlaysWhite(true);
    WaitForThinking();
    QElapsedTimer clock;
    clock.start();
    Board.reset();
    EXPECT_LT(clock.elapsed(), 500);

    // Destruction at arbitrary moments of the hand-off.
    std::mt19937 rng(99);
    for (int i = 0; i < 40; ++i) {
        auto b = NewBoard();
        b->SetComputerPlaysWhite(true);
        b->SetComputerPlaysBlack(true);
        PumpFor(int(rng() % 20));
    }
}
