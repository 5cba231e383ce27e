#pragma once
// TUciSession speaks the UCI protocol for the strong search and its ladder of levels: it
// reads commands on the caller's thread and runs each search on a thread of its own, so that
// "stop", "isready" and "quit" are answered while a search runs. Unknown or malformed input
// is ignored (or answered with an "info string"), never fatal.

#include <atomic>
#include <condition_variable>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Ladder.h"

struct TUciOptions {
    // Caps for every search (0: none), so that a fuzzer's inputs finish quickly.
    int MaxDepth = 0;
    std::int64_t MaxNodes = 0;
    int HashMegabytes = 16;
};

class TUciSession {
  public:
    explicit TUciSession(std::ostream& out, TUciOptions options = {});
    ~TUciSession();
    TUciSession(const TUciSession&) = delete;
    TUciSession& operator=(const TUciSession&) = delete;

    // Handles one command line; false once "quit" has been read.
    bool Handle(std::string_view line);
    // Reads lines until "quit" or the end of the input; a running search is then stopped.
    void Run(std::istream& in);
    // Waits until no search runs.
    void WaitForSearch();

  private:
    void Send(const std::string& text);
    void Uci();
    void SetOption(const std::vector<std::string>& words);
    void Position(const std::vector<std::string>& words);
    void Go(const std::vector<std::string>& words);
    void StopSearch();
    void Think(strong::TPosition pos, strong::TSearchLimits limits, int level);
    void Report(const strong::TSearchReport& r);
    int CurrentLevel() const;

    std::ostream& Out;
    std::mutex OutMutex;
    TUciOptions Options;
    strong::TTranspositionTable TT;
    strong::TLevelPlayer Player;
    strong::TPosition Pos;
    std::thread Worker;
    // While a "go infinite" search waits for "stop" before it answers.
    std::mutex WaitMutex;
    std::condition_variable WaitChanged;
    bool StopRequested = false;
    int Level;
    bool LimitStrength = false;
    int Elo = 2300;
    // With "go movetime": the most a move may take (0: the move time itself).
    int MoveTimeMax = 0;
};
