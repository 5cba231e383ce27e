// The tactics benchmark: the strong search on every position of an EPD file (by default the
// 299 "Win at Chess" positions) for a fixed time each; a position counts as solved when the
// move the search returns is one of its best moves. Prints each miss and the total.
//
//   zel_wac [file.epd] [milliseconds per position, 1000 by default] [first] [count]
//
// A budget written "n900000" gives each position that many nodes instead of a time, for
// comparisons on a machine whose load changes (about 900000 nodes is a second of one free
// core of the development machine).
//
// The search runs as the ladder's full strength (its last level) plays; with ZEL_FULL set in
// the environment it uses the tuned weights and the full options whatever that level does,
// with ZEL_OPTIONS the full options (or those its letters name, see below) and the level's
// own weights and threads.
// With ZEL_VERBOSE set every finished iteration is printed with its line; ZEL_THREADS sets
// the threads that search (a node budget counts the first thread's nodes).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Ladder.h"
#include "StrongMoveGen.h"
#include "StrongSearch.h"

using namespace strong;

namespace {

// The move in standard algebraic notation, without a check or mate sign.
std::string San(TPosition& pos, Move m) {
    const int from = FromSq(m), to = ToSq(m);
    const int type = TypeOf(pos.Board[from]);
    if (KindOf(m) == KindCastle) return to > from ? "O-O" : "O-O-O";
    const bool capture = IsCapture(pos, m);
    std::string s;
    if (type == Pawn) {
        if (capture) s += static_cast<char>('a' + FileOfSq(from));
    } else {
        s += "PNBRQK"[type];
        TMoveList legal;
        GenerateLegal(pos, legal);
        bool sameFile = false, sameRank = false, other = false;
        for (const Move o : legal) {
            if (o == m || ToSq(o) != to || TypeOf(pos.Board[FromSq(o)]) != type) continue;
            other = true;
            sameFile |= FileOfSq(FromSq(o)) == FileOfSq(from);
            sameRank |= RankOfSq(FromSq(o)) == RankOfSq(from);
        }
        if (other) {
            if (!sameFile)
                s += static_cast<char>('a' + FileOfSq(from));
            else if (!sameRank)
                s += static_cast<char>('1' + RankOfSq(from));
            else
                s += TPosition::SquareName(from);
        }
    }
    if (capture) s += 'x';
    s += TPosition::SquareName(to);
    if (KindOf(m) == KindPromotion) {
        s += '=';
        s += "NBRQ"[PromoType(m) - Knight];
    }
    return s;
}

std::string Strip(std::string s) {
    while (!s.empty() && (s.back() == '+' || s.back() == '#' || s.back() == '!' || s.back() == '?'))
        s.pop_back();
    return s;
}

struct TCase {
    std::string Fen, Id;
    std::vector<std::string> Best;
};

bool ParseLine(const std::string& line, TCase& c) {
    std::istringstream in(line);
    std::string f[4];
    if (!(in >> f[0] >> f[1] >> f[2] >> f[3])) return false;
    c.Fen = f[0] + ' ' + f[1] + ' ' + f[2] + ' ' + f[3] + " 0 1";
    std::string rest;
    std::getline(in, rest);
    std::istringstream ops(rest);
    std::string op;
    while (std::getline(ops, op, ';')) {
        std::istringstream o(op);
        std::string code;
        o >> code;
        if (code == "bm") {
            std::string m;
            while (o >> m)
                c.Best.push_back(Strip(m));
        } else if (code == "id") {
            std::getline(o, c.Id);
        }
    }
    return !c.Best.empty();
}

} // namespace

int main(int argc, char** argv) {
    const char* file = argc > 1 ? argv[1] : "../shared/tactics/wac.epd";
    const bool byNodes = argc > 2 && argv[2][0] == 'n';
    const int millis = argc > 2 && !byNodes ? std::atoi(argv[2]) : 1000;
    const std::int64_t nodeBudget = byNodes ? std::atoll(argv[2] + 1) : 0;
    const int first = argc > 3 ? std::atoi(argv[3]) : 1;
    const int count = argc > 4 ? std::atoi(argv[4]) : 100000;
    // Further arguments pick positions by number.
    std::string only;
    for (int i = 5; i < argc; ++i)
        only += std::string(" ") + argv[i] + " ";
    std::ifstream in(file);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file);
        return 2;
    }
    TTranspositionTable tt(64);
    TStrongSearch search(tt);
    const bool full = std::getenv("ZEL_FULL") != nullptr;
    search.UseEval(full ? TEvalSet::Tuned : Ladder().back().Eval);
    search.Options = full ? TSearchOptions::Full() : Ladder().back().Options;
    if (const char* options = std::getenv("ZEL_OPTIONS")) {
        // "1" (or nothing): every option; otherwise the letters of those wanted: m(ate
        // threats), c(orrection), h (capture history), s (full-depth sacrifices), t (the
        // evaluation from the table).
        const std::string o = options;
        const bool all = o.empty() || o == "1";
        search.Options.MateThreats = all || o.find('m') != std::string::npos;
        search.Options.Correction = all || o.find('c') != std::string::npos;
        search.Options.CaptureHistory = all || o.find('h') != std::string::npos;
        search.Options.FullDepthSacrifices = all || o.find('s') != std::string::npos;
        search.Options.EvalFromTable = all || o.find('t') != std::string::npos;
    }
    if (const char* threads = std::getenv("ZEL_THREADS")) search.Options.Threads = std::atoi(threads);
    if (std::getenv("ZEL_VERBOSE"))
        search.OnReport = [](const TSearchReport& r) {
            std::printf("  depth %d score %d nodes %lld pv", r.Depth, r.Score,
                        static_cast<long long>(r.Nodes));
            for (const Move m : r.Pv)
                std::printf(" %s", TPosition::MoveText(m).c_str());
            std::printf("\n");
        };
    std::string line;
    int n = 0, tried = 0, solved = 0;
    std::int64_t nodes = 0;
    const auto start = std::chrono::steady_clock::now();
    while (std::getline(in, line)) {
        TCase c;
        if (!ParseLine(line, c)) continue;
        ++n;
        if (n < first || n >= first + count) continue;
        if (!only.empty() && only.find(" " + std::to_string(n) + " ") == std::string::npos) continue;
        TPosition pos;
        if (!pos.SetFen(c.Fen)) {
            std::printf("%s: unreadable position\n", c.Id.c_str());
            continue;
        }
        ++tried;
        search.NewGame();
        TSearchLimits limits;
        if (byNodes)
            limits.Nodes = nodeBudget;
        else
            limits.MoveTime = millis;
        const Move m = search.Go(pos, limits);
        nodes += search.Nodes;
        const std::string san = San(pos, m);
        bool ok = false;
        for (const std::string& b : c.Best)
            ok |= b == san;
        if (ok)
            ++solved;
        else
            std::printf("miss %s: played %s, best %s (depth %d, score %d)\n", c.Id.c_str(),
                        san.c_str(), c.Best[0].c_str(), search.CompletedDepth, search.LastScore);
        std::fflush(stdout);
    }
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (byNodes)
        std::printf("solved %d of %d at %lld nodes each\n", solved, tried,
                    static_cast<long long>(nodeBudget));
    else
        std::printf("solved %d of %d at %d ms each (%.0f nodes a second)\n", solved, tried,
                    millis, secs > 0 ? nodes / secs : 0.0);
    return 0;
}
