#pragma once
// The media command strings the main window sends for its music, parsed into a small
// record, and the interpreter that keeps the state of the one music device: which alias is
// open, and what PLAY, STOP and CLOSE do to it. The interpreter drives a TMusicPlayer, so
// the same rules hold for the real device and for a recording one in tests.

#include <string>

struct TMediaCommand {
    enum class TVerb { Unknown, Open, Play, Stop, Close };
    TVerb Verb = TVerb::Unknown;
    std::string Alias;    // as written; compared without regard to case
    std::string Path;     // OPEN only: the file, exactly as it stands in the command
    std::string Type;     // OPEN only: the device type ("SEQUENCER")
    bool HasFrom = false; // PLAY only: a FROM position was given
    long From = 0;
};

// Reads "OPEN <path> TYPE <type> ALIAS <alias>", "PLAY <alias> [FROM <n>]", "STOP <alias>"
// and "CLOSE <alias>", keywords in any case. The path of OPEN may hold spaces: it is what
// lies between "OPEN " and the " TYPE <type> ALIAS <alias>" at the end. Anything else,
// including a command with missing or extra words, comes back with the verb Unknown.
TMediaCommand ParseMediaCommand(const std::string& command);

// What the interpreter asks of the device that really plays the piece.
class TMusicPlayer {
  public:
    virtual ~TMusicPlayer() = default;
    // Loads the piece; false when the file can't be played.
    virtual bool Load(const std::string& path) = 0;
    // Plays the loaded piece once from its beginning, stopping it first if it plays.
    virtual void PlayFromStart() = 0;
    virtual void Stop() = 0;
    virtual void Unload() = 0;
};

// One sequencer device that one alias at a time may hold. Results follow the media
// interface's: a command naming an alias that isn't open fails and changes nothing, and
// opening while the alias (or any other) is open is refused, leaving the open piece as it is.
class TMediaInterpreter {
  public:
    explicit TMediaInterpreter(TMusicPlayer& player) : Player(player) {}
    // Runs one command string; true when the command was carried out.
    bool Send(const std::string& command);
    bool IsOpen() const { return !OpenAlias.empty(); }

  private:
    bool Open(const TMediaCommand& command);
    bool Names(const std::string& alias) const;

    TMusicPlayer& Player;
    std::string OpenAlias;
};
