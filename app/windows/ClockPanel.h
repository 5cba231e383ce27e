#pragma once
// TClockPanel shows the two sides' clocks side by side, White's on the left: each face a
// disc of its side's colour and the time left ("4:59", "0:09.4" under ten seconds). The
// clock that runs is drawn lit in the skin's colour, a fallen flag in red. Each face is a
// text line of the window to assistive technology ("White's clock: 4:59, running").

#include <QColor>
#include <QWidget>

#include <cstdint>

#include "InfoLine.h"

// One side's face.
class TClockFace : public TInfoLine {
    Q_OBJECT

  public:
    TClockFace(bool white, QWidget* parent);
    bool White() const { return FWhite; }
    void Show(std::int64_t millis, bool running, bool flagged);
    bool Running() const { return FRunning; }
    bool Flagged() const { return FFlagged; }
    void SetAccent(const QColor& c);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    bool FWhite;
    bool FRunning = false;
    bool FFlagged = false;
    QColor FAccent{0x40, 0x60, 0xA0};
};

class TClockPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TClockPanel(QWidget* parent = nullptr);
    // The times left; running is the side whose clock runs (neither when none does).
    enum class TSide : std::uint8_t { None, White, Black };
    void Show(std::int64_t whiteMillis, std::int64_t blackMillis, TSide running,
              TSide flagged = TSide::None);
    // The colour the running face is lit in, taken from the skin.
    void SetAccent(const QColor& c);
    TClockFace* Face(bool white) const { return white ? FWhite : FBlack; }

  private:
    TClockFace* FWhite;
    TClockFace* FBlack;
};
