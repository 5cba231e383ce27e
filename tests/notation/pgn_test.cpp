// PGN written and read: the exported text, round trips of random games, the parts of the
// format a reader must skip or honour, several games in one text, and every refusal with
// the line it names.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "NotationTestSupport.h"
#include "PgnReader.h"
#include "PgnWriter.h"
#include "TextEncoding.h"

namespace {

std::string Refusal(const std::string& text) {
    GameRecord record;
    record.Result = "untouched";
    std::string error;
    EXPECT_FALSE(ReadPgn(text, record, error)) << text;
    EXPECT_EQ(record.Result, "untouched");
    return error;
}


} // namespace

TEST(Pgn, ExportCarriesTheSevenTagsMovesSignsAndResult) {
    GameRecord record = GameFromSan("f4 e5 g4 Qh4#");
    record.SetTag("Event", "Casual game");
    record.SetTag("White", "Ann \"the Rook\"");
    record.SetTag("Black", "Computer");
    record.SetTag("Annotator", "none");
    record.Result = ResultByRules(record);
    EXPECT_EQ(WritePgn(record), "[Event \"Casual game\"]\n"
                                "[Site \"?\"]\n"
                                "[Date \"?\"]\n"
                                "[Round \"?\"]\n"
                                "[White \"Ann \\\"the Rook\\\"\"]\n"
                                "[Black \"Computer\"]\n"
                                "[Result \"0-1\"]\n"
                                "[Annotator \"none\"]\n"
                                "\n"
                                "1. f4 e5 2. g4 Qh4# 0-1\n\n");
}

TEST(Pgn, APerpetualCheckRepeatedThreeTimesIsADrawNotAMate) {
    FenPosition start;
    std::string error;
    ASSERT_TRUE(ReadFen("7k/p7/8/8/8/8/8/K2Q4 w - - 0 1", start, error)) << error;
    // The third Qd8+ repeats the position: the rules refuse every move after it, with the
    // black king in check.
    GameRecord record = GameFromSan("Qd8+ Kh7 Qd3+ Kh8 Qd8+ Kh7 Qd3+ Kh8 Qd8+", start);
    ASSERT_EQ(record.Moves.size(), 9u);
    EXPECT_EQ(ResultByRules(record), "1/2-1/2");
    EXPECT_EQ(Sans(record), "1. Qd8+ Kh7 2. Qd3+ Kh8 3. Qd8+ Kh7 4. Qd3+ Kh8 5. Qd8+");
}

TEST(Pgn, SetUpGamesCarryTheirFenAndBlackToMoveNumbering) {
    FenPosition start;
    std::string error;
    ASSERT_TRUE(ReadFen("4k3/8/8/8/8/8/2p5/R3K3 b Q - 3 41", start, error)) << error;
    GameRecord record = GameFromSan("c1=Q+ Rxc1", start);
    ASSERT_EQ(record.Moves.size(), 2u);
    const std::string text = WritePgn(record);
    EXPECT_NE(text.find("[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/2p5/R3K3 b Q - 3 41\"]\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\n41... c1=Q+ 42. Rxc1 *\n"), std::string::npos) << text;
    const GameRecord back = Read(text);
    EXPECT_EQ(WriteFen(back.Start), WriteFen(start));
    EXPECT_EQ(back.Moves, record.Moves);
}

TEST(Pgn, RandomGamesRoundTripThroughText) {
    for (unsigned seed = 1; seed <= 400; ++seed) {
        GameRecord record = RandomGame(seed, 300);
        record.SetTag("White", "Seed " + std::to_string(seed));
        record.Result = ResultByRules(record);
        const std::string text = WritePgn(record);
        GameRecord back;
        std::string error;
        ASSERT_TRUE(ReadPgn(text, back, error)) << error << "\n" << text;
        ASSERT_EQ(back.Moves, record.Moves) << text;
        ASSERT_EQ(back.Result, record.Result);
        ASSERT_EQ(back.Tag("White"), "Seed " + std::to_string(seed));
        for (const std::string& line : [&] {
                 std::vector<std::string> lines;
                 size_t at = 0;
                 for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
                     lines.push_back(text.substr(at, nl - at));
                 return lines;
             }())
            ASSERT_LT(line.size(), 80u) << line;
    }
}

TEST(Pgn, CommentsVariationsNagsAndAnnotationsReadAroundTheMoves) {
    const GameRecord record = Read("% an escaped line\n"
                                   "[Event \"Test \\\\ \\\"quoted\\\"\"]\n"
                                   "[Result \"1-0\"]\n"
                                   "\n"
                                   "1. e4 {best by test; (not a variation)} e5 ; to the end )\n"
                                   "2. Nf3 $1 (2. f4 exf4 (2... d5 {counter}) 3. Nf3) 2... Nc6!?\n"
                                   "3.Bb5 a6 4. Ba4 ! Nf6 5.O-O\n"
                                   "1-0\n");
    EXPECT_EQ(record.Tag("Event"), "Test \\ \"quoted\"");
    EXPECT_EQ(Sans(record), "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O");
    EXPECT_EQ(record.Result, "1-0");
    // The marks and the first variation, as the better line, stay with their moves.
    ASSERT_EQ(record.Notes.size(), record.Moves.size());
    EXPECT_EQ(record.Note(2).Mark, MarkGood);
    EXPECT_EQ(record.Note(2).Better.size(), 3u);
    EXPECT_EQ(record.Note(3).Mark, MarkInteresting);
    EXPECT_EQ(record.Note(6).Mark, MarkGood);
    EXPECT_TRUE(record.Note(0).Empty());
}

TEST(Pgn, MissingResultEndsTheGameAtTheNextTags) {
    const std::string text = "[White \"A\"]\n\n1. d4 d5\n\n"
                             "[White \"B\"]\n[Result \"1/2-1/2\"]\n\n1. c4 1/2-1/2\n\n"
                             "[White \"C\"]\n\n1. Nf3 *\n";
    GameRecord first = Read(text);
    EXPECT_EQ(Sans(first), "1. d4 d5");
    EXPECT_EQ(first.Result, "*");

    const std::vector<PgnGameEntry> games = ListPgnGames(text);
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(games[1].White, "B");
    EXPECT_EQ(games[1].Line, 5);
    EXPECT_EQ(games[1].Result, "1/2-1/2");
    GameRecord second;
    std::string error;
    ASSERT_TRUE(ReadPgnGame(text, games[1], second, error)) << error;
    EXPECT_EQ(Sans(second), "1. c4");
    EXPECT_EQ(second.Result, "1/2-1/2");
    ASSERT_TRUE(ReadPgnGame(text, games[2], second, error)) << error;
    EXPECT_EQ(Sans(second), "1. Nf3");
}

TEST(Pgn, ResultTagStandsInForAMissingTerminationAndBareMovesRead) {
    EXPECT_EQ(Read("[Result \"0-1\"]\n1. e4 e5").Result, "0-1");
    EXPECT_EQ(Sans(Read("e4 e5 Nf3")), "1. e4 e5 2. Nf3");
}

TEST(Pgn, ListingSkipsPastAFaultyGame) {
    const std::string text = "[White \"A\"\n1. e4 *\n[White \"B\"]\n1. d4 *\n";
    const std::vector<PgnGameEntry> games = ListPgnGames(text);
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[1].White, "B");
}

TEST(Pgn, RefusalsNameTheLineAndTheReason) {
    EXPECT_EQ(Refusal("[Event \"x\"]\n\n1. e4 e5 2. Nf3 Nf6 3. Nxe5 d6 4. Nf3\n"
                      "Nxe4 5. d3 Nxe5 *\n"),
              "line 4: move 5 ... Nxe5: no knight can reach e5");
    EXPECT_EQ(Refusal("1. e4 e5 2. Ke3 *"), "line 1: move 2 Ke3: no king can reach e3");
    EXPECT_EQ(Refusal("\n1. e4 {unclosed\n\n"),
              "line 2: the comment opened on line 2 is not closed");
    EXPECT_EQ(Refusal("1. e4 (1. d4\nd5 *\n"), "line 1: the variation opened here is not closed");
    EXPECT_EQ(Refusal("1. e4 ) e5 *"), "line 1: a ) that closes no variation");
    EXPECT_EQ(Refusal("[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n1. e4 *"),
              "line 1: the FEN tag: White has no king");
    EXPECT_EQ(Refusal("\n\n   \n"), "line 1: no game found");
    EXPECT_EQ(Refusal("1. e4 & e5"), "line 1: '&' here is not part of a game");
    EXPECT_EQ(Refusal("1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# Ke7 *"),
              "line 1: move 4 ... Ke7: the game ended in checkmate");
}

TEST(Pgn, RefusalsQuoteOnlyTheBeginningOfALongToken) {
    const std::string token(1 << 20, 'N');
    for (const std::string& text :
         {"1. e4 " + token + " *", "1. " + token + "\n",
          "[FEN \"" + token + "/8/8/8/8/8/8/8 w - - 0 1\"]\n*",
          "[FEN \"4k3/8/8/8/8/8/8/4K3 w - - " + std::string(1 << 20, '7') + " 1\"]\n*",
          "[FEN \"4k3/8/8/8/8/8/8/4K3 " + token + " - -\"]\n*",
          "[FEN \"4k3/8/8/8/8/8/8/4K3 w K" + token + " - 0 1\"]\n*"}) {
        const std::string error = Refusal(text);
        EXPECT_LT(error.size(), 200u) << error.substr(0, 300);
    }
    EXPECT_EQ(Refusal("1. e4 " + token + " *"),
              "line 1: move 1 ... NNNNNNNNNNNNNNNNNNNNNNNN...: \"NNNNNNNNNNNNNNNNNNNNNNNN...\" is "
              "not a move");
}

TEST(Pgn, GamesPlayedOnPastAThreefoldRepetitionReadWhole) {
    // The draw must be claimed; players often go on.
    const GameRecord record = Read("1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. e4 e5 *");
    ASSERT_EQ(record.Moves.size(), 10u);
    EXPECT_EQ(Sans(record), "1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. e4 e5");
    EXPECT_EQ(ResultByRules(record), "*");
    GameRecord back;
    std::string error;
    ASSERT_TRUE(ReadPgn(WritePgn(record), back, error)) << error;
    EXPECT_EQ(back.Moves.size(), 10u);
    // A record that ends on the third occurrence is still a draw by the rules.
    EXPECT_EQ(ResultByRules(Read("1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8")), "1/2-1/2");
}

TEST(Pgn, EnPassantTakesThePawnThatGaveCheck) {
    // Capablanca, 50...c5+ 51.bxc6 e.p. Bg8: no mate after c5+.
    const GameRecord record =
        Read("[FEN \"r7/2p5/3kb1pp/1P3p2/1K3P2/P1N1R2P/6P1/8 b - - 4 50\"]\n"
             "50... c5+ 51. bxc6 Bg8 *");
    EXPECT_EQ(Sans(record), "50... c5+ 51. bxc6 Bg8");
    // 47.g4+ fxg3, the capture of the pawn that checks from g4.
    EXPECT_EQ(Sans(Read("[FEN \"8/8/8/7k/5p2/8/6P1/4K3 w - - 0 47\"]\n47. g4+ fxg3 48. Kf1 *")),
              "47. g4+ fxg3 48. Kf1");
}

TEST(Pgn, PuzzlesNumberedFromMoveZeroStartAtMoveOne) {
    const GameRecord record =
        Read("[SetUp \"1\"]\n[FEN \"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 0\"]\n1. Ra8# 1-0\n");
    EXPECT_EQ(record.Start.MoveNumber, 1);
    EXPECT_EQ(Sans(record), "1. Ra8#");
}

TEST(Pgn, ADamagedTagLineStaysPartOfItsGame) {
    const std::string text = "[Event \"Blitz\"]\n[White \"\"Mirage\"\"]\n[Black \"Ann\"]\n"
                             "1. e4 e5 1-0\n\n"
                             "[White \"Open]\n[Black \"Unclosed\"\n[Round 3]\n[]\n1. d4 *\n";
    const std::vector<PgnGameEntry> games = ListPgnGames(text);
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].White, "\"Mirage\"");
    EXPECT_EQ(games[0].Black, "Ann");
    EXPECT_EQ(games[1].White, "Open");
    EXPECT_EQ(games[1].Black, "Unclosed");
    GameRecord record;
    std::string error;
    ASSERT_TRUE(ReadPgnGame(text, games[0], record, error)) << error;
    EXPECT_EQ(record.Tag("White"), "\"Mirage\"");
    EXPECT_EQ(record.Tag("Event"), "Blitz");
    EXPECT_EQ(record.Moves.size(), 2u);
    ASSERT_TRUE(ReadPgnGame(text, games[1], record, error)) << error;
    EXPECT_EQ(record.Tag("Black"), "Unclosed");
    EXPECT_EQ(record.Tag("Round"), "");
    EXPECT_EQ(Sans(record), "1. d4");
}

TEST(Pgn, LongAlgebraicMovetextReads) {
    EXPECT_EQ(Sans(Read("1. e2e4 e7e5 2. g1f3 b8c6 3. f1-c4 g8f6 4. e1g1 f8c5 5. f3xe5 *")),
              "1. e4 e5 2. Nf3 Nc6 3. Bc4 Nf6 4. O-O Bc5 5. Nxe5");
    EXPECT_EQ(Sans(Read("[FEN \"8/4P3/8/8/8/8/k7/4K3 w - - 0 1\"]\n1. e7e8n *")), "1. e8=N");
    EXPECT_EQ(Refusal("1. e3e4 *"), "line 1: move 1 e3e4: no pawn on e3 can reach e4");
}

TEST(Pgn, Latin1AndUtf8TextsReadTheSameNames) {
    const std::string utf8 = "[White \"J\xC3\xB6rg\"]\n1. e4 *";
    const std::string latin1 = "[White \"J\xF6rg\"]\n1. e4 *";
    EXPECT_EQ(Read(TextToUtf8(utf8)).Tag("White"), "J\xC3\xB6rg");
    EXPECT_EQ(Read(TextToUtf8(latin1)).Tag("White"), "J\xC3\xB6rg");
    EXPECT_EQ(TextToUtf8("\xEF\xBB\xBF"
                         "1. e4"),
              "1. e4");
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));     // an overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));     // cut short

    // A file put together from both: each line keeps its own.
    const std::string mixed = "[White \"J\xF6rg\"]\n[Black \"\xE2\x99\x94 Ann\"]\r\n1. e4 *";
    const GameRecord record = Read(TextToUtf8(mixed));
    EXPECT_EQ(record.Tag("White"), "J\xC3\xB6rg");
    EXPECT_EQ(record.Tag("Black"), "\xE2\x99\x94 Ann");
    EXPECT_EQ(TextToUtf8("\xE9\n\xC3\xA9\n\xE9"), "\xC3\xA9\n\xC3\xA9\n\xC3\xA9");
}

TEST(Pgn, HistoryOfTheRulesBecomesARecordWithPromotionPieces) {
    TChessGame game;
    FenPosition start;
    std::string error;
    ASSERT_TRUE(ReadFen("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", start, error));
    TReplayGame replay(start);
    const GameRecord played = GameFromSan("b8=N Kf7 Nc6", start);
    ASSERT_EQ(played.Moves.size(), 3u);
    Replay(played, replay);
    const GameRecord back = RecordFromHistory(replay, &start);
    EXPECT_EQ(back.Moves, played.Moves);
    EXPECT_EQ(WriteFen(back.Start), WriteFen(start));
    // Stepped back, the record still runs to the end of the history.
    replay.StepBack();
    EXPECT_EQ(RecordFromHistory(replay, &start).Moves.size(), 3u);
    EXPECT_TRUE(RecordFromHistory(game).Moves.empty());
}
