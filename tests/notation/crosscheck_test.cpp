// Our SAN, FEN and PGN checked by independent implementations on the same random games: a
// JavaScript chess library (run with Node.js) replays every move by its squares and must
// write the same SAN and FEN; pgn-extract must read our exported games, with their clocks,
// evaluations, marks and better lines, without complaint and give the same moves, and we
// read its copy of them back to the same notes.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "NotationTestSupport.h"
#include "PgnReader.h"
#include "PgnWriter.h"

namespace {

namespace fs = std::filesystem;

const fs::path kHere = fs::path(__FILE__).parent_path();
constexpr const char* kPgnExtract = "/usr/games/pgn-extract";

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

fs::path TempFile(const std::string& name) {
    return fs::temp_directory_path() / ("zel-notation-" + std::to_string(::getpid()) + "-" + name);
}

// Random games, some from set-up positions with promotions close.
std::vector<GameRecord> Games(int count) {
    FenPosition promoting;
    std::string error;
    ReadFen("r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq - 0 20", promoting, error);
    std::vector<GameRecord> games;
    for (int i = 0; i < count; ++i) {
        GameRecord g = i % 5 == 4 ? RandomGame(9000 + i, 120, promoting) : RandomGame(9000 + i);
        g.SetTag("Event", "Random " + std::to_string(i));
        g.Result = ResultByRules(g);
        games.push_back(g);
    }
    return games;
}

} // namespace

TEST(CrossCheck, ChessLibraryWritesTheSameSanAndFen) {
    if (!fs::exists(kHere / "js/node_modules/chess.js"))
        GTEST_SKIP() << "the JavaScript library is not installed (npm ci in tests/notation/js)";
    const fs::path input = TempFile("moves.txt");
    {
        std::ofstream out(input);
        int index = 0;
        for (const GameRecord& g : Games(400)) {
            out << "game " << index++ << " " << WriteFen(g.Start) << "\n";
            TReplayGame game(g.Start);
            for (const GameMove& m : g.Moves) {
                const std::string san = WriteSan(game, m);
                game.Play(m);
                out << SquareText(m.From) << " " << SquareText(m.To);
                if (m.Promotion) out << " " << m.Promotion;
                out << "|" << san << "|" << WriteFen(game.Fen()) << "\n";
            }
        }
    }
    const std::string report = Output("node '" + (kHere / "js/crosscheck.mjs").string() + "' '" +
                                      input.string() + "' 2>&1");
    fs::remove(input);
    EXPECT_EQ(report.find(": "), std::string::npos) << report.substr(0, 3000);
    const size_t at = report.rfind("agreed ");
    ASSERT_NE(at, std::string::npos) << report;
    EXPECT_GT(std::stoi(report.substr(at + 7)), 30000);
}

TEST(CrossCheck, PgnExtractReadsOurGamesAndFindsTheSameMoves) {
    if (!fs::exists(kPgnExtract)) GTEST_SKIP() << "pgn-extract is not installed";
    std::vector<GameRecord> games = Games(300);
    for (size_t i = 0; i < games.size(); i += 2) {
        Annotate(games[i], 500 + static_cast<unsigned>(i));
        games[i].SetTag("TimeControl", "180+2");
    }
    const fs::path input = TempFile("games.pgn");
    {
        std::ofstream out(input);
        for (const GameRecord& g : games)
            out << WritePgn(g);
    }
    const fs::path complaints = TempFile("complaints.txt");
    const std::string uci = Output(std::string(kPgnExtract) + " -s -C -N -V -Wuci '" +
                                   input.string() + "' 2>'" + complaints.string() + "'");
    // Its own copy of the games, notes and all.
    const std::string copy = Output(std::string(kPgnExtract) + " -s '" + input.string() + "' 2>>'" +
                                    complaints.string() + "'");
    std::ifstream in(complaints);
    const std::string complained((std::istreambuf_iterator<char>(in)), {});
    fs::remove(input);
    fs::remove(complaints);
    EXPECT_EQ(complained, "");

    const std::vector<PgnGameEntry> copies = ListPgnGames(copy);
    ASSERT_EQ(copies.size(), games.size());
    for (size_t i = 0; i < games.size(); ++i) {
        GameRecord back;
        std::string error;
        ASSERT_TRUE(ReadPgnGame(copy, copies[i], back, error)) << error;
        ASSERT_EQ(back.Moves, games[i].Moves) << "game " << i;
        for (size_t m = 0; m < games[i].Moves.size(); ++m)
            ASSERT_EQ(back.Note(m), games[i].Note(m)) << "game " << i << " move " << m;
    }

    // Its output, in coordinates, read game by game against ours.
    const std::vector<PgnGameEntry> entries = ListPgnGames(uci);
    ASSERT_EQ(entries.size(), games.size());
    for (size_t i = 0; i < games.size(); ++i) {
        const size_t end = i + 1 < entries.size() ? entries[i + 1].Offset : uci.size();
        std::string text = uci.substr(entries[i].Offset, end - entries[i].Offset);
        text = text.substr(text.find("\n\n") + 2);
        std::istringstream words(text);
        std::vector<GameMove> moves;
        for (std::string w; words >> w;) {
            if (w == "*" || w == "1-0" || w == "0-1" || w == "1/2-1/2") break;
            GameMove m{SquareFromText(w.substr(0, 2)), SquareFromText(w.substr(2, 2)), 0};
            if (w.size() == 5) m.Promotion = char(w[4] | 0x20);
            moves.push_back(m);
        }
        ASSERT_EQ(moves, games[i].Moves) << "game " << i;
    }
}
