#include "GameClock.h"

#include <algorithm>
#include <chrono>

#include "ChessGame.h"

namespace {

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;

TTimeControl Preset(const char* name, int minutes, int increment) {
    return {name, minutes * kMinute, increment * kSecond};
}

std::string TwoDigits(std::int64_t n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

} // namespace

const std::vector<TTimeControl>& TimeControlPresets() {
    static const std::vector<TTimeControl> presets = {
        Preset("No clock", 0, 0),         Preset("Bullet 1+0", 1, 0),
        Preset("Blitz 3+2", 3, 2),        Preset("Blitz 5+0", 5, 0),
        Preset("Rapid 10+5", 10, 5),      Preset("Rapid 15+10", 15, 10),
        Preset("Classical 30+20", 30, 20)};
    return presets;
}

TTimeControl CustomTimeControl(int baseSeconds, int incrementSeconds) {
    if (baseSeconds <= 0) return TimeControlPresets().front();
    incrementSeconds = std::max(incrementSeconds, 0);
    std::string base = std::to_string(baseSeconds / 60);
    if (baseSeconds % 60) base += ":" + TwoDigits(baseSeconds % 60);
    return {"Custom " + base + "+" + std::to_string(incrementSeconds), baseSeconds * kSecond,
            incrementSeconds * kSecond};
}

std::int64_t SteadyClockMillis() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

TGameClock::TGameClock(TClockSource now) : FNow(std::move(now)) {
    Reset(TimeControlPresets().front());
}

void TGameClock::Reset(const TTimeControl& control, bool whiteToMove) {
    FControl = control;
    FState = TClockState::Idle;
    FWhiteToMove = whiteToMove;
    FWhite = FBlack = std::max<std::int64_t>(control.BaseMillis, 0);
    FHistory.assign(1, {FWhite, FBlack});
}

void TGameClock::Start() {
    if (FControl.Untimed()) return;
    if (FState != TClockState::Idle && FState != TClockState::Paused) return;
    FSince = FNow();
    FState = TClockState::Running;
}

void TGameClock::Charge() {
    const std::int64_t now = FNow();
    std::int64_t& left = FWhiteToMove ? FWhite : FBlack;
    left = std::max<std::int64_t>(left - std::max<std::int64_t>(now - FSince, 0), 0);
    FSince = now;
}

void TGameClock::Pause() {
    if (FState != TClockState::Running) return;
    Charge();
    FState = TClockState::Paused;
}

void TGameClock::Stop() {
    if (FState == TClockState::Flagged || FState == TClockState::Stopped) return;
    if (FState == TClockState::Running) Charge();
    FState = TClockState::Stopped;
}

bool TGameClock::Moved() {
    if (FState == TClockState::Flagged || FState == TClockState::Stopped) return false;
    if (!FControl.Untimed()) {
        if (FState == TClockState::Running) Charge();
        std::int64_t& left = FWhiteToMove ? FWhite : FBlack;
        if (left <= 0) {
            FState = TClockState::Flagged;
            return false;
        }
        left += FControl.IncrementMillis;
    }
    FWhiteToMove = !FWhiteToMove;
    FHistory.push_back({FWhite, FBlack});
    if (!FControl.Untimed()) {
        FSince = FNow();
        FState = TClockState::Running;
    }
    return true;
}

bool TGameClock::Poll() {
    if (FState != TClockState::Running || Remaining(FWhiteToMove) > 0) return false;
    Charge();
    FState = TClockState::Flagged;
    return true;
}

std::int64_t TGameClock::Remaining(bool white) const {
    const std::int64_t stored = white ? FWhite : FBlack;
    if (FState != TClockState::Running || white != FWhiteToMove) return stored;
    return std::max<std::int64_t>(stored - std::max<std::int64_t>(FNow() - FSince, 0), 0);
}

bool TGameClock::Rewind(std::size_t halfMoves) {
    if (halfMoves >= FHistory.size()) return false;
    // The side to move after n half-moves: the first mover when n is even.
    const bool firstWhite = (FHistory.size() - 1) % 2 == 0 ? FWhiteToMove : !FWhiteToMove;
    FHistory.resize(halfMoves + 1);
    FWhite = FHistory.back().White;
    FBlack = FHistory.back().Black;
    FWhiteToMove = halfMoves % 2 == 0 ? firstWhite : !firstWhite;
    FState = FControl.Untimed() || halfMoves == 0 ? TClockState::Idle : TClockState::Paused;
    return true;
}

std::string ClockText(std::int64_t millis) {
    millis = std::max<std::int64_t>(millis, 0);
    const std::int64_t seconds = millis / kSecond;
    if (seconds >= 3600)
        return std::to_string(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
               TwoDigits(seconds % 60);
    if (seconds >= 10) return std::to_string(seconds / 60) + ":" + TwoDigits(seconds % 60);
    return "0:0" + std::to_string(seconds) + "." + std::to_string(millis % kSecond / 100);
}

std::string FlagFallResult(const TChessGame& game, bool whiteFlagged) {
    if (game.SideLacksMatingMaterial(!whiteFlagged)) return "1/2-1/2";
    return whiteFlagged ? "0-1" : "1-0";
}
