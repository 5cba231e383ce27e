#pragma once
// TClocks runs the game clocks of the main window's game under the chosen time control.
// The clocks start with the first move of a game (White's first move is free: it starts
// Black's clock), stop when the game ends, and stand still while the game is suspended
// for a new one (the Play panel lies over the board) or the person has stepped back in the
// history; they go on when the latest position is shown again. A move played from an
// earlier position takes the clocks back to their times there. When a flag falls, the game
// ends as a loss for that side, or as a draw when the other side has no mating material;
// the computer stops and the window says so. With "No clock" nothing of this runs.
//
// The computer's players read the clocks through SearchLimits; the PGN of a timed game gets
// its "TimeControl" tag and each move's clock.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "ClockPanel.h"
#include "GameClock.h"
#include "StrongSearch.h"

class TChessBrd;
class TForm1;
struct GameRecord;

class TClocks : public QObject {
    Q_OBJECT

  public:
    // The clocks of the form's game, read from now (tests give a source they drive).
    explicit TClocks(TForm1& form, TClockSource now = SteadyClockMillis);
    ~TClocks() override;

    // The time control of the next game; the game on the board keeps its own until then,
    // unless no move has been made yet.
    void SetControl(const TTimeControl& control);
    const TTimeControl& Control() const { return FControl; }
    const TGameClock& Clock() const { return FClock; }
    TClockPanel* Panel() const { return FPanel.data(); }

    // Brings the clocks up to the board: called on every tick of the window's timer and by
    // the window's events; tests call it after moving time on.
    void Tick();

    // The clocks for a search of the side to move: both sides' time left and increment.
    // False when no clock runs.
    bool SearchLimits(strong::TSearchLimits& limits) const;
    // Adds the time control and the clocks of the game to a record of it.
    void Annotate(GameRecord& record) const;
    // A game put on the board by a file: the clocks start afresh from its position.
    void GameLoaded();
    // Both clocks in words ("White has 2:59, Black has 3:01, Black's clock runs"), empty
    // without a clock.
    QString InWords() const;

    // How often the faces are brought up to date.
    static constexpr int kTickMs = 100;

  private:
    int ShownPly() const;
    int LatestPly() const;
    int ClockPly() const;
    void NewGame();
    void Rebase();
    void MoveMade();
    void MoveReported();
    void GameOver();
    void FlagFell();
    bool MayRun() const;
    void ShowFaces();
    void ShowSkin();

    TForm1& FForm;
    QPointer<TChessBrd> FBoard;
    TTimeControl FControl;
    TGameClock FClock;
    int FBase = 0;          // the board's half-move at which the clock's record begins
    bool FFlagTold = false; // the fallen flag has ended the game on the window
    QTimer FTimer;
    QPointer<TClockPanel> FPanel;
    qint64 FSkinKey = 0; // the skin picture the faces' colour was taken from
};
