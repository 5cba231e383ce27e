#pragma once
// TGameClock holds the two sides' remaining times of a game played under a time control:
// the side to move's clock runs, a move charges it, adds the Fischer increment and starts
// the other one; it pauses (stepping back through the history, a dialog), stops at the
// game's end and notices a flag fall. Time comes from an injected source, so that the
// clock can be driven by hand; it keeps the times after every half-move for the score
// sheet and for taking moves back.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TChessGame;

// A base time for the whole game and a Fischer increment added after each move.
struct TTimeControl {
    std::string Name;            // "Blitz 3+2"; "No clock" for an untimed game
    std::int64_t BaseMillis = 0; // 0: no clock
    std::int64_t IncrementMillis = 0;
    bool Untimed() const { return BaseMillis <= 0; }
    friend bool operator==(const TTimeControl&, const TTimeControl&) = default;
};

// "No clock" first, then the presets by speed: "Bullet 1+0", "Blitz 3+2", "Blitz 5+0",
// "Rapid 10+5", "Rapid 15+10", "Classical 30+20" (minutes + seconds of increment).
const std::vector<TTimeControl>& TimeControlPresets();
// A control of the player's own: base in seconds (untimed when not above 0), increment in
// seconds (negative counts as 0), named "Custom m+s" (or "Custom m:ss+s" for odd seconds).
TTimeControl CustomTimeControl(int baseSeconds, int incrementSeconds);

// Milliseconds from any fixed origin, never going back.
using TClockSource = std::function<std::int64_t()>;
std::int64_t SteadyClockMillis();

enum class TClockState : std::uint8_t {
    Idle,    // no move made yet, nothing runs until Start or the first move
    Running, // the side to move's time is going down
    Paused,  // kept as it stands until Resume or the next move
    Flagged, // the side to move ran out of time; nothing changes any more
    Stopped  // the game is over
};

class TGameClock {
  public:
    explicit TGameClock(TClockSource now = SteadyClockMillis);

    // A new game: both sides at the base time, nothing running, the given side to move.
    void Reset(const TTimeControl& control, bool whiteToMove = true);
    const TTimeControl& Control() const { return FControl; }
    TClockState State() const { return FState; }
    bool WhiteToMove() const { return FWhiteToMove; }

    // Starts the clock of the side to move (Idle or Paused only; never for an untimed game).
    void Start();
    // Keeps the running time as it stands.
    void Pause();
    void Resume() { Start(); }
    // The game is over: the running time is charged and nothing changes any more.
    void Stop();

    // The side to move has made its move. Its time so far is charged; when that leaves it
    // time, it gets its increment, the times are recorded and the other side's clock runs
    // (from Idle and Paused too, then charging nothing). When its time had run out the flag
    // falls instead and false comes back; false also when the clock is Flagged or Stopped.
    // An untimed clock only passes the turn.
    bool Moved();

    // Looks at the running clock: true on the one call that finds its time run out, when
    // the clock becomes Flagged.
    bool Poll();
    bool FlagFallen() const { return FState == TClockState::Flagged; }
    // The side whose flag fell (meaningful when FlagFallen).
    bool FlaggedWhite() const { return FWhiteToMove; }

    // A side's time left now, never below 0.
    std::int64_t Remaining(bool white) const;

    // Times after each half-move made under this clock: [0] the start, [n] after n moves.
    struct TTimes {
        std::int64_t White = 0, Black = 0;
    };
    const std::vector<TTimes>& History() const { return FHistory; }
    // Takes the clock back to the times after n half-moves (moves taken back, or a move
    // played from a position stepped back to), paused with that side to move. False when
    // n is beyond the record.
    bool Rewind(std::size_t halfMoves);

  private:
    void Charge();

    TClockSource FNow;
    TTimeControl FControl;
    TClockState FState = TClockState::Idle;
    bool FWhiteToMove = true;
    std::int64_t FWhite = 0, FBlack = 0; // as of FSince while running
    std::int64_t FSince = 0;
    std::vector<TTimes> FHistory;
};

// The time on a clock face: "h:mm:ss" from an hour, "m:ss" below, and "s.t" seconds with
// tenths below ten seconds ("0:09.4"); always rounded down, so 0 only when time is up.
std::string ClockText(std::int64_t millis);

// The result when a side's flag falls in the game's position: a loss ("0-1" for White,
// "1-0" for Black), or "1/2-1/2" when the other side lacks the material to mate by the
// rules' own measure (a lone king, a king and one minor piece or two knights). Like the
// common tournament rule this looks at the material alone, not at a forced mate.
std::string FlagFallResult(const TChessGame& game, bool whiteFlagged);
