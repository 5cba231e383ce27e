#pragma once
// The time control chosen for the games on the main board: the "Clock" submenu of the
// window's commands lists the presets ("No clock" first) and "Custom...", which asks for a
// base time in minutes and an increment in seconds. The choice is kept in chesszel.conf
// (group "Clock": "Base" and "Increment", in seconds) and applies from the next game, or
// at once while the game on the board has no move yet. "No clock" leaves the window as it
// is without clocks.

#include <functional>

#include "GameClock.h"

class TClocks;
class TForm1;
class TGameFiles;
class TLadderPlayer;
class TUciPlayer;

// The stored control: a preset when its times are one, "Custom m+s" otherwise, "No clock"
// when nothing (or nothing sensible) is stored.
TTimeControl ReadTimeControl();
void WriteTimeControl(const TTimeControl& control);

// Asks for a custom control: the base in minutes and the increment in seconds, false when
// cancelled. The default shows a small window; tests put their own in its place.
extern std::function<bool(int& minutes, int& seconds)> AskCustomTimeControl;

// Adds the submenu and the clocks to the window, lets the players given (any may be null)
// and the hint play to the clocks, and annotates the game files' records. Called once,
// after the players are installed.
TClocks* InstallClocks(TForm1& form, TGameFiles* files, TLadderPlayer* ladder, TUciPlayer* program,
                       TClockSource now = SteadyClockMillis);
