// The console's engine commands: each loads the one engine instance from the game the way a
// search does, so PV carries over from one search to the next as in the program.

#include <algorithm>
#include <ostream>

#include "ChessEngine.h"
#include "EngineFen.h"
#include "GameInput.h"
#include "ProbeSession.h"
#include "ProbeText.h"

using namespace probe;

void TProbeSession::LoadEngine() {
    TEngineInput in = EngineInput();
    FEngine->LoadPosition(in);
}

TEngineInput TProbeSession::EngineInput() const {
    return EngineInputOf(FGame);
}

bool TProbeSession::ParsePerftDepth(const TArgs& args, const char* usage, int& depth) {
    if (!ExpectArgs(args, 1, usage)) return false;
    if (!ParseInt(args[0], depth) || depth < 0) {
        Error("bad depth " + std::string(args[0]));
        return false;
    }
    if (depth > FOptions.MaxPerftDepth) {
        Error("depth above " + std::to_string(FOptions.MaxPerftDepth));
        return false;
    }
    return true;
}

void TProbeSession::CmdPerft(const TArgs& args, std::string_view) {
    int depth = 0;
    if (!ParsePerftDepth(args, "perft <depth>", depth)) return;
    LoadEngine();
    FOut << "perft " << depth << ' ' << FEngine->Perft(depth) << '\n';
}

void TProbeSession::CmdDivide(const TArgs& args, std::string_view) {
    int depth = 0;
    if (!ParsePerftDepth(args, "divide <depth>", depth)) return;
    LoadEngine();
    std::vector<std::pair<TEngineMove, std::uint64_t>> counts;
    FEngine->Divide(depth, counts);
    std::uint64_t total = 0;
    for (const auto& [move, count] : counts) {
        FOut << EngineMoveText(move) << ' ' << count << '\n';
        total += count;
    }
    // Depth 0 has no root moves to split: the count is the one empty sequence.
    if (depth == 0) total = 1;
    FOut << "perft " << depth << ' ' << total << '\n';
}

void TProbeSession::CmdEval(const TArgs& args, std::string_view) {
    if (!ExpectArgs(args, 0, "eval")) return;
    LoadEngine();
    FEngine->BuildPieceSquareTables();
    FOut << "eval " << FEngine->Evaluate() << '\n';
}

bool TProbeSession::RunSearch(const TArgs& args, const char* usage) {
    int depth = 0;
    if (!ExpectArgs(args, 1, usage)) return false;
    if (!ParseInt(args[0], depth)) {
        Error("bad depth " + std::string(args[0]));
        return false;
    }
    TEngineInput in = EngineInput();
    if (std::count_if(in.Board, in.Board + 64, [](char c) { return c != ' '; }) >
        FOptions.MaxSearchMen) {
        Error("more than " + std::to_string(FOptions.MaxSearchMen) + " men to search");
        return false;
    }
    in.SearchDepth = std::clamp(depth, 1, std::clamp(FOptions.MaxSearchDepth, 1, 8));
    FEngine->AbortSearch = false;
    FEngine->Think(in);
    FOut << "bestmove " << EngineMoveText(FEngine->BestMove()) << '\n';
    return true;
}

void TProbeSession::ReportIteration(int depth, int score, long long nodes) {
    FOut << "iteration " << depth << " score " << score << " nodes " << nodes << " pv";
    for (int i = 0; i < FEngine->PVLength[0] && i < TChessEngine::MaxPly; ++i)
        FOut << ' ' << EngineMoveText(FEngine->PV[0][i]);
    FOut << '\n';
}

void TProbeSession::CmdSearch(const TArgs& args, std::string_view) {
    RunSearch(args, "search <depth>");
}

void TProbeSession::CmdPlay(const TArgs& args, std::string_view) {
    if (!RunSearch(args, "play <depth>")) return;
    TEngineMove best = FEngine->BestMove();
    ReportedMove(static_cast<Square>(best.From + 1), static_cast<Square>(best.To + 1));
}
