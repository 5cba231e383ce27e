// Thousands of seeded random games through MakeMove, checking the invariants of every move
// and of stepping through the finished game.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "RulesTestSupport.h"

namespace {

struct State {
    std::string Position;
    bool WhiteToMove;
    int CurrentMove;
    Square EnPassant;
    CastleSet Castling;

    bool operator==(const State&) const = default;
};

State StateOf(const TChessGame& game) {
    return {game.Position(), game.WhiteToMove(), game.CurrentMove(), game.EnPassant(),
            game.CastlingAllowed()};
}

std::vector<std::pair<Square, Square>> LegalMoves(const TChessGame& game) {
    std::vector<std::pair<Square, Square>> moves;
    const int side = game.WhiteToMove() ? 1 : 0;
    for (int from = 1; from <= 64; ++from) {
        // Other squares are refused at once; skipping them keeps thousands of games quick.
        if (game.PieceColor(from) != side) continue;
        for (int to = 1; to <= 64; ++to) {
            const auto a = static_cast<Square>(from);
            const auto b = static_cast<Square>(to);
            if (game.IsLegalMove(a, b)) moves.emplace_back(a, b);
        }
    }
    return moves;
}

// Whether the names of one move's events follow the fixed order, each at most once in its
// place, with LegalMove first and Paint last.
bool InFixedOrder(const std::vector<std::string>& names) {
    static const std::vector<std::vector<std::string>> order = {
        {"LegalMove"}, {"Capture"},           {"Promotion"},        {"Capture"},   {"Castle"},
        {"Check"},     {"Mate", "StaleMate"}, {"NoMatingMaterial"}, {"Threefold"}, {"Draw"},
        {"Paint"}};
    if (names.empty() || names.front() != "LegalMove" || names.back() != "Paint") return false;
    std::size_t next = 0;
    for (const auto& name : names) {
        while (next < order.size() &&
               std::find(order[next].begin(), order[next].end(), name) == order[next].end())
            ++next;
        if (next == order.size()) return false;
        ++next;
    }
    return true;
}

bool Has(const std::vector<std::string>& names, const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

int CountOf(const std::string& text, char c) {
    return static_cast<int>(std::count(text.begin(), text.end(), c));
}

// How often each event was seen over all games, so the test can tell that the games reach
// every rule at least once.
using Tally = std::map<std::string, int>;

// Plays one game; every failure names the seed so it can be replayed alone.
void PlayRandomGame(unsigned seed, Tally& tally) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TChessGame game;
    EventLog log;
    log.Attach(game);
    const char choices[] = "qrbn";
    game.OnPromotion = [&](TChessGame*, Square, Square, char& piece) {
        log.Lines.emplace_back("Promotion");
        piece = choices[rng() % 4];
    };

    std::vector<State> line{StateOf(game)};
    for (int ply = 0; ply < 240; ++ply) {
        // Now and then step back a little and play on from there: the abandoned line must
        // leave nothing behind.
        if (line.size() > 4 && rng() % 50 == 0) {
            const int back = 1 + static_cast<int>(rng() % 3);
            for (int i = 0; i < back; ++i) {
                ASSERT_TRUE(game.StepBack());
                line.pop_back();
                ASSERT_EQ(StateOf(game), line.back());
            }
        }

        const auto moves = LegalMoves(game);
        ASSERT_EQ(game.HasLegalMove(), !moves.empty());
        if (moves.empty()) break;

        const auto [from, to] = moves[rng() % moves.size()];
        const State before = StateOf(game);
        const char captured = game.PieceAt(to);
        log.Clear();
        ASSERT_TRUE(game.MakeMove(from, to));
        const auto names = log.Names();
        for (const auto& name : names)
            ++tally[name];
        if (captured == ' ' && Has(names, "Capture")) ++tally["EnPassant"];

        // Events.
        ASSERT_TRUE(InFixedOrder(names)) << testing::PrintToString(names);
        const bool check = game.WhiteKingInCheck(None, None) || game.BlackKingInCheck(None, None);
        EXPECT_EQ(Has(names, "Check"), check);
        EXPECT_FALSE(before.WhiteToMove ? game.WhiteKingInCheck(None, None)
                                        : game.BlackKingInCheck(None, None));
        if (!Has(names, "Threefold")) {
            EXPECT_EQ(Has(names, "Mate") || Has(names, "StaleMate"), !game.HasLegalMove());
        }
        EXPECT_EQ(Has(names, "Draw"), Has(names, "StaleMate") || Has(names, "NoMatingMaterial") ||
                                          Has(names, "Threefold"));
        EXPECT_EQ(game.GameEnded(), Has(names, "Mate") || Has(names, "Draw"));
        if (captured != ' ') {
            EXPECT_EQ(log.Lines[1], "Capture " + std::to_string(from) + " " + std::to_string(to) +
                                        " " + captured);
        }

        // State and history.
        const std::string pos = game.Position();
        ASSERT_EQ(pos.size(), 64u);
        EXPECT_EQ(CountOf(pos, 'K'), 1);
        EXPECT_EQ(CountOf(pos, 'k'), 1);
        EXPECT_NE(game.WhiteToMove(), before.WhiteToMove);
        EXPECT_EQ(game.CurrentMove(), before.CurrentMove + (before.WhiteToMove ? 0 : 1));
        EXPECT_EQ(game.HistoryLastMove(), game.CurrentMove());
        EXPECT_EQ(game.HistoryLastWhite(), game.WhiteToMove());
        const MoveInfo& played = game.MoveHistory(before.CurrentMove, before.WhiteToMove);
        EXPECT_EQ(played.Position, before.Position);
        EXPECT_EQ(played.OldSq, from);
        EXPECT_EQ(played.NewSq, to);
        EXPECT_EQ(game.MoveHistory(game.CurrentMove(), game.WhiteToMove()).Position, pos);
        line.push_back(StateOf(game));
    }

    // The move list has one line per half-move of the game as it stands.
    std::vector<std::string> list;
    game.GetMoveList(list);
    EXPECT_EQ(list.size() + 1, line.size());

    // All the way back, then all the way forward again.
    for (std::size_t i = line.size() - 1; i > 0; --i) {
        ASSERT_TRUE(game.StepBack());
        ASSERT_EQ(StateOf(game), line[i - 1]) << "stepping back to half-move " << i - 1;
    }
    EXPECT_FALSE(game.StepBack());
    for (std::size_t i = 1; i < line.size(); ++i) {
        ASSERT_TRUE(game.StepForward());
        ASSERT_EQ(StateOf(game), line[i]) << "stepping forward to half-move " << i;
    }
    EXPECT_FALSE(game.StepForward());
}

TEST(RandomGames, InvariantsHoldInEveryMove) {
    Tally tally;
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        PlayRandomGame(seed, tally);
        if (HasFatalFailure() || HasFailure()) return;
    }
    for (const char* name : {"Capture", "EnPassant", "Promotion", "Castle", "Check", "Mate",
                             "StaleMate", "NoMatingMaterial", "Threefold", "Draw"})
        EXPECT_GT(tally[name], 0) << name;
    std::string summary;
    for (const auto& [name, count] : tally)
        summary += name + "=" + std::to_string(count) + " ";
    RecordProperty("events", summary);
}

} // namespace
