#include "UciEngine.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

#include <array>

#include "ChessBrd.h"
#include "GameFiles.h"
#include "ProgramSettings.h"
#include "StartOptions.h"
#include "Unit1.h"

namespace {

// The board's difficulty 1..8 as the program's search depth and "Skill Level" (0..20).
constexpr std::array<int, 8> kDepths = {1, 2, 4, 7, 10, 13, 16, 20};
constexpr std::array<int, 8> kSkills = {0, 4, 8, 12, 16, 20, 20, 20};

constexpr const char* kEngineKey = "Engine/Path";

// A line by which a program answering "uci" shows that it does not speak UCI: an error, or
// the words of the other chess-engine protocol. Anything else may be a banner.
bool IsRefusal(const QString& line) {
    static const char* const kStarts[] = {"error",   "illegal move", "unknown command",
                                          "feature", "telluser",     "tellusererror"};
    for (const char* start : kStarts)
        if (line.startsWith(QLatin1String(start), Qt::CaseInsensitive)) return true;
    return false;
}

} // namespace

// --- The program -------------------------------------------------------------------------------

TUciEngine::TUciEngine(QObject* parent) : QObject(parent) {
    FDeadline.setSingleShot(true);
    connect(&FDeadline, &QTimer::timeout, this, [this] {
        Fail(QString("did not answer within %1 seconds").arg(TimeLimitMs / 1000.0));
    });
}

TUciEngine::~TUciEngine() {
    Stop();
}

void TUciEngine::Start(const QString& program) {
    Stop();
    FName = QFileInfo(program).fileName();
    FHasSkill = false;
    FReady = false;
    FPending.reset();
    FProcess = new QProcess(this);
    FProcess->setProgram(program);
    FProcess->setProcessChannelMode(QProcess::SeparateChannels);
    connect(FProcess, &QProcess::readyReadStandardOutput, this, &TUciEngine::ReadLines);
    connect(FProcess, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) Fail("could not be started");
    });
    connect(FProcess, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        if (status == QProcess::CrashExit)
            Fail("crashed");
        else if (FState == TState::Greeting)
            Fail(QString("ended without answering \"uci\" (exit code %1): it is not a UCI engine")
                     .arg(code));
        else
            Fail(QString("ended by itself (exit code %1)").arg(code));
    });
    FState = TState::Greeting;
    FDeadline.start(TimeLimitMs);
    FProcess->start(QIODevice::ReadWrite);
    if (FProcess && FState == TState::Greeting) Send("uci");
}

void TUciEngine::Stop() {
    FDeadline.stop();
    FState = TState::Off;
    if (!FProcess) return;
    QProcess* p = FProcess;
    FProcess = nullptr;
    p->disconnect(this);
    if (p->state() != QProcess::NotRunning) {
        p->write("quit\n");
        if (!p->waitForFinished(300)) {
            p->kill();
            p->waitForFinished(1000);
        }
    }
    p->deleteLater();
}

void TUciEngine::Fail(const QString& reason) {
    if (FState == TState::Off) return;
    Stop();
    emit Failed(reason);
}

void TUciEngine::Send(const QString& line) {
    if (FProcess && FProcess->state() != QProcess::NotRunning)
        FProcess->write((line + "\n").toUtf8());
}

void TUciEngine::SetLevel(int level) {
    FLevel = std::clamp(level, 1, 8);
    if (FHasSkill && FState == TState::Idle)
        Send(QString("setoption name Skill Level value %1").arg(kSkills[size_t(FLevel - 1)]));
}

int TUciEngine::Depth() const {
    return kDepths[size_t(FLevel - 1)];
}

void TUciEngine::NewGame() {
    if (FState == TState::Off) return;
    if (FState == TState::Searching) {
        // The answer to the old position is no longer wanted.
        Send("stop");
        FState = TState::Idle;
    }
    FPending.reset();
    Send("ucinewgame");
    FReady = false;
    Send("isready");
}

void TUciEngine::Search(const FenPosition& position) {
    if (FState == TState::Off) return;
    if (FState != TState::Idle || !FReady) {
        FPending = position;
        return;
    }
    FAsked = position;
    SendSearch();
}

void TUciEngine::SendSearch() {
    FState = TState::Searching;
    FDeadline.start(TimeLimitMs);
    Send("position fen " + QString::fromStdString(WriteFen(FAsked)));
    strong::TSearchLimits clock;
    if (ClockLimits && ClockLimits(clock)) {
        Send(QString("go wtime %1 btime %2 winc %3 binc %4")
                 .arg(clock.Time[strong::White])
                 .arg(clock.Time[strong::Black])
                 .arg(clock.Inc[strong::White])
                 .arg(clock.Inc[strong::Black]));
        return;
    }
    Send(QString("go depth %1").arg(Depth()));
}

void TUciEngine::ReadLines() {
    while (FProcess && FProcess->canReadLine())
        Take(QString::fromUtf8(FProcess->readLine()).trimmed());
}

void TUciEngine::Take(const QString& line) {
    if (FState == TState::Greeting && IsRefusal(line)) {
        Fail("is not a UCI engine: it answered \"" + line + "\"");
        return;
    }
    if (line.startsWith("id name ")) {
        FName = line.mid(8).trimmed();
    } else if (line.startsWith("option name Skill Level ")) {
        FHasSkill = true;
    } else if (line == "uciok" && FState == TState::Greeting) {
        FState = TState::Idle;
        FDeadline.stop();
        SetLevel(FLevel);
        Send("isready");
    } else if (line == "readyok" && FState == TState::Idle) {
        const bool first = !FReady;
        FReady = true;
        if (first && FName.size()) emit Ready();
        if (FPending) {
            FAsked = *FPending;
            FPending.reset();
            SendSearch();
        }
    } else if (line.startsWith("bestmove") && FState == TState::Searching) {
        FDeadline.stop();
        FState = TState::Idle;
        TakeBestMove(line.section(' ', 1, 1));
        // A position asked for meanwhile is searched now.
        if (FPending && FState == TState::Idle) {
            FAsked = *FPending;
            FPending.reset();
            SendSearch();
        }
    }
}

void TUciEngine::TakeBestMove(const QString& text) {
    const std::string s = text.toStdString();
    GameMove move;
    move.From = SquareFromText(s.substr(0, 2));
    move.To = s.size() >= 4 ? SquareFromText(s.substr(2, 2)) : None;
    if (s.size() == 5) move.Promotion = s[4];
    if (move.From == None || move.To == None || s.size() > 5) {
        Fail("answered \"" + text + "\", which is not a move");
        return;
    }
    TReplayGame game(FAsked);
    for (const GameMove& legal : game.LegalMoves()) {
        if (legal == move) {
            emit MoveFound(move);
            return;
        }
    }
    Fail("answered " + text + ", which is not a legal move here");
}

// --- The player on the board ------------------------------------------------------------------

TUciPlayer::TUciPlayer(TForm1& form, TGameFiles* files)
    : QObject(&form), FForm(form), FFiles(files), FBoard(form.Board()) {
    connect(&FEngine, &TUciEngine::MoveFound, this, &TUciPlayer::Answered);
    connect(&FEngine, &TUciEngine::Failed, this, [this](const QString& reason) {
        FallBack(FEngine.Name() + " " + reason + "; the built-in engine plays on.");
    });
    connect(&FEngine, &TUciEngine::Ready, this, [this] {
        if (FFiles) FFiles->EngineName = FEngine.Name();
    });
    // A new game (Play or Restart game) is handed to the program once the window has begun it.
    connect(&form, &TForm1::GameStarted, this, &TUciPlayer::Restart);
    if (files) connect(files, &TGameFiles::GameLoaded, this, &TUciPlayer::Restart);
    FBoard->SetHostPlayer(this);
    AskForEngine = [this]() -> QString {
        const QString builtIn = "The built-in engine";
        const QString other = "A UCI engine program...";
        QStringList items = {builtIn, other};
        if (!FPath.isEmpty()) items.insert(1, FPath);
        bool ok = false;
        const QString item = QInputDialog::getItem(&FForm, "Engine", "The computer player:", items,
                                                   FPath.isEmpty() ? 0 : 1, false, &ok);
        if (!ok) return QString();
        if (item == builtIn) return QString("");
        if (item != other) return item;
        return QFileDialog::getOpenFileName(&FForm, "Choose a UCI engine program", "/usr/games");
    };
}

TUciPlayer::~TUciPlayer() {
    if (FBoard && FBoard->HostPlayer() == this) {
        FBoard->SetCustomEngine(false);
        FBoard->SetHostPlayer(nullptr);
    }
}

void TUciPlayer::UseEngine(const QString& path) {
    FPath = path;
    OpenProgramSettings()->setValue(kEngineKey, path);
    FWanted.clear();
    FEngine.Stop();
    if (FFiles) FFiles->EngineName.clear();
    FBoard->StopThinking();
    if (path.isEmpty()) {
        PlayWithoutProgram();
        FBoard->StartComputerMove();
        return;
    }
    FBoard->SetHostPlayer(this);
    FBoard->SetCustomEngine(true);
    FEngine.Start(path);
    Restart();
}

bool TUciPlayer::ProgramPlays() const {
    return FBoard && FBoard->CustomEngine() && FBoard->HostPlayer() == this;
}

void TUciPlayer::SetStandIn(TComputerPlayer* player) {
    if (FStandIn == player) return;
    const bool program = ProgramPlays();
    FStandIn = player;
    if (program || !FBoard) return;
    FBoard->StopThinking();
    PlayWithoutProgram();
    FBoard->StartComputerMove();
}

void TUciPlayer::PlayWithoutProgram() {
    if (!FBoard) return;
    FBoard->SetHostPlayer(FStandIn ? FStandIn : this);
    FBoard->SetCustomEngine(FStandIn != nullptr);
}

void TUciPlayer::ChooseEngine() {
    const QString path = AskForEngine ? AskForEngine() : QString();
    if (path.isNull()) return;
    UseEngine(path);
}

FenPosition TUciPlayer::BoardPosition() const {
    FenPosition p;
    p.Board = FBoard->Position();
    p.WhiteToMove = FBoard->WhiteToMove();
    p.Castling = CastlingAtHome(p.Board, FBoard->CastlingAllowed());
    p.EnPassant = FBoard->EnPassant();
    p.MoveNumber = FBoard->CurrentMove();
    return p;
}

void TUciPlayer::Think(TChessBrd& board, unsigned request) {
    if (!FEngine.Running() || !board.ComputersTurn()) return;
    const FenPosition position = BoardPosition();
    const std::string fen = WriteFen(position);
    FRequest = request;
    // Already at work on this position: the answer goes to the newer question.
    if (fen == FWanted) return;
    FWanted = fen;
    FEngine.SetLevel(board.SearchDepth());
    FEngine.Search(position);
}

void TUciPlayer::Answered(const GameMove& move) {
    // An answer for a position the board no longer waits for is dropped; the one it waits
    // for is on its way.
    if (FWanted.empty() || WriteFen(FEngine.Asked()) != FWanted) return;
    FWanted.clear();
    if (FBoard) FBoard->ComputerMoveReady(*this, FRequest, {move.From, move.To, move.Promotion});
}

void TUciPlayer::FallBack(const QString& reason) {
    FWanted.clear();
    PlayWithoutProgram();
    if (FFiles) FFiles->EngineName.clear();
    FBoard->StartComputerMove();
    // The message line is cleared by the next move; the user is told in a message.
    if (TForm1::ShowMessage) TForm1::ShowMessage(&FForm, reason);
}

void TUciPlayer::Restart() {
    if (!FEngine.Running() || !FBoard) return;
    FWanted.clear();
    FEngine.NewGame();
    // The program opens the game when it plays the side to move.
    FBoard->StartComputerMove();
}

TUciPlayer* InstallUciEngine(TForm1& form, const TStartOptions& options, TGameFiles* files) {
    auto* player = new TUciPlayer(form, files);
    auto* action = new QAction("Engine...", &form);
    QObject::connect(action, &QAction::triggered, player, &TUciPlayer::ChooseEngine);
    form.AddCommand(action);
    QString path = OpenProgramSettings()->value(kEngineKey).toString();
    if (!options.EnginePath.isEmpty()) path = options.EnginePath;
    if (!path.isEmpty()) player->UseEngine(path);
    return player;
}
