// The notes a move carries in PGN: clocks, evaluations, marks and better lines written and
// read back, the forms other programs write, the damaged ones passed over, random annotated
// games round trip, and the "TimeControl" tag with a game clock's record.

#include <gtest/gtest.h>

#include "NotationTestSupport.h"
#include "PgnReader.h"
#include "PgnWriter.h"

namespace {

std::vector<GameMove> Line(const std::string& sans, const FenPosition& from) {
    return GameFromSan(sans, from).Moves;
}

// The position before the game's move n.
FenPosition Before(const GameRecord& record, size_t n) {
    TReplayGame game(record.Start);
    for (size_t i = 0; i < n; ++i)
        game.Play(record.Moves[i]);
    return game.Fen();
}

std::string MoveText(const std::string& pgn) {
    return pgn.substr(pgn.find("\n\n") + 2);
}

} // namespace

TEST(PgnNotes, ClocksEvalsMarksAndBetterLinesAreWrittenAndReadBack) {
    GameRecord record = GameFromSan("e4 e5 Nf3 Nc6 Bc4 Nd4 Nxe5 Qg5");
    ASSERT_EQ(record.Moves.size(), 8u);
    record.SetTag("TimeControl", TimeControlTagText(TimeControlPresets()[2]));
    record.NoteToWrite(0).ClockMillis = 180'000;
    record.NoteToWrite(0).Eval = PgnEval{false, 35};
    record.NoteToWrite(1).ClockMillis = 179'999; // whole seconds, rounded down
    record.NoteToWrite(5).Mark = MarkDubious;
    record.NoteToWrite(6).Mark = MarkMistake;
    record.NoteToWrite(6).Eval = PgnEval{false, -5};
    record.NoteToWrite(6).Better = Line("O-O Nxf3+", Before(record, 6));
    record.NoteToWrite(7).Mark = MarkBlunder;
    record.NoteToWrite(7).Eval = PgnEval{true, 3};
    // A better line for Black's move opens with its number.
    record.NoteToWrite(7).Better = Line("Qe7", Before(record, 7));
    const std::string text = WritePgn(record);
    EXPECT_NE(text.find("[TimeControl \"180+2\"]\n"), std::string::npos) << text;
    EXPECT_EQ(MoveText(text),
              "1. e4 {[%eval 0.35] [%clk 0:03:00]} 1... e5 {[%clk 0:02:59]} 2. Nf3 Nc6 3. Bc4\n"
              "Nd4 $6 4. Nxe5 $2 {[%eval -0.05]} (4. O-O Nxf3+) 4... Qg5 $4 {[%eval #3]} (4...\n"
              "Qe7) *\n\n");
    const GameRecord back = Read(text);
    ASSERT_EQ(back.Moves, record.Moves);
    ASSERT_EQ(back.Notes.size(), record.Moves.size());
    EXPECT_EQ(back.Note(0).ClockMillis, 180'000);
    EXPECT_EQ(back.Note(1).ClockMillis, 179'000);
    record.NoteToWrite(1).ClockMillis = 179'000;
    for (size_t i = 0; i < record.Moves.size(); ++i)
        EXPECT_EQ(back.Note(i), record.Note(i)) << "move " << i;
    TTimeControl control;
    ASSERT_TRUE(ReadTimeControlTag(back.Tag("TimeControl"), control));
    EXPECT_EQ(control, TimeControlPresets()[2]);

    // The moves alone stay plain, and notes that say nothing change no text.
    EXPECT_EQ(Sans(record), "1. e4 e5 2. Nf3 Nc6 3. Bc4 Nd4 4. Nxe5 Qg5");
    GameRecord plain = GameFromSan("e4 e5 Nf3");
    const std::string before = WritePgn(plain);
    plain.NoteToWrite(1) = MoveNote();
    plain.NoteToWrite(2).Eval = PgnEval{true, 0}; // a mate in 0 says nothing
    EXPECT_EQ(WritePgn(plain), before);
    EXPECT_TRUE(Read(before).Notes.empty());
}

TEST(PgnNotes, OtherProgramsFormsAreReadAndDamagedOnesPassedOver) {
    const GameRecord record =
        Read("[TimeControl \"300\"]\n\n"
             "{a game comment [%clk 0:01:00]} ( 1. d4 ) "
             "1. e4 { [%eval 0.17] [%clk 0:00:30] } 1... c5 { [%clk\r\n1:02:03.4] [%eval #-3] }\n"
             "2. Nf3?! {[%eval +.5,22]} (2. Qh5 (2. Ke2) d6) (2. Nc3) 2... d6 ?? $1 "
             "{[%clk 5] [%eval 1.005]}\n"
             "3. d4 $18 (3. Bb6 e5) (3. Bb5+ {check} Bd7) 3... cxd4 {[%evalx 3] [%clk 0:00:07]} "
             "(3... Nf6 4. Ke3) 4. Nxd4 {[%clk 0:61:00] [%eval #0]} {[%eval 1000.01]} *\n");
    ASSERT_EQ(Sans(record), "1. e4 c5 2. Nf3 d6 3. d4 cxd4 4. Nxd4");
    ASSERT_EQ(record.Notes.size(), 7u);
    // Nothing before the first move belongs to a move.
    EXPECT_EQ(record.Note(0).ClockMillis, 30'000);
    EXPECT_EQ(record.Note(0).Eval, (PgnEval{false, 17}));
    EXPECT_TRUE(record.Note(0).Better.empty());
    EXPECT_EQ(record.Note(1).ClockMillis, (3600 + 2 * 60 + 3) * 1000);
    EXPECT_EQ(record.Note(1).Eval, (PgnEval{true, -3}));
    // A sign on the move, the first variation only and none of the variations inside it.
    EXPECT_EQ(record.Note(2).Mark, MarkDubious);
    EXPECT_EQ(record.Note(2).Eval, (PgnEval{false, 50}));
    EXPECT_EQ(record.Note(2).Better, Line("Qh5 d6", Before(record, 2)));
    // The first mark counts; a clock of seconds alone says nothing; pawns to the nearest
    // centipawn.
    EXPECT_EQ(record.Note(3).Mark, MarkBlunder);
    EXPECT_EQ(record.Note(3).ClockMillis, -1);
    EXPECT_EQ(record.Note(3).Eval, (PgnEval{false, 101}));
    // A NAG beyond the marks is not kept; an illegal first variation is no better line, and
    // the legal second one does not stand in for it.
    EXPECT_EQ(record.Note(4).Mark, MarkNone);
    EXPECT_TRUE(record.Note(4).Better.empty());
    EXPECT_EQ(record.Note(5).ClockMillis, 7000);
    EXPECT_TRUE(record.Note(5).Better.empty());
    // Sixty-one minutes, a mate in 0 and a thousand pawns and more say nothing.
    EXPECT_EQ(record.Note(6).ClockMillis, -1);
    EXPECT_FALSE(record.Note(6).Eval.has_value());
    TTimeControl control;
    ASSERT_TRUE(ReadTimeControlTag(record.Tag("TimeControl"), control));
    EXPECT_EQ(control.Name, "Blitz 5+0");
}

TEST(PgnNotes, RandomAnnotatedGamesRoundTripWithinTheLineWidth) {
    for (unsigned seed = 1; seed <= 100; ++seed) {
        GameRecord record = RandomGame(seed, 120);
        Annotate(record, seed);
        record.Result = ResultByRules(record);
        const std::string text = WritePgn(record);
        GameRecord back;
        std::string error;
        ASSERT_TRUE(ReadPgn(text, back, error)) << error << "\n" << text;
        ASSERT_EQ(back.Moves, record.Moves) << text;
        ASSERT_EQ(back.Result, record.Result);
        for (size_t i = 0; i < record.Moves.size(); ++i)
            ASSERT_EQ(back.Note(i), record.Note(i)) << "seed " << seed << " move " << i << "\n"
                                                    << text;
        for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
            ASSERT_LT(nl - at, 80u) << text.substr(at, nl - at);
    }
}

TEST(PgnNotes, TheTimeControlTagAndTheClockRecord) {
    EXPECT_EQ(TimeControlTagText(TimeControlPresets().front()), "-");
    EXPECT_EQ(TimeControlTagText(CustomTimeControl(600, 5)), "600+5");
    EXPECT_EQ(TimeControlTagText(CustomTimeControl(60, 0)), "60");
    TTimeControl control;
    ASSERT_TRUE(ReadTimeControlTag("-", control));
    EXPECT_TRUE(control.Untimed());
    ASSERT_TRUE(ReadTimeControlTag("900+10", control));
    EXPECT_EQ(control.Name, "Rapid 15+10");
    ASSERT_TRUE(ReadTimeControlTag("45+1", control));
    EXPECT_EQ(control, CustomTimeControl(45, 1));
    for (const char* nothing : {"?", "", "40/7200:3600", "0+5", "+5", "300+", "3OO"})
        EXPECT_FALSE(ReadTimeControlTag(nothing, control)) << nothing;

    // A game Black began: the clock's record gives each move its mover's time.
    FenPosition start;
    std::string error;
    ASSERT_TRUE(ReadFen("4k3/8/8/8/8/8/8/4K2R b K - 0 1", start, error)) << error;
    GameRecord record = GameFromSan("Kd7 O-O Kc6", start);
    ASSERT_EQ(record.Moves.size(), 3u);
    SetMoveClocks(record, {{60'000, 60'000}, {60'000, 55'000}, {58'000, 55'000}});
    EXPECT_EQ(record.Note(0).ClockMillis, 55'000);
    EXPECT_EQ(record.Note(1).ClockMillis, 58'000);
    EXPECT_EQ(record.Note(2).ClockMillis, -1); // beyond the record
    EXPECT_EQ(MoveText(WritePgn(record)),
              "1... Kd7 {[%clk 0:00:55]} 2. O-O {[%clk 0:00:58]} 2... Kc6 *\n\n");
}
