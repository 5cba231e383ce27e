#include "ProbeSession.h"

#include <istream>
#include <ostream>

#include "ChessEngine.h"
#include "ProbeText.h"

using namespace probe;

const TProbeSession::TCommand TProbeSession::Commands[] = {
    {"newgame", &TProbeSession::CmdNewGame},   {"position", &TProbeSession::CmdPosition},
    {"fen", &TProbeSession::CmdFen},           {"side", &TProbeSession::CmdSide},
    {"castling", &TProbeSession::CmdCastling}, {"ep", &TProbeSession::CmdEp},
    {"promote", &TProbeSession::CmdPromote},   {"move", &TProbeSession::CmdMove},
    {"back", &TProbeSession::CmdBack},         {"forward", &TProbeSession::CmdForward},
    {"goto", &TProbeSession::CmdGoto},         {"legal", &TProbeSession::CmdLegal},
    {"state", &TProbeSession::CmdState},       {"movelist", &TProbeSession::CmdMoveList},
    {"perft", &TProbeSession::CmdPerft},       {"divide", &TProbeSession::CmdDivide},
    {"eval", &TProbeSession::CmdEval},         {"search", &TProbeSession::CmdSearch},
    {"play", &TProbeSession::CmdPlay},
};

TProbeSession::TProbeSession(std::ostream& out, TProbeOptions options)
    : FOut(out), FOptions(options), FEngine(std::make_unique<TChessEngine>()) {
    InstallEventHandlers();
    FEngine->OnIteration = [this](int depth, int score, std::int64_t nodes) {
        ReportIteration(depth, score, static_cast<long long>(nodes));
    };
}

TProbeSession::~TProbeSession() = default;

// --- Running commands ------------------------------------------------------------------------

void TProbeSession::Execute(std::string_view line) {
    std::string_view command = Trim(line);
    if (command.empty() || command.front() == '#') return;
    TArgs words = SplitWords(command);
    std::string_view name = words.front();
    words.erase(words.begin());
    bool known = false;
    for (const TCommand& entry : Commands) {
        if (name == entry.Name) {
            (this->*entry.Handler)(words, command);
            known = true;
            break;
        }
    }
    if (!known) Error("unknown command " + std::string(name));
    FOut.flush();
}

void TProbeSession::RunScript(std::string_view commands) {
    for (std::string_view piece : SplitScript(commands))
        Execute(piece);
}

void TProbeSession::RunStream(std::istream& in) {
    std::string line;
    while (std::getline(in, line))
        Execute(line);
}

void TProbeSession::Error(std::string_view message) {
    FOut << "error " << message << '\n';
}

bool TProbeSession::ExpectArgs(const TArgs& args, std::size_t count, const char* usage) {
    if (args.size() == count) return true;
    Error(std::string("usage: ") + usage);
    return false;
}

// --- Events ----------------------------------------------------------------------------------

void TProbeSession::InstallEventHandlers() {
    auto move = [this](const char* name) {
        return [this, name](TChessGame*, Square oldSq, Square newSq) {
            if (FReporting)
                FOut << "event " << name << ' ' << SquareText(oldSq) << ' ' << SquareText(newSq)
                     << '\n';
        };
    };
    auto notify = [this](const char* name) {
        return [this, name](TChessGame*) {
            if (FReporting) FOut << "event " << name << '\n';
        };
    };
    FGame.OnLegalMove = move("LegalMove");
    FGame.OnCastle = move("Castle");
    FGame.OnCheck = move("Check");
    FGame.OnMate = move("Mate");
    FGame.OnStaleMate = move("StaleMate");
    FGame.OnCapture = [this](TChessGame*, Square oldSq, Square newSq, char captured) {
        if (FReporting)
            FOut << "event Capture " << SquareText(oldSq) << ' ' << SquareText(newSq) << ' '
                 << EventLetter(captured) << '\n';
    };
    FGame.OnNoMatingMaterial = notify("NoMatingMaterial");
    FGame.OnThreefoldPosition = notify("ThreefoldPosition");
    FGame.OnDraw = notify("Draw");
    FGame.OnPaint = notify("Paint");
    InstallPromotionHandler();
}

void TProbeSession::InstallPromotionHandler() {
    FGame.OnPromotion = [this](TChessGame*, Square oldSq, Square newSq, char& newPiece) {
        if (FReporting)
            FOut << "event Promotion " << SquareText(oldSq) << ' ' << SquareText(newSq) << ' '
                 << EventLetter(newPiece) << '\n';
        if (FPromoteLetter != 0) newPiece = FPromoteLetter;
    };
}

void TProbeSession::ReportedMove(Square oldSq, Square newSq) {
    FReporting = true;
    bool result = FGame.MakeMove(oldSq, newSq);
    FReporting = false;
    FOut << "result " << (result ? "true" : "false") << '\n';
}

// --- Game commands ---------------------------------------------------------------------------

void TProbeSession::CmdNewGame(const TArgs& args, std::string_view) {
    if (ExpectArgs(args, 0, "newgame")) FGame.NewGame();
}

void TProbeSession::CmdPosition(const TArgs&, std::string_view line) {
    std::size_t first = line.find('"');
    std::size_t last = line.rfind('"');
    if (first == std::string_view::npos || first == last) {
        Error("usage: position \"<text>\"");
        return;
    }
    FGame.SetPosition(line.substr(first + 1, last - first - 1));
}

void TProbeSession::CmdFen(const TArgs& args, std::string_view) {
    std::string position;
    bool white = true;
    CastleSet rights;
    Square ep = None;
    if (args.size() < 4) {
        Error("usage: fen <placement> <w|b> <castling> <ep> [...]");
        return;
    }
    if (!ReadPlacement(args[0], position)) return Error("bad placement " + std::string(args[0]));
    if (!ReadSide(args[1], white)) return Error("bad side " + std::string(args[1]));
    if (!ReadCastling(args[2], rights)) return Error("bad castling " + std::string(args[2]));
    if (args[3] != "-" && !ParseSquare(args[3], ep))
        return Error("bad square " + std::string(args[3]));
    FGame.NewGame();
    FGame.SetPosition(position);
    FGame.SetWhiteToMove(white);
    FGame.SetCastlingAllowed(rights);
    if (args[3] != "-") FGame.SetEnPassant(ep);
}

void TProbeSession::CmdSide(const TArgs& args, std::string_view) {
    bool white = true;
    if (!ExpectArgs(args, 1, "side w|b")) return;
    if (!ReadSide(args[0], white)) return Error("bad side " + std::string(args[0]));
    FGame.SetWhiteToMove(white);
}

void TProbeSession::CmdCastling(const TArgs& args, std::string_view) {
    CastleSet rights;
    if (!ExpectArgs(args, 1, "castling <KQkq|->")) return;
    if (!ReadCastling(args[0], rights)) return Error("bad castling " + std::string(args[0]));
    FGame.SetCastlingAllowed(rights);
}

void TProbeSession::CmdEp(const TArgs& args, std::string_view) {
    Square sq = None;
    if (!ExpectArgs(args, 1, "ep <square>")) return;
    if (!ParseSquare(args[0], sq)) return Error("bad square " + std::string(args[0]));
    FGame.SetEnPassant(sq);
}

void TProbeSession::CmdPromote(const TArgs& args, std::string_view) {
    if (!ExpectArgs(args, 1, "promote <letter>|none")) return;
    std::string_view letter = args[0];
    if (letter == "none") {
        FGame.OnPromotion = nullptr;
        FPromoteLetter = 0;
        return;
    }
    char c = letter.size() == 1 ? letter[0] : '\0';
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
        return Error("bad letter " + std::string(letter));
    FPromoteLetter = c;
    InstallPromotionHandler();
}

void TProbeSession::CmdMove(const TArgs& args, std::string_view) {
    Square from = None;
    Square to = None;
    if (!ExpectArgs(args, 2, "move <from> <to>")) return;
    if (!ParseSquare(args[0], from)) return Error("bad square " + std::string(args[0]));
    if (!ParseSquare(args[1], to)) return Error("bad square " + std::string(args[1]));
    ReportedMove(from, to);
}

void TProbeSession::CmdBack(const TArgs& args, std::string_view) {
    if (ExpectArgs(args, 0, "back"))
        FOut << "result " << (FGame.StepBack() ? "true" : "false") << '\n';
}

void TProbeSession::CmdForward(const TArgs& args, std::string_view) {
    if (ExpectArgs(args, 0, "forward"))
        FOut << "result " << (FGame.StepForward() ? "true" : "false") << '\n';
}

void TProbeSession::CmdGoto(const TArgs& args, std::string_view) {
    int n = 0;
    bool white = true;
    if (!ExpectArgs(args, 2, "goto <n> <w|b>")) return;
    if (!ParseInt(args[0], n)) return Error("bad number " + std::string(args[0]));
    if (!ReadSide(args[1], white)) return Error("bad side " + std::string(args[1]));
    FOut << "result " << (FGame.GotoHalfMove(n, white) ? "true" : "false") << '\n';
}

void TProbeSession::CmdLegal(const TArgs& args, std::string_view) {
    if (!ExpectArgs(args, 0, "legal")) return;
    std::vector<std::string> moves;
    for (int from = 1; from <= 64; ++from)
        for (int to = 1; to <= 64; ++to)
            if (FGame.IsLegalMove(static_cast<Square>(from), static_cast<Square>(to)))
                moves.push_back(SquareText(from) + SquareText(to));
    FOut << "legal " << moves.size() << '\n';
    for (const std::string& move : moves)
        FOut << move << '\n';
    FOut << "haslegal " << (FGame.HasLegalMove() ? "true" : "false") << '\n';
}

void TProbeSession::CmdState(const TArgs& args, std::string_view) {
    if (!ExpectArgs(args, 0, "state")) return;
    FOut << "state \"" << FGame.Position() << "\" " << (FGame.WhiteToMove() ? 'w' : 'b') << ' '
         << CastlingText(FGame.CastlingAllowed()) << " ep " << SquareText(FGame.EnPassant())
         << " move " << FGame.CurrentMove() << " last " << FGame.HistoryLastMove() << ' '
         << (FGame.HistoryLastWhite() ? 'w' : 'b') << '\n';
}

void TProbeSession::CmdMoveList(const TArgs& args, std::string_view) {
    if (!ExpectArgs(args, 0, "movelist")) return;
    std::vector<std::string> lines;
    FGame.GetMoveList(lines);
    for (const std::string& text : lines)
        FOut << "line \"" << text << "\"\n";
}
