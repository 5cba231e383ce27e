#include "ClockPanel.h"

#include <QPainter>

#include "GameClock.h"

TClockFace::TClockFace(bool white, QWidget* parent) : TInfoLine(parent), FWhite(white) {
    setAccessibleName(white ? "White's clock" : "Black's clock");
    setAlignment(Qt::AlignCenter);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

void TClockFace::Show(std::int64_t millis, bool running, bool flagged) {
    const QString time = QString::fromStdString(ClockText(millis));
    const QString state = flagged   ? QStringLiteral(", flag fallen")
                          : running ? QStringLiteral(", running")
                                    : QString();
    if (running == FRunning && flagged == FFlagged && text() == time) return;
    FRunning = running;
    FFlagged = flagged;
    setText(time);
    setAccessibleDescription(time + state);
    update();
}

void TClockFace::SetAccent(const QColor& c) {
    if (c == FAccent) return;
    FAccent = c;
    update();
}

void TClockFace::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    // The face: lit while it runs, red once its flag has fallen, dark otherwise.
    const QColor fill = FFlagged   ? QColor(0xB0, 0x10, 0x10)
                        : FRunning ? FAccent
                                   : QColor(0x18, 0x18, 0x18);
    p.setPen(QPen(FRunning || FFlagged ? Qt::white : QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 3, 3);
    // The side's disc.
    const qreal d = height() - 8;
    const QRectF disc(5, (height() - d) / 2, d, d);
    p.setPen(QPen(FWhite ? Qt::black : Qt::white, 1));
    p.setBrush(FWhite ? Qt::white : Qt::black);
    p.drawEllipse(disc);
    // The time, to the right of the disc.
    p.setFont(font());
    p.setPen(Qt::white);
    p.drawText(QRectF(disc.right() + 2, 0, width() - disc.right() - 4, height()), Qt::AlignCenter,
               text());
}

TClockPanel::TClockPanel(QWidget* parent)
    : QWidget(parent), FWhite(new TClockFace(true, this)), FBlack(new TClockFace(false, this)) {
    setObjectName("ClockPanel");
    FWhite->setObjectName("WhiteClock");
    FBlack->setObjectName("BlackClock");
    resize(153, 20);
}

void TClockPanel::Show(std::int64_t whiteMillis, std::int64_t blackMillis, TSide running,
                       TSide flagged) {
    const int half = (width() - 3) / 2;
    FWhite->setGeometry(0, 0, half, height());
    FBlack->setGeometry(width() - half, 0, half, height());
    FWhite->Show(whiteMillis, running == TSide::White, flagged == TSide::White);
    FBlack->Show(blackMillis, running == TSide::Black, flagged == TSide::Black);
}

void TClockPanel::SetAccent(const QColor& c) {
    FWhite->SetAccent(c);
    FBlack->SetAccent(c);
}
