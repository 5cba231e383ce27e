#pragma once
// An external chess program that speaks UCI, as the computer player. TUciEngine runs the
// program with QProcess and never blocks: it greets it, sets its strength, asks for a move
// in a position and checks the answer against the rules. TUciPlayer is the main board's
// host player in place of the built-in engine: the board asks it when it is the computer's
// turn and it hands the program's move, promotion piece included, back to the board. When
// the program is missing, crashes, hangs or answers a move that is malformed or illegal, it
// is stopped, the user is told in one line and the built-in engine plays on.

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

#include "ComputerPlayer.h"
#include "StrongSearch.h"

#include "Fen.h"
#include "ReplayGame.h"

Q_DECLARE_METATYPE(GameMove)

class TChessBrd;
class TForm1;
class TGameFiles;
struct TStartOptions;

class TUciEngine : public QObject {
    Q_OBJECT

  public:
    explicit TUciEngine(QObject* parent = nullptr);
    ~TUciEngine() override;

    // Starts the program and greets it; the outcome comes as Ready or Failed.
    void Start(const QString& program);
    // Ends the program (asking it to quit first) without a signal.
    void Stop();
    bool Running() const { return FState != TState::Off; }
    bool Searching() const { return FState == TState::Searching; }
    // The name the program gives itself, the file name until it has.
    QString Name() const { return FName; }

    // The strength for the next searches: the board's difficulty, 1 (weakest) to 8.
    void SetLevel(int level);
    int Depth() const;
    // A new game: "ucinewgame", then a readiness check.
    void NewGame();
    // Asks for a move in the position; the answer comes as MoveFound or Failed. Asked while
    // a search runs, the position waits for that search's answer.
    void Search(const FenPosition& position);
    // The position of the answer last found (MoveFound) or of the search running.
    const FenPosition& Asked() const { return FAsked; }

    // The longest the greeting or a search may take before the program counts as hung.
    int TimeLimitMs = 30000;
    // The game's clocks, when they run: fills both sides' time left and increment and
    // returns true. The program is then told the clocks instead of a depth.
    std::function<bool(strong::TSearchLimits&)> ClockLimits;

  signals:
    void Ready();
    void MoveFound(const GameMove& move);
    void Failed(const QString& reason);

  private:
    enum class TState { Off, Greeting, Idle, Searching };

    void Send(const QString& line);
    void ReadLines();
    void Take(const QString& line);
    void TakeBestMove(const QString& text);
    void SendSearch();
    void Fail(const QString& reason);

    QProcess* FProcess = nullptr;
    QTimer FDeadline;
    TState FState = TState::Off;
    QString FName;
    bool FHasSkill = false;
    bool FReady = false; // the last readiness check was answered
    int FLevel = 1;
    std::optional<FenPosition> FPending; // asked for before the program was ready
    FenPosition FAsked;
};

class TUciPlayer : public QObject, public TComputerPlayer {
    Q_OBJECT

  public:
    TUciPlayer(TForm1& form, TGameFiles* files);
    ~TUciPlayer() override;

    // The board's player while the program plays.
    void Think(TChessBrd& board, unsigned request) override;
    void Halt() override {}
    bool Thinking() const override { return FEngine.Searching() && !FWanted.empty(); }
    bool Engaged() const override { return FEngine.Running() && !FWanted.empty(); }

    // Lets the program at path play the computer's side(s) from now on and remembers it in
    // chesszel.conf; an empty path brings back the built-in engine.
    void UseEngine(const QString& path);
    QString EnginePath() const { return FPath; }
    TUciEngine& Engine() { return FEngine; }
    // The "Engine..." command: the built-in engine or a program chosen from the files.
    void ChooseEngine();
    // The player of the computer's side whenever no program plays (null: the built-in
    // engine). A chosen program takes precedence over it.
    void SetStandIn(TComputerPlayer* player);
    // A program plays the computer's side now.
    bool ProgramPlays() const;

    // Where the choice is made in tests: returns a path, "" for the built-in engine, or a
    // null string to cancel.
    std::function<QString()> AskForEngine;

  private:
    void Answered(const GameMove& move);
    void FallBack(const QString& reason);
    // A new game or a game put on the board: the program starts afresh and moves first
    // when it is its turn.
    void Restart();
    FenPosition BoardPosition() const;
    // The stand-in, or the built-in engine, takes the computer's side.
    void PlayWithoutProgram();

    TForm1& FForm;
    TGameFiles* FFiles;
    QPointer<TChessBrd> FBoard;
    TUciEngine FEngine;
    QString FPath;
    TComputerPlayer* FStandIn = nullptr;
    std::string FWanted;   // the FEN the board waits for a move in; empty for none
    unsigned FRequest = 0; // the board's question about it
};

// Creates the "Engine..." command and the engine remembered in chesszel.conf, or the one
// named by "--engine PATH" on the command line (which is remembered in its place).
TUciPlayer* InstallUciEngine(TForm1& form, const TStartOptions& options,
                             TGameFiles* files = nullptr);
