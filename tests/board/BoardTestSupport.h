#pragma once
// Shared by the board tests: the application object, an event pump with a deadline, and a
// board that counts the moves made through it.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <random>
#include <vector>

#include "ChessBrd.h"

// A position text with the given pieces on an empty board, square 1 (a8) first.
inline std::string Placement(std::initializer_list<std::pair<Square, char>> pieces) {
    std::string p(64, ' ');
    for (auto [sq, c] : pieces)
        p[sq - 1] = c;
    return p;
}

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "board_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

// Runs the window thread's event loop until pred holds or ms milliseconds have passed.
inline bool PumpUntil(const std::function<bool()>& pred, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    QTimer tick; // keeps the blocking wait below from outliving the deadline
    tick.start(5);
    while (!pred()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

// A board that counts the moves handed to MakeMove and how many of them were refused.
class TCountingBoard : public TChessBrd {
  public:
    int Made = 0;
    int Refused = 0;
    std::function<void(Square, Square, bool)> OnMakeMove;
    bool RefuseEveryMove = false; // as the rules would refuse a move they judge illegal

    bool MakeMove(Square oldSq, Square newSq, char promotion = 0) override {
        const bool ok = !RefuseEveryMove && TChessBrd::MakeMove(oldSq, newSq, promotion);
        ok ? ++Made : ++Refused;
        if (OnMakeMove) OnMakeMove(oldSq, newSq, ok);
        return ok;
    }
};

// Every legal move of the side to move, as square pairs.
inline std::vector<std::pair<Square, Square>> LegalMoves(const TChessGame& g) {
    std::vector<std::pair<Square, Square>> moves;
    for (int a = 1; a <= 64; ++a) {
        if (g.PieceColor(a) != (g.WhiteToMove() ? 1 : 0)) continue;
        for (int b = 1; b <= 64; ++b)
            if (g.IsLegalMove(Square(a), Square(b))) moves.emplace_back(Square(a), Square(b));
    }
    return moves;
}
