// zel_selfplay: games of the strong search against itself, written as positions for tuning
// the evaluation. Each game opens with a few moves chosen at random among those a shallow
// search finds nearly as good as the best, then both sides search a fixed number of nodes a
// move. Every quiet position after the opening (side to move not in check, best move not a
// capture or promotion) is written with the game's result and the search's score, both from
// White's side:
//
//     <FEN> | <1.0, 0.5 or 0.0> | <centipawns>
//
// zel_selfplay --games N --nodes K --seed S [--random-plies P] [--eval net] > positions.txt
// zel_selfplay --label --nodes K < positions.txt > labelled.txt
//     adds the score of a K-node search to positions written without one.

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "PositionLine.h"
#include "StrongMoveGen.h"
#include "StrongSearch.h"

using namespace strong;

namespace {

struct TOptions {
    int Games = 100;
    std::int64_t Nodes = 10000;
    unsigned Seed = 1;
    int RandomPlies = 8;
    TEvalSet Eval = TEvalSet::Classic;
};

// A position of the game and the search's score from White's side; the result is known only
// at the game's end.
struct TRecorded {
    std::string Fen;
    int Score;
};

// Plays one game; returns the result from White's side (1, 0.5, 0) and appends the
// positions to record.
double PlayGame(const TOptions& o, std::mt19937& rng, TStrongSearch* engines[2],
                std::vector<TRecorded>& positions) {
    TPosition pos;
    pos.SetStart();
    for (int side = 0; side < 2; ++side)
        engines[side]->NewGame();
    // 1. The opening: random among the moves within 40 cp of the best at depth 2.
    for (int ply = 0; ply < o.RandomPlies; ++ply) {
        const auto scored = engines[0]->ScoreRootMoves(pos, 2);
        if (scored.empty()) return pos.InCheck() ? (pos.Side == White ? 0.0 : 1.0) : 0.5;
        std::vector<Move> good;
        for (const auto& s : scored)
            if (s.Score >= scored.front().Score - 40) good.push_back(s.Played);
        pos.DoMove(good[std::uniform_int_distribution<std::size_t>(0, good.size() - 1)(rng)]);
    }
    // 2. The game, adjudicated when both sides agree it is decided or dead drawn.
    int decided = 0, drawn = 0;
    for (int ply = 0; ply < 400; ++ply) {
        if (pos.IsFiftyMoves() || pos.IsRepetition() || pos.InsufficientMaterial()) return 0.5;
        TSearchLimits limits;
        limits.Nodes = o.Nodes;
        TStrongSearch& engine = *engines[pos.Side];
        const Move m = engine.Go(pos, limits);
        if (m == NoMove) return pos.InCheck() ? (pos.Side == White ? 0.0 : 1.0) : 0.5;
        const int white = pos.Side == White ? engine.LastScore : -engine.LastScore;
        if (!pos.InCheck() && !IsNoisy(pos, m) && std::abs(white) < 2000)
            positions.push_back({pos.Fen(), white});
        decided = std::abs(white) >= 1000 ? decided + 1 : 0;
        drawn = pos.GamePly() > 120 && std::abs(white) <= 10 ? drawn + 1 : 0;
        if (decided >= 6) return white > 0 ? 1.0 : 0.0;
        if (drawn >= 12) return 0.5;
        pos.DoMove(m);
    }
    return 0.5;
}

} // namespace

// Reads "FEN | result" lines and writes them with the score of a search of the given nodes.
int Label(std::int64_t nodes) {
    TTranspositionTable tt(16);
    TStrongSearch search(tt);
    TPosition pos;
    std::string line;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (!ReadPositionLine(line, pos)) continue;
        TSearchLimits limits;
        limits.Nodes = nodes;
        search.Go(pos, limits);
        const int white = pos.Side == White ? search.LastScore : -search.LastScore;
        std::printf("%s | %d\n", line.c_str(), white);
    }
    return 0;
}

int main(int argc, char** argv) {
    TOptions o;
    bool label = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--label") label = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (key == "--label") {
            --i;
            continue;
        }
        if (key == "--eval") {
            const std::string name = argv[i + 1];
            if (name != "net" && name != "classic") {
                std::fprintf(stderr, "--eval takes net or classic\n");
                return 2;
            }
            o.Eval = name == "net" ? TEvalSet::Net : TEvalSet::Classic;
            continue;
        }
        const long long value = std::atoll(argv[i + 1]);
        if (key == "--games") o.Games = static_cast<int>(value);
        else if (key == "--nodes") o.Nodes = value;
        else if (key == "--seed") o.Seed = static_cast<unsigned>(value);
        else if (key == "--random-plies") o.RandomPlies = static_cast<int>(value);
        else {
            std::fprintf(stderr, "unknown option %s\n", key.c_str());
            return 2;
        }
    }
    if (label) return Label(o.Nodes);
    std::mt19937 rng(o.Seed);
    TTranspositionTable tt0(16), tt1(16);
    TStrongSearch a(tt0), b(tt1);
    a.UseEval(o.Eval);
    b.UseEval(o.Eval);
    TStrongSearch* engines[2] = {&a, &b};
    int counts[3] = {0, 0, 0};
    for (int g = 0; g < o.Games; ++g) {
        std::vector<TRecorded> positions;
        const double result = PlayGame(o, rng, engines, positions);
        ++counts[result == 1.0 ? 0 : result == 0.5 ? 1 : 2];
        const char* text = result == 1.0 ? "1.0" : result == 0.5 ? "0.5" : "0.0";
        for (const auto& p : positions)
            std::printf("%s | %s | %d\n", p.Fen.c_str(), text, p.Score);
        std::fflush(stdout);
        std::fprintf(stderr, "game %d: %s, %zu positions (W %d D %d L %d)\n", g + 1, text,
                     positions.size(), counts[0], counts[1], counts[2]);
    }
    return 0;
}
