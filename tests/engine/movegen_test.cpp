// The engine board: loading, generation order and scores, make and take back, perft.

#include <map>
#include <random>

#include "EngineTestSupport.h"

using namespace enginetest;

namespace {

std::uint64_t RefPerft(const char* fen, int depth) {
    auto tables = std::make_unique<TChessEngine>();
    auto ref = std::make_unique<RefEngine>(*tables);
    ref->Load(Fen(fen));
    return ref->Perft(depth);
}

constexpr const char* StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* Kiwipete =
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
constexpr const char* Position3 = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1";
constexpr const char* Position4 =
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
constexpr const char* Position4Mirrored =
    "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1";
constexpr const char* Position5 = "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8";

struct TSnapshot {
    std::int32_t Colour[64], Piece[64], Side, XSide, CastleRights, EnPassantSq, Ply;
    std::uint64_t Bits[2][6];
    explicit TSnapshot(const TChessEngine& e)
        : Side(e.Side), XSide(e.XSide), CastleRights(e.CastleRights), EnPassantSq(e.EnPassantSq),
          Ply(e.Ply) {
        std::memcpy(Colour, e.Colour, sizeof Colour);
        std::memcpy(Piece, e.Piece, sizeof Piece);
        std::memcpy(Bits, e.Bits, sizeof Bits);
    }
    bool operator==(const TSnapshot& o) const {
        return std::memcmp(Colour, o.Colour, sizeof Colour) == 0 &&
               std::memcmp(Piece, o.Piece, sizeof Piece) == 0 &&
               std::memcmp(Bits, o.Bits, sizeof Bits) == 0 && Side == o.Side && XSide == o.XSide &&
               CastleRights == o.CastleRights && EnPassantSq == o.EnPassantSq && Ply == o.Ply;
    }
};

} // namespace

TEST(EnginePerft, StartPositionCounts) {
    auto e = Loaded(StartFen);
    EXPECT_EQ(e->Perft(1), 20u);
    EXPECT_EQ(e->Perft(2), 400u);
    EXPECT_EQ(e->Perft(3), 8902u);
    EXPECT_EQ(e->Perft(4), 197281u);
    EXPECT_EQ(e->Ply, 0);
}

TEST(EnginePerft, PublishedCastlingEnPassantAndPromotionPositions) {
    struct {
        const char* fen;
        std::uint64_t counts[4];
    } cases[] = {
        {Kiwipete, {48, 2039, 97862, 0}},  {Position3, {14, 191, 2812, 43238}},
        {Position4, {6, 264, 9467, 0}},    {Position4Mirrored, {6, 264, 9467, 0}},
        {Position5, {44, 1486, 62379, 0}},
    };
    for (const auto& c : cases) {
        auto e = Loaded(c.fen);
        for (int d = 1; d <= 4 && c.counts[d - 1]; ++d)
            EXPECT_EQ(e->Perft(d), c.counts[d - 1]) << c.fen << " depth " << d;
    }
}

TEST(EnginePerft, DivideListsLegalRootMovesInGenerationOrder) {
    auto e = Loaded(StartFen);
    std::vector<std::pair<TEngineMove, std::uint64_t>> split;
    e->Divide(3, split);
    ASSERT_EQ(split.size(), 20u);
    std::uint64_t total = 0;
    std::vector<std::string> order;
    for (auto& [m, n] : split)
        total += n, order.push_back(EngineMoveText(m));
    EXPECT_EQ(total, 8902u);
    EXPECT_EQ(order.front(), "a2a3");
    EXPECT_EQ(order[1], "a2a4");
    EXPECT_EQ(order[16], "b1a3");
    EXPECT_EQ(order.back(), "g1h3");

    // In check, only the evasions are listed.
    auto c = Loaded("4k3/8/8/8/8/8/8/r3K3 w - - 0 1");
    c->Divide(1, split);
    std::vector<std::string> evasions;
    for (auto& [m, n] : split)
        evasions.push_back(EngineMoveText(m));
    EXPECT_EQ(evasions, (std::vector<std::string>{"e1d2", "e1e2", "e1f2"}));
}

TEST(EngineMoves, PromotionsComeKnightFirstWithFixedScores) {
    // A pawn on e7 with enemy pieces on d8 and f8: four capture-promotions to each side,
    // then the four step promotions.
    auto e = Loaded("3r1q2/4P3/8/8/8/8/8/K6k w - - 0 1");
    e->GenerateMoves();
    std::vector<TGenMove> pawn;
    for (const TGenMove& g : PlyList(*e))
        if (g.Move.From == Sq("e7")) pawn.push_back(g);
    ASSERT_EQ(pawn.size(), 12u);
    const char* expected[12] = {"e7d8n", "e7d8b", "e7d8r", "e7d8q", "e7f8n", "e7f8b",
                                "e7f8r", "e7f8q", "e7e8n", "e7e8b", "e7e8r", "e7e8q"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(EngineMoveText(pawn[i].Move), expected[i]);
        EXPECT_EQ(pawn[i].Score, 1000010 + 10 * (i % 4)) << expected[i];
        EXPECT_EQ(pawn[i].Move.Flags, i < 8 ? 49 : 48);
        EXPECT_EQ(pawn[i].Move.Promote, i % 4 + 1);
    }
    // The capture list holds the same twelve.
    e->GenerateCaptures();
    EXPECT_EQ(Texts(PlyList(*e)).size(), 12u);
}

TEST(EngineMoves, CaptureScoresOrderVictimThenAttacker) {
    // e5xd6, Qh5xf5, Nc3xd5 and e5xf6 en passant, in generation order; picked by score the
    // en passant capture leads, then the queen as victim, then the cheaper attacker of two
    // that take a pawn.
    auto e = Loaded("k7/8/3p4/3qPp1Q/3P4/2N5/8/4K3 w - f6 0 1");
    e->GenerateCaptures();
    std::vector<std::pair<std::string, int>> list;
    for (const TGenMove& g : PlyList(*e))
        list.emplace_back(EngineMoveText(g.Move), g.Score);
    const std::vector<std::pair<std::string, int>> expected = {
        {"e5d6", 1000000}, {"h5f5", 999996}, {"c3d5", 1000039}, {"e5f6", 1000060}};
    EXPECT_EQ(list, expected);
    EXPECT_EQ(e->MoveStack[3].Move.Flags, 21);

    std::vector<std::string> picked;
    for (int i = e->FirstMove[0]; i < e->MoveEnd[0]; ++i) {
        e->PickMove(i);
        picked.push_back(EngineMoveText(e->MoveStack[i].Move));
    }
    EXPECT_EQ(picked, (std::vector<std::string>{"e5f6", "c3d5", "e5d6", "h5f5"}));
}

TEST(EngineMoves, QuietMovesScoreByHistoryAndTiesKeepListOrder) {
    auto e = Loaded(StartFen);
    e->History[Sq("g1")][Sq("f3")] = 7;
    e->History[Sq("b1")][Sq("c3")] = 7;
    e->GenerateMoves();
    e->PickMove(0);
    EXPECT_EQ(EngineMoveText(e->MoveStack[0].Move), "b1c3"); // first of the equal best
    e->PickMove(1);
    EXPECT_EQ(EngineMoveText(e->MoveStack[1].Move), "g1f3");
}

TEST(EngineBoard, PlayAndUndoRestoreEveryField) {
    std::mt19937 rng(12345);
    const char* starts[] = {StartFen, Kiwipete, Position3, Position4, Position5};
    int checked = 0;
    for (int game = 0; game < 40; ++game) {
        auto e = Loaded(starts[game % 5]);
        for (int ply = 0; ply < 50; ++ply) {
            const TSnapshot before(*e);
            e->GenerateMoves();
            std::vector<TEngineMove> legal;
            for (const TGenMove& g : PlyList(*e)) {
                const bool ok = e->PlayMove(g.Move);
                ASSERT_TRUE(e->BoardConsistent());
                if (ok) {
                    legal.push_back(g.Move);
                    e->UndoMove();
                }
                ASSERT_TRUE(TSnapshot(*e) == before) << EngineMoveText(g.Move);
                ++checked;
            }
            if (legal.empty()) break;
            e->PlayMove(legal[rng() % legal.size()]);
        }
    }
    EXPECT_GT(checked, 20000);
}

TEST(EngineBoard, CastlingMovesTheRookAndCornersClearRights) {
    auto e = Loaded("r3k2r/8/8/8/8/8/6b1/R3K2R b KQkq - 0 1");
    // Bxh1 takes the rook on its corner: White loses the king-side right only.
    e->GenerateMoves();
    for (const TGenMove& g : PlyList(*e)) {
        if (EngineMoveText(g.Move) != "g2h1") continue;
        ASSERT_TRUE(e->PlayMove(g.Move));
        EXPECT_EQ(e->CastleRights, 2 | 4 | 8);
        e->UndoMove();
    }
    // Black castles queen side: king c8, rook d8, both black rights gone.
    e->GenerateMoves();
    bool castled = false;
    for (const TGenMove& g : PlyList(*e)) {
        if (EngineMoveText(g.Move) != "e8c8") continue;
        EXPECT_EQ(g.Move.Flags, mfCastle);
        ASSERT_TRUE(e->PlayMove(g.Move));
        castled = true;
        EXPECT_EQ(e->Piece[Sq("d8")], TChessEngine::Rook);
        EXPECT_EQ(e->Colour[Sq("a8")], TChessEngine::NoColour);
        EXPECT_EQ(e->CastleRights, 1 | 2);
    }
    EXPECT_TRUE(castled);
}

TEST(EngineBoard, CastlingRefusedOutOfThroughOrIntoAttack) {
    struct {
        const char* fen;
        const char* move;
        bool legal;
    } cases[] = {
        {"4k3/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", true},
        {"4k3/8/8/8/4r3/8/8/4K2R w K - 0 1", "e1g1", false}, // in check
        {"4k3/8/8/8/5r2/8/8/4K2R w K - 0 1", "e1g1", false}, // f1 attacked
        {"4k3/8/8/8/6r1/8/8/4K2R w K - 0 1", "e1g1", false}, // g1 attacked
        {"4k3/8/8/8/8/8/8/4KB1R w K - 0 1", "e1g1", false},  // f1 occupied
        {"4k3/8/8/8/8/8/8/R3K3 w Q - 0 1", "e1c1", true},
        {"4k3/8/8/8/1r6/8/8/R3K3 w Q - 0 1", "e1c1", true},  // only b1 attacked
        {"4k3/8/8/8/8/8/8/RN2K3 w Q - 0 1", "e1c1", false},  // b1 occupied
        {"4k3/8/8/8/3r4/8/8/R3K3 w Q - 0 1", "e1c1", false}, // d1 attacked
        {"r3k3/8/8/8/8/8/8/4K3 b q - 0 1", "e8c8", true},
        {"r3k3/8/8/8/8/8/8/2R1K3 b q - 0 1", "e8c8", false}, // c8 attacked
    };
    for (const auto& c : cases) {
        auto e = Loaded(c.fen);
        e->GenerateMoves();
        bool found = false;
        for (const TGenMove& g : PlyList(*e)) {
            if (EngineMoveText(g.Move) != c.move) continue;
            found = true;
            EXPECT_EQ(e->PlayMove(g.Move), c.legal) << c.fen;
        }
        EXPECT_TRUE(found) << c.fen;
    }
}

TEST(EngineBoard, KinglessSideIsNeverInCheckAndMayMoveFreely) {
    // White has no king: every pseudo-legal move is legal, even with a queen aimed at
    // everything. Black's king is in check from the rook.
    auto e = Loaded("4k3/8/8/8/8/8/4q3/R7 w - - 0 1");
    EXPECT_FALSE(e->InCheck(TChessEngine::White));
    EXPECT_TRUE(e->InCheck(TChessEngine::Black) == false);
    e->GenerateMoves();
    const auto list = PlyList(*e);
    for (const TGenMove& g : list) {
        EXPECT_TRUE(e->PlayMove(g.Move));
        e->UndoMove();
    }
    EXPECT_EQ(e->Perft(1), list.size());
}

TEST(EngineLoad, RightsWithoutTheirKingOrRookAreDropped) {
    // After 1.g4 b6 2.Bh3 Bb7 3.Nf3 e6 4.Nd4 Bxh1 the game still holds White's king-side
    // right; the engine must not castle with the missing rook.
    const char* afterBxh1 = "rn1qkbnr/p1pp1ppp/1p2p3/8/3N2P1/7B/PPPPPP1P/RNBQK2b w KQkq - 0 5";
    TEngineInput in = Fen(afterBxh1, 1);
    in.CastlingAllowed = 15;
    auto e = std::make_unique<TChessEngine>();
    e->LoadPosition(in);
    EXPECT_EQ(e->CastleRights, 2 | 4 | 8);
    e->Think(in);
    EXPECT_NE(EngineMoveText(e->BestMove()), "e1g1");

    struct {
        const char* fen;
        int rights;
    } cases[] = {
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 15},
        {"r3k2r/8/8/8/8/8/8/R4K1R w KQkq - 0 1", 4 | 8},    // white king off e1
        {"r3k2r/8/8/8/8/8/8/4K2R w KQkq - 0 1", 1 | 4 | 8}, // no rook a1
        {"r3k3/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 1 | 2 | 8}, // no rook h8
        {"4k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 1 | 2 | 4}, // no rook a8
        {"r2k3r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 1 | 2},    // black king off e8
        {"r3k2R/8/8/8/8/8/8/R3K2r w KQkq - 0 1", 2 | 8},    // rooks of the wrong colour
    };
    for (const auto& c : cases)
        EXPECT_EQ(Loaded(c.fen)->CastleRights, c.rights) << c.fen;
}

TEST(EngineLoad, LettersThatNameNoPieceLoadAsEmptySquares) {
    TEngineInput in = Fen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    const char odd[] = {'C', 'D', 'M', 'O', 'c', 'd', 'm', 'o', 'A', 'S', 'a', 's', '.', '1', 0};
    for (int i = 0; i < 15; ++i)
        in.Board[8 + i] = odd[i];
    in.Board[30] = 'Q';
    in.Board[31] = 'n';
    auto e = std::make_unique<TChessEngine>();
    e->LoadPosition(in);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(e->Colour[8 + i], TChessEngine::NoColour) << odd[i];
        EXPECT_EQ(e->Piece[8 + i], TChessEngine::NoPiece) << odd[i];
    }
    EXPECT_EQ(e->Colour[30], TChessEngine::White);
    EXPECT_EQ(e->Piece[30], TChessEngine::Queen);
    EXPECT_EQ(e->Colour[31], TChessEngine::Black);
    EXPECT_EQ(e->Piece[31], TChessEngine::Knight);
    EXPECT_TRUE(e->BoardConsistent());
}

TEST(EngineLoad, EnPassantSquareKeptOnlyBehindAPawnThatJustPassed) {
    struct {
        const char* fen;
        int ep;
    } cases[] = {
        {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", Sq("d6")},
        {"4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1", Sq("d3")},
        {"4k3/8/8/3pP3/8/8/8/4K3 b - d6 0 1", -1},   // wrong side to move
        {"4k3/8/8/4P3/8/8/8/4K3 w - d6 0 1", -1},    // no pawn behind
        {"4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1", -1}, // target occupied
        {"4k3/8/8/3nP3/8/8/8/4K3 w - d6 0 1", -1},   // a knight, not a pawn
    };
    for (const auto& c : cases)
        EXPECT_EQ(Loaded(c.fen)->EnPassantSq, c.ep) << c.fen;
    for (int value : {65, 100, 255}) {
        TEngineInput in = Fen("4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1");
        in.EnPassant = static_cast<std::uint8_t>(value);
        auto e = std::make_unique<TChessEngine>();
        e->LoadPosition(in);
        EXPECT_EQ(e->EnPassantSq, -1);
    }
}

TEST(EngineBounds, OddPositionsNeverLeaveTheArrays) {
    // Pawns on their last and first ranks, missing kings, nine queens, a full board, and
    // their searches, all stay within the arrays (the sanitizer builds catch any stray
    // access).
    const char* fens[] = {
        "PPPPPPPP/8/8/8/8/8/8/pppppppp w - - 0 1",
        "pppppppp/8/8/8/8/8/8/PPPPPPPP b - - 0 1",
        "QQQQQQQQ/Q7/8/8/8/8/8/qqqqqqqk w - - 0 1",
        "8/8/8/8/8/8/8/8 w KQkq - 0 1",
        "rnbqkbnr/rnbqkbnr/rnbqkbnr/rnbqkbnr/RNBQKBNR/RNBQKBNR/RNBQKBNR/RNBQKBNR w KQkq - 0 1",
    };
    for (const char* fen : fens) {
        auto e = Loaded(fen);
        EXPECT_EQ(e->Perft(2), RefPerft(fen, 2)) << fen;
        e->Think(Fen(fen, 2));
        EXPECT_EQ(e->Ply, 0);
    }
}

TEST(EngineBounds, FullMoveStackAndLastPlyAreGuarded) {
    auto e = Loaded("QQQQQQQQ/Q7/8/8/8/8/8/qqqqqqqk w - - 0 1");
    e->FirstMove[e->Ply] = TChessEngine::MoveStackSize - 10;
    e->GenerateMoves();
    EXPECT_EQ(e->MoveEnd[e->Ply], TChessEngine::MoveStackSize);

    // A search begun just below the last ply: the guard scores the deepest nodes statically.
    auto d = Loaded("6k1/5ppp/8/8/8/8/5PPP/3Q2K1 w - - 0 1");
    d->BuildPieceSquareTables();
    d->Ply = TChessEngine::MaxPly - 4;
    d->FirstMove[d->Ply] = 0;
    d->Search(-TChessEngine::Infinity, TChessEngine::Infinity, 8);
    EXPECT_EQ(d->Ply, TChessEngine::MaxPly - 4);
    EXPECT_TRUE(d->BoardConsistent());
}
