// The match tool: two UCI engines play each other from the fixed balanced openings, each
// opening twice with the colours swapped. The project's rules judge every game (mate,
// stalemate, threefold repetition, dead material); the fifty-move rule is counted here.
// Prints every game, then wins, draws and losses of the first engine, the Elo difference
// with its 95 % interval, and the average, median and longest time a move of each engine.
//
//   zel_match --a CMD [--a-opt NAME=VALUE]... --b CMD [--b-opt NAME=VALUE]...
//             [--games N] [--movetime MS | --tc MS+INC | --nodes N] [--a-nodes N] [--b-nodes N]
//             [--concurrency N] [--first K] [--pgn FILE]
//
// --first K begins with opening K + 1 and goes round to the first after the last.
// With --nodes every move is searched to a node count instead of a time, the same for both
// engines, which the load of the machine does not change. The count varies by up to 10 %
// from game to game, so that the games beyond the openings' first round differ from it.
// With --pgn every game is written to FILE as it ends, its result and how it ended in tags.

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChessGame.h"
#include "GameRecord.h"
#include "PgnWriter.h"
#include "MatchOpenings.h"
#include "StrongMovePicker.h"
#include "UciProcess.h"

namespace {

struct TEngineCommand {
    std::string Command;
    std::vector<std::string> Options; // NAME=VALUE
    std::int64_t Nodes = 0;           // its own node count a move, instead of --nodes
};

struct TSettings {
    TEngineCommand Engine[2];
    int Games = 48;
    int MoveTime = 100;
    std::int64_t Nodes = 0;
    int ClockMillis = 0, IncMillis = 0;
    int Concurrency = 1;
    int First = 0;
    int MaxPlies = 400;
    std::string PgnFile;
};

// One game's outcome for the first engine: 1, 0.5 or 0, and why.
struct TGameResult {
    double Score = 0.5;
    std::string Reason;
    std::vector<double> Seconds[2]; // each move's, by engine
    GameRecord Record; // the moves played, from the start position
};

std::mutex PrintMutex;

// The node count a move of engine k (0: it plays by time).
std::int64_t NodesOf(const TSettings& s, int k) {
    return s.Engine[k].Nodes ? s.Engine[k].Nodes : s.Nodes;
}

bool StartEngine(TUciProcess& p, const TEngineCommand& engine) {
    std::string line;
    if (!p.Start(engine.Command)) return false;
    p.Send("uci");
    if (!p.WaitFor("uciok", line, 10000)) return false;
    for (const std::string& o : engine.Options) {
        const auto eq = o.find('=');
        if (eq == std::string::npos) continue;
        p.Send("setoption name " + o.substr(0, eq) + " value " + o.substr(eq + 1));
    }
    p.Send("isready");
    return p.WaitFor("readyok", line, 10000);
}

// Plays one game; engine 0 is the first engine, white says whether it has White.
TGameResult PlayMoves(const TSettings& s, TUciProcess engines[2], const char* opening, bool firstIsWhite,
                      int index, TChessGame& game) {
    TGameResult r;
    strong::TPosition pos;
    std::string ended;
    game.OnMate = [&](TChessGame*, Square, Square) { ended = "mate"; };
    game.OnStaleMate = [&](TChessGame*, Square, Square) { ended = "stalemate"; };
    game.OnNoMatingMaterial = [&](TChessGame*) { ended = "dead material"; };
    game.OnThreefoldPosition = [&](TChessGame*) {
        if (ended.empty()) ended = "threefold repetition";
    };
    std::string moves;
    int halfMoves = 0;
    auto play = [&](const std::string& text) {
        const strong::Move m = pos.ParseMove(text);
        if (m == strong::NoMove) return false;
        const auto from = static_cast<Square>((strong::FromSq(m) ^ 56) + 1);
        const auto to = static_cast<Square>((strong::ToSq(m) ^ 56) + 1);
        if (strong::KindOf(m) == strong::KindPromotion)
            game.SetPromotionPiece("nbrq"[strong::PromoType(m) - strong::Knight]);
        const bool resets = strong::TypeOf(pos.Board[strong::FromSq(m)]) == strong::Pawn ||
                            strong::IsCapture(pos, m);
        if (!game.MakeMove(from, to)) return false;
        pos.DoMove(m);
        halfMoves = resets ? 0 : halfMoves + 1;
        moves += (moves.empty() ? "" : " ") + text;
        return true;
    };
    std::istringstream book(opening);
    for (std::string m; book >> m;)
        if (!play(m)) return r.Reason = "bad opening move " + m, r;
    for (int k = 0; k < 2; ++k)
        engines[k].Send("ucinewgame");
    int clock[2] = {s.ClockMillis, s.ClockMillis}; // by colour
    for (int ply = 0; ply < s.MaxPlies; ++ply) {
        const int colour = pos.Side;
        const int mover = (colour == strong::White) == firstIsWhite ? 0 : 1;
        TUciProcess& e = engines[mover];
        e.Send("position startpos moves " + moves);
        std::string go;
        const std::int64_t nodes = NodesOf(s, mover);
        if (s.ClockMillis) {
            go = "go wtime " + std::to_string(clock[0]) + " btime " + std::to_string(clock[1]) +
                 " winc " + std::to_string(s.IncMillis) + " binc " + std::to_string(s.IncMillis);
        } else if (nodes) {
            const std::int64_t share = 90 + (index * 37 + index / 48 * 11) % 21; // percent
            go = "go nodes " + std::to_string(std::max<std::int64_t>(1, nodes * share / 100));
        } else {
            go = "go movetime " + std::to_string(s.MoveTime);
        }
        const auto start = std::chrono::steady_clock::now();
        e.Send(go);
        std::string line;
        // A level that searches to a fixed depth may take longer than the move time on a busy
        // machine; only a program that does not answer at all loses by it.
        const int patience = s.ClockMillis ? clock[colour] + 5000 : nodes ? 600000 : s.MoveTime * 5 + 60000;
        const bool answered = e.WaitFor("bestmove", line, patience);
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        r.Seconds[mover].push_back(secs);
        const double loss = mover == 0 ? 0.0 : 1.0;
        if (!answered) return r.Score = loss, r.Reason = "no answer", r;
        if (s.ClockMillis) {
            clock[colour] -= static_cast<int>(secs * 1000);
            if (clock[colour] < 0) return r.Score = loss, r.Reason = "time forfeit", r;
            clock[colour] += s.IncMillis;
        }
        std::istringstream words(line);
        std::string bestmove, move;
        words >> bestmove >> move;
        if (!play(move)) return r.Score = loss, r.Reason = "illegal move " + move + " after " + moves, r;
        if (ended == "mate") return r.Score = 1.0 - loss, r.Reason = "mate", r;
        if (!ended.empty()) return r.Score = 0.5, r.Reason = ended, r;
        if (halfMoves >= 100) return r.Score = 0.5, r.Reason = "fifty moves", r;
    }
    r.Reason = "move limit (adjudicated a draw)";
    return r;
}

TGameResult PlayGame(const TSettings& s, TUciProcess engines[2], const char* opening, bool firstIsWhite,
                     int index) {
    TChessGame game;
    TGameResult r = PlayMoves(s, engines, opening, firstIsWhite, index, game);
    r.Record = RecordFromHistory(game);
    return r;
}

// The engine's command and options, as a player's name.
std::string PlayerName(const TEngineCommand& engine) {
    std::string name = engine.Command.substr(engine.Command.rfind('/') + 1);
    for (const std::string& o : engine.Options)
        name += " " + o;
    return name;
}

void WriteGame(const TSettings& s, TGameResult r, int index, int opening, bool firstIsWhite) {
    r.Record.SetTag("Event", "zel_match");
    r.Record.SetTag("Round", std::to_string(index + 1));
    r.Record.SetTag("White", PlayerName(s.Engine[firstIsWhite ? 0 : 1]));
    r.Record.SetTag("Black", PlayerName(s.Engine[firstIsWhite ? 1 : 0]));
    const double white = firstIsWhite ? r.Score : 1.0 - r.Score;
    r.Record.Result = white == 1.0 ? "1-0" : white == 0.0 ? "0-1" : "1/2-1/2";
    r.Record.SetTag("Result", r.Record.Result);
    r.Record.SetTag("Opening", std::to_string(opening + 1));
    r.Record.SetTag("Termination", r.Reason);
    // Each engine's own limit, or one for both.
    std::string own[2];
    for (int k = 0; k < 2; ++k)
        own[k] = NodesOf(s, k) ? "nodes " + std::to_string(NodesOf(s, k))
                               : "movetime " + std::to_string(s.MoveTime) + " ms";
    const std::string limit = s.ClockMillis ? std::to_string(s.ClockMillis / 1000.0) + "+" + std::to_string(s.IncMillis / 1000.0)
                              : own[0] == own[1] ? own[0]
                                                 : own[0] + " / " + own[1];
    r.Record.SetTag("Limit", limit);
    if (FILE* f = std::fopen(s.PgnFile.c_str(), "a")) {
        const std::string text = WritePgn(r.Record) + "\n";
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

double Elo(double score) {
    score = std::clamp(score, 0.001, 0.999);
    return -400.0 * std::log10(1.0 / score - 1.0);
}

void Usage() {
    std::fprintf(stderr, "usage: zel_match --a CMD [--a-opt N=V]... --b CMD [--b-opt N=V]... "
                         "[--games N] [--movetime MS | --tc MS+INC | --nodes N] [--a-nodes N] [--b-nodes N] "
                         "[--concurrency N] "
                         "[--first K] [--pgn FILE]\n");
}

} // namespace

int main(int argc, char** argv) {
    TSettings s;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!v) return Usage(), 2;
        ++i;
        if (a == "--a") s.Engine[0].Command = v;
        else if (a == "--b") s.Engine[1].Command = v;
        else if (a == "--a-opt") s.Engine[0].Options.push_back(v);
        else if (a == "--b-opt") s.Engine[1].Options.push_back(v);
        else if (a == "--games") s.Games = std::max(1, std::atoi(v));
        else if (a == "--movetime") s.MoveTime = std::max(1, std::atoi(v));
        else if (a == "--nodes") s.Nodes = std::max(1LL, std::atoll(v));
        else if (a == "--a-nodes") s.Engine[0].Nodes = std::max(1LL, std::atoll(v));
        else if (a == "--b-nodes") s.Engine[1].Nodes = std::max(1LL, std::atoll(v));
        else if (a == "--concurrency") s.Concurrency = std::clamp(std::atoi(v), 1, 8);
        else if (a == "--first") s.First = std::max(0, std::atoi(v));
        else if (a == "--pgn") s.PgnFile = v;
        else if (a == "--tc") {
            s.ClockMillis = std::atoi(v);
            const char* plus = std::strchr(v, '+');
            s.IncMillis = plus ? std::atoi(plus + 1) : 0;
        } else
            return Usage(), 2;
    }
    if (s.Engine[0].Command.empty() || s.Engine[1].Command.empty()) return Usage(), 2;

    constexpr int Openings = static_cast<int>(std::size(MatchOpenings));
    std::atomic<int> next{0};
    std::vector<TGameResult> results(static_cast<std::size_t>(s.Games));
    auto worker = [&] {
        TUciProcess engines[2];
        for (int k = 0; k < 2; ++k) {
            if (!StartEngine(engines[k], s.Engine[k])) {
                std::lock_guard lock(PrintMutex);
                std::fprintf(stderr, "cannot start %s\n", s.Engine[k].Command.c_str());
                std::exit(2);
            }
        }
        for (int g; (g = next++) < s.Games;) {
            const int opening = (s.First + g / 2) % Openings;
            const bool firstIsWhite = g % 2 == 0;
            TGameResult r = PlayGame(s, engines, MatchOpenings[opening], firstIsWhite, g);
            results[static_cast<std::size_t>(g)] = r;
            std::lock_guard lock(PrintMutex);
            if (!s.PgnFile.empty()) WriteGame(s, r, g, opening, firstIsWhite);
            std::printf("game %3d opening %2d, A %s: %s (%s)\n", g + 1, opening + 1,
                        firstIsWhite ? "White" : "Black",
                        r.Score == 1.0 ? "A wins" : r.Score == 0.0 ? "B wins" : "draw",
                        r.Reason.c_str());
            std::fflush(stdout);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < s.Concurrency; ++t)
        threads.emplace_back(worker);
    for (auto& t : threads)
        t.join();

    int w = 0, d = 0, l = 0;
    std::vector<double> secs[2];
    for (const TGameResult& r : results) {
        (r.Score == 1.0 ? w : r.Score == 0.0 ? l : d)++;
        for (int k = 0; k < 2; ++k)
            secs[k].insert(secs[k].end(), r.Seconds[k].begin(), r.Seconds[k].end());
    }
    const int n = w + d + l;
    const double score = (w + 0.5 * d) / n;
    const double var = (w * std::pow(1.0 - score, 2) + d * std::pow(0.5 - score, 2) +
                        l * std::pow(0.0 - score, 2)) / n;
    const double margin = 1.96 * std::sqrt(var / n);
    std::printf("A: %s\nB: %s\n", s.Engine[0].Command.c_str(), s.Engine[1].Command.c_str());
    std::printf("games %d: A wins %d, draws %d, B wins %d; A scores %.1f %%\n", n, w, d, l, 100 * score);
    std::printf("Elo A - B: %+.0f (95 %% interval %+.0f to %+.0f)\n", Elo(score), Elo(score - margin),
                Elo(score + margin));
    // The time a move: average, median and the longest, for each engine.
    double average[2] = {0, 0}, median[2] = {0, 0}, longest[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        std::vector<double>& t = secs[k];
        if (t.empty()) continue;
        std::sort(t.begin(), t.end());
        for (const double x : t)
            average[k] += x / static_cast<double>(t.size());
        median[k] = t[t.size() / 2];
        longest[k] = t.back();
    }
    std::printf("average time a move: A %.3f s, B %.3f s\n", average[0], average[1]);
    std::printf("median time a move: A %.3f s, B %.3f s; longest: A %.3f s, B %.3f s\n", median[0],
                median[1], longest[0], longest[1]);
    return 0;
}
