// The console is driven by other programs, so these tests compare whole outputs.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "ProbeSession.h"

namespace {

std::string Probe(const std::string& script) {
    std::ostringstream out;
    TProbeSession session(out);
    session.RunScript(script);
    return out.str();
}

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// Eight ranks from 8 to 1, each eight letters with '.' for an empty square.
std::string Board(std::initializer_list<const char*> ranks) {
    std::string text;
    for (const char* rank : ranks)
        text += rank;
    for (char& c : text)
        if (c == '.') c = ' ';
    return text;
}

const std::string Start = Board({"rnbqkbnr", "pppppppp", "........", "........", "........",
                                 "........", "PPPPPPPP", "RNBQKBNR"});
const std::string AfterE4 = Board({"rnbqkbnr", "pppppppp", "........", "........", "....P...",
                                   "........", "PPPP.PPP", "RNBQKBNR"});

} // namespace

TEST(ProbeGame, FirstMoveStateAndMoveList) {
    EXPECT_EQ(
        Probe("move e2 e4; state; movelist"),
        Lines({"event LegalMove e2 e4", "event Paint", "result true",
               "state \"" + AfterE4 + "\" b KQkq ep e3 move 1 last 1 b", "line \"1. E2-E4\""}));
}

TEST(ProbeGame, ErrorsCommentsAndBlankLinesLeaveTheGameAlone) {
    std::string out = Probe("# a comment;;   ; bogus; move e9 e4; move e2; side x; castling KX;"
                            "goto 1x w; position no quotes; fen 8/8 w - -; promote qq;"
                            "ep 65; move E2 E4; perft -1; search deep; state");
    EXPECT_EQ(out,
              Lines({"error unknown command bogus", "error bad square e9",
                     "error usage: move <from> <to>", "error bad side x", "error bad castling KX",
                     "error bad number 1x", "error usage: position \"<text>\"",
                     "error bad placement 8/8", "error bad letter qq", "error bad square 65",
                     "error bad square E2", "error bad depth -1", "error bad depth deep",
                     "state \"" + Start + "\" w KQkq ep - move 1 last 1 w"}));
}

TEST(ProbeGame, SettersAndFen) {
    EXPECT_EQ(Probe("fen 4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1; state; legal"),
              Lines({"state \"" +
                         Board({"....k...", "........", "........", "...pP...", "........",
                                "........", "........", "....K..."}) +
                         "\" w - ep d6 move 1 last 1 w",
                     "legal 7", "e5d6", "e5e6", "e1d2", "e1e2", "e1f2", "e1d1", "e1f1",
                     "haslegal true"}));
    // The en-passant setter ignores squares off ranks 3 and 6; numbers are squares too.
    EXPECT_EQ(
        Probe("position \"init\"; side b; castling qK; ep 30; ep 20; state; ep -; ep e4; move - e4;"
              "castling -; state"),
        Lines({"state \"" + Start + "\" b Kq ep d6 move 1 last 1 w", "result false",
               "state \"" + Start + "\" b - ep d6 move 1 last 1 w"}));
    // Between the first and the last quote of the line; other characters leave squares empty.
    EXPECT_EQ(Probe("position \"k\"x\"K\"; state"),
              Lines({"state \"k   K" + std::string(59, ' ') + "\" w KQkq ep - move 1 last 1 w"}));
}

TEST(ProbeGame, StdinLinesAreWholeCommands) {
    std::ostringstream out;
    TProbeSession session(out);
    std::istringstream in("position \"k;K\"\r\n\nstate\n");
    session.RunStream(in);
    EXPECT_EQ(out.str(),
              Lines({"state \"k K" + std::string(61, ' ') + "\" w KQkq ep - move 1 last 1 w"}));
    // A NUL ends the position text.
    std::ostringstream out2;
    TProbeSession session2(out2);
    std::istringstream in2(std::string("position \"kq\0K\"\nstate\n", 22));
    session2.RunStream(in2);
    EXPECT_EQ(out2.str(),
              Lines({"state \"kq" + std::string(62, ' ') + "\" w KQkq ep - move 1 last 1 w"}));
}

TEST(ProbeGame, PromotionReportsTheProposedLetter) {
    const std::string fen = "fen 7k/4P3/8/8/8/8/3p4/K7 w - -; ";
    EXPECT_EQ(Probe(fen + "move e7 e8"),
              Lines({"event LegalMove e7 e8", "event Promotion e7 e8 q", "event Check e7 e8",
                     "event Paint", "result true"}));
    // The handler's choice sticks for Black's promotion; without a handler no line is printed.
    EXPECT_EQ(Probe(fen + "promote n; move e7 e8; promote none; move d2 d1; state"),
              Lines({"event LegalMove e7 e8", "event Promotion e7 e8 q", "event Paint",
                     "result true", "event LegalMove d2 d1", "event NoMatingMaterial", "event Draw",
                     "event Paint", "result true",
                     "state \"" +
                         Board({"....N..k", "........", "........", "........", "........",
                                "........", "........", "K..n...."}) +
                         "\" w - ep - move 2 last 2 w"}));
}

TEST(ProbeGame, StepsThroughTheHistory) {
    EXPECT_EQ(Probe("back; forward; move e2 e4; move e7 e5; back; state; back; back; forward;"
                    "forward; forward; goto 1 b; goto 3 w; goto -7 w; state; movelist"),
              Lines({"result false",
                     "result false",
                     "event LegalMove e2 e4",
                     "event Paint",
                     "result true",
                     "event LegalMove e7 e5",
                     "event Paint",
                     "result true",
                     "result true",
                     "state \"" + AfterE4 + "\" b KQkq ep e3 move 1 last 2 w",
                     "result true",
                     "result false",
                     "result true",
                     "result true",
                     "result false",
                     "result true",
                     "result false",
                     "result false",
                     "state \"" + AfterE4 + "\" b KQkq ep e3 move 1 last 2 w",
                     "line \"1. E2-E4\"",
                     "line \"              E7-E5\""}));
}

TEST(ProbeGame, MateAndStalemate) {
    EXPECT_EQ(
        Probe("move f2 f3; move e7 e5; move g2 g4; move d8 h4; legal"),
        Lines({"event LegalMove f2 f3", "event Paint", "result true", "event LegalMove e7 e5",
               "event Paint", "result true", "event LegalMove g2 g4", "event Paint", "result true",
               "event LegalMove d8 h4", "event Check d8 h4", "event Mate d8 h4", "event Paint",
               "result true", "legal 0", "haslegal false"}));
    EXPECT_EQ(Probe("fen 7k/8/6K1/8/8/8/8/5Q2 w - -; move f1 f7; move h8 g8"),
              Lines({"event LegalMove f1 f7", "event StaleMate f1 f7", "event Draw", "event Paint",
                     "result true", "result false"}));
}

TEST(ProbeEngine, PerftAndDivide) {
    EXPECT_EQ(Probe("perft 0; perft 1; perft 2; perft 3"),
              Lines({"perft 0 1", "perft 1 20", "perft 2 400", "perft 3 8902"}));
    std::string divide = Probe("divide 1");
    EXPECT_EQ(divide.substr(0, 18), "a2a3 1\na2a4 1\nb2b3");
    EXPECT_NE(divide.find("h2h4 1\nb1a3 1\nb1c3 1\ng1f3 1\ng1h3 1\nperft 1 20\n"),
              std::string::npos);
    // Promotions print their piece; the divide follows the game's position.
    std::string promotions = Probe("fen 4k3/1P6/8/8/8/8/8/4K3 w - -; divide 1");
    EXPECT_NE(promotions.find("b7b8n 1\nb7b8b 1\nb7b8r 1\nb7b8q 1\n"), std::string::npos);
    EXPECT_NE(promotions.find("perft 1 9\n"), std::string::npos);
}

TEST(ProbeEngine, SearchAndPlay) {
    std::string out = Probe("search 3");
    std::regex shape("iteration 1 score 28 nodes [0-9]+ pv d2d4\n"
                     "iteration 2 score 0 nodes [0-9]+ pv d2d4 [a-h][1-8][a-h][1-8]\n"
                     "iteration 3 score 25 nodes [0-9]+ pv d2d4( [a-h][1-8][a-h][1-8]){2,}\n"
                     "bestmove d2d4\n");
    EXPECT_TRUE(std::regex_match(out, shape)) << out;
    // Depth is clamped to 1..8; play makes the best move on the game with its events.
    out = Probe("play 0; state; eval");
    std::regex played("iteration 1 score 28 nodes [0-9]+ pv d2d4\nbestmove d2d4\n"
                      "event LegalMove d2 d4\nevent Paint\nresult true\n"
                      "state \"[^\"]{64}\" b KQkq ep d3 move 1 last 1 b\neval -?[0-9]+\n");
    EXPECT_TRUE(std::regex_match(out, played)) << out;
    EXPECT_EQ(Probe("eval"), "eval 0\n");
}

TEST(ProbeEngine, OptionsCapTheCost) {
    std::ostringstream out;
    TProbeOptions options;
    options.MaxPerftDepth = 2;
    options.MaxSearchDepth = 1;
    options.MaxSearchMen = 3;
    TProbeSession session(out, options);
    session.RunScript("perft 3; divide 3; search 1; fen 4k3/8/8/8/8/8/8/3QK3 w - -; search 5");
    std::regex shape("error depth above 2\nerror depth above 2\nerror more than 3 men to search\n"
                     "iteration 1 score [0-9]+ nodes [0-9]+ pv [a-h][1-8][a-h][1-8]\nbestmove "
                     "[a-h][1-8][a-h][1-8]\n");
    EXPECT_TRUE(std::regex_match(out.str(), shape)) << out.str();
}
