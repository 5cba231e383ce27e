// The game clock driven by a hand-set time source: the increment, the flag fall and what it
// means on the board, pausing while the history is stepped through, taking moves back, the
// stop at the game's end, and the clock face.
#include <gtest/gtest.h>

#include "GameClock.h"
#include "RulesTestSupport.h"

namespace {

struct HandClock {
    std::int64_t Now = 1'000'000; // any origin
    TGameClock Clock{[this] { return Now; }};
    void Wait(std::int64_t millis) { Now += millis; }
};

const TTimeControl& PresetNamed(const std::string& name) {
    for (const TTimeControl& c : TimeControlPresets())
        if (c.Name == name) return c;
    ADD_FAILURE() << "no preset " << name;
    return TimeControlPresets().front();
}

} // namespace

TEST(GameClock, AMoveChargesTheMoverAddsTheIncrementAndStartsTheOtherSide) {
    HandClock h;
    h.Clock.Reset(PresetNamed("Blitz 3+2"));
    EXPECT_EQ(h.Clock.State(), TClockState::Idle);
    // Before the first move nothing runs; that move costs nothing and earns the increment.
    h.Wait(5000);
    ASSERT_TRUE(h.Clock.Moved());
    EXPECT_EQ(h.Clock.Remaining(true), 182'000);
    EXPECT_EQ(h.Clock.State(), TClockState::Running);
    h.Wait(10'000);
    EXPECT_EQ(h.Clock.Remaining(false), 170'000);
    EXPECT_EQ(h.Clock.Remaining(true), 182'000); // the side not to move stands still
    ASSERT_TRUE(h.Clock.Moved());
    EXPECT_EQ(h.Clock.Remaining(false), 172'000);
    h.Wait(1500);
    EXPECT_EQ(h.Clock.Remaining(true), 180'500);
    ASSERT_TRUE(h.Clock.Moved());
    ASSERT_EQ(h.Clock.History().size(), 4u);
    EXPECT_EQ(h.Clock.History()[0].White, 180'000);
    EXPECT_EQ(h.Clock.History()[2].Black, 172'000);
    EXPECT_EQ(h.Clock.History()[3].White, 182'500);
    EXPECT_FALSE(h.Clock.WhiteToMove());

    // A game begun by Black: Black's clock runs first.
    h.Clock.Reset(PresetNamed("Rapid 10+5"), false);
    h.Clock.Start();
    h.Wait(2000);
    EXPECT_EQ(h.Clock.Remaining(false), 598'000);
    EXPECT_EQ(h.Clock.Remaining(true), 600'000);
}

TEST(GameClock, TheFlagFallsOnceWhenTimeRunsOutAndALateMoveEarnsNothing) {
    HandClock h;
    h.Clock.Reset(PresetNamed("Bullet 1+0"));
    h.Clock.Start();
    h.Wait(59'999);
    EXPECT_FALSE(h.Clock.Poll());
    EXPECT_TRUE(h.Clock.Moved()); // in time by a millisecond
    h.Wait(60'000);
    EXPECT_TRUE(h.Clock.Poll());
    EXPECT_FALSE(h.Clock.Poll()); // told once
    EXPECT_TRUE(h.Clock.FlagFallen());
    EXPECT_FALSE(h.Clock.FlaggedWhite());
    EXPECT_EQ(h.Clock.Remaining(false), 0);
    EXPECT_EQ(h.Clock.Remaining(true), 1);
    EXPECT_FALSE(h.Clock.Moved());
    h.Wait(5000);
    EXPECT_EQ(h.Clock.Remaining(true), 1); // nothing runs after the flag

    // A move made after the time ran out, before anyone looked: the flag, not the increment.
    h.Clock.Reset(PresetNamed("Blitz 3+2"));
    h.Clock.Start();
    h.Wait(180'000);
    EXPECT_FALSE(h.Clock.Moved());
    EXPECT_TRUE(h.Clock.FlagFallen());
    EXPECT_TRUE(h.Clock.FlaggedWhite());
    EXPECT_EQ(h.Clock.Remaining(true), 0);
    EXPECT_EQ(h.Clock.History().size(), 1u);

    // An untimed game never flags.
    h.Clock.Reset(PresetNamed("No clock"));
    h.Clock.Start();
    EXPECT_EQ(h.Clock.State(), TClockState::Idle);
    h.Wait(10'000'000);
    EXPECT_FALSE(h.Clock.Poll());
    EXPECT_TRUE(h.Clock.Moved());
    EXPECT_FALSE(h.Clock.WhiteToMove());
    EXPECT_FALSE(h.Clock.FlagFallen());
}

TEST(GameClock, AFlagLosesUnlessTheOtherSideCannotMate) {
    TChessGame game;
    struct Case {
        const char* Pieces;
        bool WhiteFlagged;
        const char* Result;
    };
    const Case cases[] = {
        {"Ke1 ke8 pa7", true, "0-1"},         // a pawn can still queen
        {"Ke1 ke8 nb8", true, "1/2-1/2"},     // a lone knight cannot mate
        {"Ke1 ke8 bc8", true, "1/2-1/2"},     // nor a lone bishop
        {"Ke1 ke8 nb8 ng8", true, "1/2-1/2"}, // nor two knights, by the rules' measure
        {"Ke1 ke8 nb8 bc8", true, "0-1"},     // bishop and knight can
        {"Ke1 ke8 ra8", true, "0-1"},
        {"Ke1 Qd1 Ra1 ke8", true, "1/2-1/2"}, // the flagged side's own army does not count
        {"Ke1 Qd1 ke8", false, "1-0"},
        {"Ke1 ke8 qd8", false, "1/2-1/2"}, // Black flagged, White has a lone king
        {"Ke1 Bc1 ke8 qd8", false, "1/2-1/2"},
        {"Ke1 Pa2 ke8 qd8", false, "1-0"},
    };
    for (const Case& c : cases) {
        Place(game, c.Pieces);
        EXPECT_EQ(FlagFallResult(game, c.WhiteFlagged), c.Result) << c.Pieces;
    }
    game.NewGame();
    EXPECT_EQ(FlagFallResult(game, false), "1-0");
}

TEST(GameClock, PausedWhileSteppingBackAndTakenBackToAnEarlierMove) {
    HandClock h;
    h.Clock.Reset(PresetNamed("Blitz 5+0"));
    h.Clock.Start();
    h.Wait(3000);
    ASSERT_TRUE(h.Clock.Moved()); // White 297 s
    h.Wait(4000);
    ASSERT_TRUE(h.Clock.Moved()); // Black 296 s
    h.Wait(1000);
    // Stepping back pauses: time passing while the history is looked at costs nothing.
    h.Clock.Pause();
    EXPECT_EQ(h.Clock.State(), TClockState::Paused);
    h.Wait(60'000);
    EXPECT_EQ(h.Clock.Remaining(true), 296'000);
    EXPECT_FALSE(h.Clock.Poll());
    // Stepping forward to the end again resumes the side to move.
    h.Clock.Resume();
    h.Wait(500);
    EXPECT_EQ(h.Clock.Remaining(true), 295'500);
    h.Clock.Pause();
    h.Clock.Pause(); // twice changes nothing
    h.Wait(500);
    EXPECT_EQ(h.Clock.Remaining(true), 295'500);

    // A move played from the position after White's first move: the clock goes back there.
    ASSERT_TRUE(h.Clock.Rewind(1));
    EXPECT_EQ(h.Clock.State(), TClockState::Paused);
    EXPECT_FALSE(h.Clock.WhiteToMove());
    EXPECT_EQ(h.Clock.Remaining(true), 297'000);
    EXPECT_EQ(h.Clock.Remaining(false), 300'000);
    h.Wait(9000);
    ASSERT_TRUE(h.Clock.Moved()); // the paused time is not charged
    EXPECT_EQ(h.Clock.Remaining(false), 300'000);
    EXPECT_EQ(h.Clock.History().size(), 3u);
    EXPECT_FALSE(h.Clock.Rewind(3));
    ASSERT_TRUE(h.Clock.Rewind(0));
    EXPECT_TRUE(h.Clock.WhiteToMove());
    EXPECT_EQ(h.Clock.State(), TClockState::Idle);

    // In a game Black began, an even number of half-moves leaves Black to move.
    h.Clock.Reset(PresetNamed("Blitz 5+0"), false);
    ASSERT_TRUE(h.Clock.Moved());
    ASSERT_TRUE(h.Clock.Moved());
    ASSERT_TRUE(h.Clock.Moved());
    ASSERT_TRUE(h.Clock.Rewind(2));
    EXPECT_FALSE(h.Clock.WhiteToMove());
}

TEST(GameClock, StoppedAtTheGamesEndKeepsItsTimes) {
    HandClock h;
    h.Clock.Reset(CustomTimeControl(90, 1));
    h.Clock.Start();
    h.Wait(2500);
    h.Clock.Stop();
    EXPECT_EQ(h.Clock.State(), TClockState::Stopped);
    h.Wait(600'000);
    EXPECT_EQ(h.Clock.Remaining(true), 87'500);
    EXPECT_FALSE(h.Clock.Poll());
    EXPECT_FALSE(h.Clock.Moved());
    h.Clock.Start(); // a stopped clock stays stopped until the next game
    EXPECT_EQ(h.Clock.State(), TClockState::Stopped);
    h.Clock.Reset(h.Clock.Control());
    EXPECT_EQ(h.Clock.Remaining(true), 90'000);
}

TEST(GameClock, ControlsAndTheClockFace) {
    EXPECT_EQ(TimeControlPresets().front().Name, "No clock");
    EXPECT_TRUE(TimeControlPresets().front().Untimed());
    EXPECT_EQ(PresetNamed("Classical 30+20").BaseMillis, 1'800'000);
    EXPECT_EQ(PresetNamed("Classical 30+20").IncrementMillis, 20'000);
    EXPECT_EQ(CustomTimeControl(90, 1).Name, "Custom 1:30+1");
    EXPECT_EQ(CustomTimeControl(600, -3).Name, "Custom 10+0");
    EXPECT_EQ(CustomTimeControl(600, -3).IncrementMillis, 0);
    EXPECT_TRUE(CustomTimeControl(0, 5).Untimed());

    EXPECT_EQ(ClockText(36'000'000), "10:00:00");
    EXPECT_EQ(ClockText(3'600'000), "1:00:00");
    EXPECT_EQ(ClockText(3'599'999), "59:59");
    EXPECT_EQ(ClockText(125'000), "2:05");
    EXPECT_EQ(ClockText(10'000), "0:10");
    EXPECT_EQ(ClockText(9'999), "0:09.9");
    EXPECT_EQ(ClockText(450), "0:00.4");
    EXPECT_EQ(ClockText(0), "0:00.0");
    EXPECT_EQ(ClockText(-20), "0:00.0");
}
