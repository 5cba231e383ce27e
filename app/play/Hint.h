#pragma once
// THint asks the strong search, at the ladder's strongest level and for a short time, for a
// move for the side to move, on a worker thread of the engine's thread layer so the window
// stays responsive; the game is not touched. When the answer comes and the position is still the one asked
// about, its two squares are shown on the board for a moment.

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

#include "StrongSearch.h"

class TChessBrd;

class THint : public QObject {
    Q_OBJECT

  public:
    explicit THint(TChessBrd* board, QObject* parent = nullptr);
    ~THint() override;

    // Starts a search unless one runs or the game has no move to suggest; false then.
    bool Request();
    bool Busy() const;
    // How long the squares stay marked.
    int ShowMs = 2500;
    // How long the search thinks.
    int ThinkMs = 300;
    // The game's clocks, when they run: fills both sides' time left and increment and
    // returns true. The search then plans its time on the side to move's clock.
    std::function<bool(strong::TSearchLimits&)> ClockLimits;

  private:
    class TSearch;
    void Deliver(int from, int to);

    QPointer<TChessBrd> FBoard;
    std::unique_ptr<TSearch> FSearch;
};
