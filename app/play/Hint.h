#pragma once
// THint asks the built-in engine, at the board's current difficulty, for a move for the side
// to move, on a thread of its own so the window stays responsive; the game is not touched.
// When the answer comes and the position is still the one asked about, its two squares are
// shown on the board for a moment and OnHint hears the move.

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "Square.h"

class TChessBrd;
class TChessEngine;

class THint : public QObject {
    Q_OBJECT

  public:
    explicit THint(TChessBrd* board, QObject* parent = nullptr);
    ~THint() override;

    // Starts a search unless one runs or the game has no move to suggest; false then.
    bool Request();
    bool Busy() const { return FThread.joinable() && !FDone; }
    // How long the squares stay marked.
    int ShowMs = 2500;
    std::function<void(Square from, Square to)> OnHint;

  private:
    void Deliver(int from, int to, const std::string& position);
    void Join();

    QPointer<TChessBrd> FBoard;
    std::thread FThread;
    std::atomic<bool> FDone{true};
    std::shared_ptr<TChessEngine> FEngine;
};
