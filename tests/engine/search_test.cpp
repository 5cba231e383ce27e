// The search: the iterations from the start, mates and stalemates, the kept best move, the
// abort from another thread, and the pinned search signature of the benchmark set.

#include <chrono>
#include <random>
#include <thread>

#include "BenchPositions.h"
#include "EngineTestSupport.h"

using namespace enginetest;

namespace {

struct TIteration {
    int Depth, Score;
    std::int64_t Nodes;
    std::string Best;
};

std::vector<TIteration> Iterations(TChessEngine& e, const TEngineInput& in) {
    std::vector<TIteration> out;
    e.OnIteration = [&](int d, int score, std::int64_t nodes) {
        out.push_back({d, score, nodes, EngineMoveText(e.BestMove())});
    };
    e.Think(in);
    e.OnIteration = nullptr;
    return out;
}

} // namespace

TEST(EngineSearch, StartPositionIterationsScore28Then0Then25WithD2D4) {
    auto e = std::make_unique<TChessEngine>();
    const auto it =
        Iterations(*e, Fen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3));
    ASSERT_EQ(it.size(), 3u);
    const int scores[3] = {28, 0, 25};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(it[i].Depth, i + 1);
        EXPECT_EQ(it[i].Score, scores[i]);
        EXPECT_EQ(it[i].Best, "d2d4");
    }
    // Depth 1 plays all twenty root moves; every one is a node.
    EXPECT_EQ(it[0].Nodes, 20);
    EXPECT_EQ(e->Ply, 0);
}

TEST(EngineSearch, MatesScoreByDistanceAndTheShorterWins) {
    auto e = std::make_unique<TChessEngine>();
    // Back-rank mate in one: the mated reply node scores 1 - 10000.
    auto it = Iterations(*e, Fen("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 3));
    for (const auto& i : it) {
        EXPECT_EQ(i.Score, 9999) << "depth " << i.Depth;
        EXPECT_EQ(i.Best, "a1a8");
    }
    // Mate in two (1.Kb6 Kb8 2.Rh8#): the mated node is at ply 3, so the root sees 9997.
    it = Iterations(*e, Fen("k7/8/2K5/8/8/8/8/7R w - - 0 1", 3));
    EXPECT_EQ(it.back().Score, 9997);
    // The side to move already mated, or stalemated, has no line: the old best move stays.
    const TEngineMove before = e->BestMove();
    it = Iterations(*e, Fen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", 2));
    EXPECT_EQ(it.back().Score, -TChessEngine::Infinity);
    EXPECT_EQ(e->BestMove(), before);
    it = Iterations(*e, Fen("k7/8/1Q6/8/8/8/8/7K b - - 0 1", 2));
    EXPECT_EQ(it.back().Score, 0);
    EXPECT_EQ(e->BestMove(), before);
}

TEST(EngineSearch, QuiescenceStandsPatOrTriesEveryEvasion) {
    auto e = std::make_unique<TChessEngine>();
    // Not in check and no captures: the static score, clipped to the window.
    e->LoadPosition(Fen("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1"));
    e->BuildPieceSquareTables();
    const int stat = e->Evaluate();
    EXPECT_EQ(e->Quiesce(-10000, 10000), stat);
    EXPECT_EQ(e->Quiesce(stat + 1, stat + 50), stat + 1);
    EXPECT_EQ(e->Quiesce(stat - 50, stat - 1), stat - 1);
    // In check with no evasion: mated, however good the material looks.
    e->LoadPosition(Fen("R5k1/5ppp/8/8/8/8/8/QQQ3K1 b - - 0 1"));
    e->BuildPieceSquareTables();
    EXPECT_EQ(e->Quiesce(-10000, 10000), -10000);
}

TEST(EngineSearch, AbortFromAnotherThreadStopsADeepSearchPromptly) {
    auto e = std::make_unique<TChessEngine>();
    const TEngineInput in = Fen("r1b2rk1/2q1b1pp/p2ppn2/1p6/3QP3/1BN1B3/PPP3PP/R4RK1 w - - 0 1", 8);
    int finished = 0;
    e->OnIteration = [&](int, int, std::int64_t) { ++finished; };
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        e->AbortSearch.store(true);
    });
    const auto t0 = std::chrono::steady_clock::now();
    e->Think(in);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    stopper.join();
    EXPECT_LT(seconds, 2.0);
    EXPECT_LT(finished, 8);
    EXPECT_EQ(e->Ply, 0);
    auto fresh = std::make_unique<TChessEngine>();
    fresh->LoadPosition(in);
    EXPECT_EQ(std::memcmp(e->Colour, fresh->Colour, sizeof e->Colour), 0);
    EXPECT_EQ(std::memcmp(e->Piece, fresh->Piece, sizeof e->Piece), 0);
    EXPECT_EQ(std::memcmp(e->Bits, fresh->Bits, sizeof e->Bits), 0);
    EXPECT_EQ(e->Side, fresh->Side);
    EXPECT_EQ(e->CastleRights, fresh->CastleRights);

    // While the flag stays set, a new search does nothing at all.
    finished = 0;
    e->Think(in);
    EXPECT_EQ(finished, 0);
    e->AbortSearch.store(false);
}

TEST(EngineSearch, PickMoveBringsTheFirstHighestScoreForwardOnListsOfEveryLength) {
    // Scores from a narrow range make many ties: the first of the highest must come forward,
    // and the entry it displaces takes its place, however long the list.
    auto e = std::make_unique<TChessEngine>();
    std::mt19937 rng(11);
    for (int n = 1; n <= 45; ++n) {
        for (int trial = 0; trial < 20; ++trial) {
            e->Ply = 0;
            e->FirstMove[0] = 0;
            e->MoveEnd[0] = n;
            std::vector<TGenMove> plain(n);
            for (int i = 0; i < n; ++i) {
                const int score = trial % 2 ? static_cast<int>(rng() % 4) - 1
                                            : static_cast<int>(rng() % 3) * 1000000;
                plain[i] = e->MoveStack[i] =
                    TGenMove{TEngineMove{static_cast<std::uint8_t>(i), 0, 0, 0}, score};
            }
            for (int start = 0; start < n; ++start) {
                int best = start;
                for (int i = start + 1; i < n; ++i)
                    if (plain[i].Score > plain[best].Score) best = i;
                std::swap(plain[start], plain[best]);
                e->PickMove(start);
                ASSERT_EQ(e->MoveStack[start].Move, plain[start].Move) << n << " " << start;
            }
        }
    }
}

TEST(EngineSearch, BenchmarkSignatureIsPinned) {
    // Total nodes of the last iteration and the best moves at the signature depth over the
    // benchmark set. Any change in generation order, scores, evaluation or search shows here.
    auto e = std::make_unique<TChessEngine>();
    std::int64_t nodes = 0;
    std::string moves;
    for (const char* fen : bench::SearchFens) {
        e->OnIteration = [&](int d, int, std::int64_t n) {
            if (d == bench::SignatureDepth) nodes += n;
        };
        e->Think(Fen(fen, bench::SignatureDepth));
        moves += EngineMoveText(e->BestMove()) + " ";
    }
    EXPECT_EQ(nodes, 1136075);
    EXPECT_EQ(moves, "e2e4 d2d4 g8f6 f1b5 e2e3 b1c3 e2a6 c4c5 d7c8q c3d5 d6d1 c3d3 d7g4 d4f3 c3d5 "
                     "c2c4 g5e7 h3f3 b4f4 a2c4 e2e3 d1d8 d1d4 f5d3 e2e4 f2f4 ");
}
