// Thousands of seeded random games through MakeMove, checking the invariants and the report of
// every move and of stepping through each finished game.
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
        for (int to = 1; to <= 64; ++to)
            if (game.IsLegalMove(static_cast<Square>(from), static_cast<Square>(to)))
                moves.emplace_back(static_cast<Square>(from), static_cast<Square>(to));
    }
    return moves;
}

// Whether one move's events are a subsequence of the fixed order, Paint last.
bool InFixedOrder(const Lines& names) {
    static const std::vector<Lines> order = {
        {"LegalMove"}, {"Capture"},           {"Promotion"},        {"Capture"},   {"Castle"},
        {"Check"},     {"Mate", "StaleMate"}, {"NoMatingMaterial"}, {"Threefold"}, {"Draw"},
        {"Paint"}};
    std::size_t next = 0;
    for (const auto& name : names) {
        while (next < order.size() &&
               std::find(order[next].begin(), order[next].end(), name) == order[next].end())
            ++next;
        if (next++ == order.size()) return false;
    }
    return !names.empty() && names.front() == "LegalMove" && names.back() == "Paint";
}

bool Has(const Lines& names, const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

using Tally = std::map<std::string, int>;

// Checks one move made from `before`.
void CheckMove(const TChessGame& game, const State& before, Square from, Square to,
               const Lines& names) {
    ASSERT_TRUE(InFixedOrder(names)) << testing::PrintToString(names);
    EXPECT_EQ(Has(names, "Check"),
              game.WhiteKingInCheck(None, None) || game.BlackKingInCheck(None, None));
    EXPECT_FALSE(before.WhiteToMove ? game.WhiteKingInCheck(None, None)
                                    : game.BlackKingInCheck(None, None));
    if (!Has(names, "Threefold")) {
        EXPECT_EQ(Has(names, "Mate") || Has(names, "StaleMate"), !game.HasLegalMove());
    }
    EXPECT_EQ(Has(names, "Draw"),
              Has(names, "StaleMate") || Has(names, "NoMatingMaterial") || Has(names, "Threefold"));
    EXPECT_EQ(game.GameEnded(), Has(names, "Mate") || Has(names, "Draw"));

    const std::string pos = game.Position();
    ASSERT_EQ(pos.size(), 64u);
    EXPECT_EQ(std::count(pos.begin(), pos.end(), 'K'), 1);
    EXPECT_EQ(std::count(pos.begin(), pos.end(), 'k'), 1);
    EXPECT_EQ(game.CurrentMove(), before.CurrentMove + (before.WhiteToMove ? 0 : 1));
    EXPECT_EQ(game.HistoryLastMove(), game.CurrentMove());
    EXPECT_EQ(game.HistoryLastWhite(), game.WhiteToMove());
    const MoveInfo& played = game.MoveHistory(before.CurrentMove, before.WhiteToMove);
    EXPECT_EQ(played.Position, before.Position);
    EXPECT_EQ(played.OldSq, from);
    EXPECT_EQ(played.NewSq, to);
    EXPECT_EQ(game.MoveHistory(game.CurrentMove(), game.WhiteToMove()).Position, pos);
}

// Checks the report of the move against its events and against the two positions: the
// squares whose letters changed are exactly the ones the report names.
void CheckReport(const State& before, const std::string& after, const Lines& names,
                 const std::vector<TMoveReport>& reports) {
    ASSERT_EQ(reports.size(), 1u);
    const TMoveReport& r = reports.front();
    EXPECT_EQ(r.White, before.WhiteToMove);
    EXPECT_EQ(r.Piece, before.Position[r.From - 1]);
    EXPECT_EQ(r.Capture(), Has(names, "Capture"));
    if (r.Capture()) {
        EXPECT_EQ(r.Captured, before.Position[r.CapturedOn - 1]);
    }
    EXPECT_EQ(r.EnPassant, r.Capture() && r.CapturedOn != r.To);
    EXPECT_EQ(r.Castle(), Has(names, "Castle"));
    EXPECT_EQ(r.Promotion != 0, Has(names, "Promotion"));
    if (r.Promotion != 0) {
        EXPECT_EQ(r.Promotion, after[r.To - 1]);
    }
    EXPECT_EQ(r.Check, Has(names, "Check"));
    EXPECT_EQ(r.Mate, Has(names, "Mate"));
    EXPECT_EQ(r.StaleMate, Has(names, "StaleMate"));
    EXPECT_EQ(r.NoMatingMaterial, Has(names, "NoMatingMaterial"));
    EXPECT_EQ(r.Threefold, Has(names, "Threefold"));
    std::vector<int> changed, told;
    for (int q = 1; q <= 64; ++q)
        if (before.Position[q - 1] != after[q - 1]) changed.push_back(q);
    for (Square q : {r.From, r.To, r.CapturedOn, r.RookFrom, r.RookTo})
        if (q != None) told.push_back(q);
    std::sort(told.begin(), told.end());
    told.erase(std::unique(told.begin(), told.end()), told.end());
    EXPECT_EQ(changed, told);
}

// Plays one game; a failure names the seed so it can be replayed alone.
void PlayRandomGame(unsigned seed, Tally& tally) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TChessGame game;
    EventLog log;
    log.Attach(game);
    game.OnPromotion = [&](TChessGame*, Square, Square, char& piece) {
        log.Lines.emplace_back("Promotion");
        piece = "qrbn"[rng() % 4];
    };
    std::vector<TMoveReport> reports;
    game.OnMoveReport = [&](TChessGame*, const TMoveReport& r) { reports.push_back(r); };

    std::vector<State> line{StateOf(game)};
    for (int ply = 0; ply < 240; ++ply) {
        // Now and then step back a little and play on from there: the abandoned line must
        // leave nothing behind.
        if (line.size() > 4 && rng() % 50 == 0) {
            for (unsigned i = 1 + rng() % 3; i > 0; --i) {
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
        log.Lines.clear();
        reports.clear();
        ASSERT_TRUE(game.MakeMove(from, to));
        const Lines names = log.Names();
        for (const auto& name : names)
            ++tally[name];
        if (captured == ' ' && Has(names, "Capture")) ++tally["EnPassant"];
        CheckMove(game, before, from, to, names);
        CheckReport(before, game.Position(), names, reports);
        if (testing::Test::HasFailure()) return;
        line.push_back(StateOf(game));
    }

    Lines list;
    game.GetMoveList(list);
    EXPECT_EQ(list.size() + 1, line.size());
    // All the way back, then all the way forward again.
    for (std::size_t i = line.size() - 1; i > 0; --i) {
        ASSERT_TRUE(game.StepBack());
        ASSERT_EQ(StateOf(game), line[i - 1]) << "half-move " << i - 1;
    }
    EXPECT_FALSE(game.StepBack());
    for (std::size_t i = 1; i < line.size(); ++i) {
        ASSERT_TRUE(game.StepForward());
        ASSERT_EQ(StateOf(game), line[i]) << "half-move " << i;
    }
    EXPECT_FALSE(game.StepForward());
}

TEST(RandomGames, InvariantsHoldInEveryMove) {
    Tally tally;
    for (unsigned seed = 1; seed <= 2000 && !HasFailure(); ++seed)
        PlayRandomGame(seed, tally);
    // The games must have reached every rule at least once to mean anything.
    for (const char* name : {"Capture", "EnPassant", "Promotion", "Castle", "Check", "Mate",
                             "StaleMate", "NoMatingMaterial", "Threefold"})
        EXPECT_GT(tally[name], 0) << name;
}

} // namespace
