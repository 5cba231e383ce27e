#pragma once
// TProbeSession is the chessprobe console: it parses command lines and runs them on one game
// and one engine instance kept for the whole run, writing one fact a line to a stream. Every
// rules event is reported while a move is being made, so scripts can follow exactly what the
// rules raised.

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ChessGame.h"
#include "EngineMove.h"

class TChessEngine;

struct TProbeOptions {
    // Deepest perft/divide accepted. The console keeps it at the engine's ply limit; the fuzz
    // target lowers it so that no input can run for minutes.
    int MaxPerftDepth = 63;
    // Upper bound of the search depth after the 1..8 clamp (the fuzz target lowers it).
    int MaxSearchDepth = 8;
    // Most pieces a position may hold for search and play. Quiescence has no depth limit, so
    // a crowded board without kings (twenty queens, say) can take minutes even at depth 1;
    // the fuzz target refuses such positions, the console searches whatever it is given.
    int MaxSearchMen = 64;
};

class TProbeSession {
  public:
    explicit TProbeSession(std::ostream& out, TProbeOptions options = {});
    ~TProbeSession();
    TProbeSession(const TProbeSession&) = delete;
    TProbeSession& operator=(const TProbeSession&) = delete;

    // Runs one command line; blank lines and lines starting with '#' do nothing.
    void Execute(std::string_view line);
    // Runs commands separated by semicolons (the -c form).
    void RunScript(std::string_view commands);
    // Runs every line of the stream, one command a line.
    void RunStream(std::istream& in);

    const TChessGame& Game() const { return FGame; }

  private:
    using TArgs = std::vector<std::string_view>;
    using THandler = void (TProbeSession::*)(const TArgs& args, std::string_view line);
    struct TCommand {
        const char* Name;
        THandler Handler;
    };
    static const TCommand Commands[];

    void InstallEventHandlers();
    void InstallPromotionHandler();
    void Error(std::string_view message);
    bool ExpectArgs(const TArgs& args, std::size_t count, const char* usage);
    void ReportedMove(Square oldSq, Square newSq);

    // Game commands.
    void CmdNewGame(const TArgs& args, std::string_view line);
    void CmdPosition(const TArgs& args, std::string_view line);
    void CmdFen(const TArgs& args, std::string_view line);
    void CmdSide(const TArgs& args, std::string_view line);
    void CmdCastling(const TArgs& args, std::string_view line);
    void CmdEp(const TArgs& args, std::string_view line);
    void CmdPromote(const TArgs& args, std::string_view line);
    void CmdMove(const TArgs& args, std::string_view line);
    void CmdBack(const TArgs& args, std::string_view line);
    void CmdForward(const TArgs& args, std::string_view line);
    void CmdGoto(const TArgs& args, std::string_view line);
    void CmdLegal(const TArgs& args, std::string_view line);
    void CmdState(const TArgs& args, std::string_view line);
    void CmdMoveList(const TArgs& args, std::string_view line);

    // Engine commands (ProbeEngine.cpp).
    void CmdPerft(const TArgs& args, std::string_view line);
    void CmdDivide(const TArgs& args, std::string_view line);
    void CmdEval(const TArgs& args, std::string_view line);
    void CmdSearch(const TArgs& args, std::string_view line);
    void CmdPlay(const TArgs& args, std::string_view line);
    bool ParsePerftDepth(const TArgs& args, const char* usage, int& depth);
    bool RunSearch(const TArgs& args, const char* usage);
    TEngineInput EngineInput() const;
    void LoadEngine();
    void ReportIteration(int depth, int score, long long nodes);

    std::ostream& FOut;
    TProbeOptions FOptions;
    TChessGame FGame;
    std::unique_ptr<TChessEngine> FEngine;
    // Events are printed only while move or play makes a move; the repaint of newgame,
    // position and fen raises OnPaint too, but those commands print nothing.
    bool FReporting = false;
    // The letter `promote` gave the OnPromotion handler; 0 while it only reports.
    char FPromoteLetter = 0;
};
