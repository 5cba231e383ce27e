#include "EvalGraph.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "MoveNote.h"

namespace {

constexpr int kMargin = 4;

QColor MarkColour(int mark) {
    switch (mark) {
    case MarkBlunder:
        return QColor(210, 30, 30);
    case MarkMistake:
        return QColor(235, 130, 20);
    case MarkDubious:
        return QColor(220, 200, 40);
    default:
        return QColor();
    }
}

} // namespace

TEvalGraph::TEvalGraph(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(70);
    setCursor(Qt::PointingHandCursor);
    setToolTip("White's chances through the game; click to go to a move");
}

void TEvalGraph::SetValues(std::vector<double> scores, std::vector<int> marks) {
    FScores = std::move(scores);
    FMarks = std::move(marks);
    FMarks.resize(FScores.size(), MarkNone);
    if (FSelected >= Count()) FSelected = -1;
    update();
}

void TEvalGraph::SetSelected(int index) {
    FSelected = index >= 0 && index < Count() ? index : -1;
    update();
}

int TEvalGraph::XOf(int index) const {
    const int w = width() - 2 * kMargin;
    if (Count() < 2) return kMargin;
    return kMargin + int(std::lround(double(index) * w / (Count() - 1)));
}

int TEvalGraph::IndexAt(int x) const {
    if (Count() < 2) return Count() - 1;
    const double w = width() - 2 * kMargin;
    const double at = double(x - kMargin) * (Count() - 1) / w;
    return std::clamp(int(std::lround(at)), 0, Count() - 1);
}

void TEvalGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF area = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    // Black's share below the curve, White's above it, as a board's two colours.
    p.fillRect(rect(), QColor(60, 60, 60));
    const auto y = [&area](double score) { return area.bottom() - score * area.height(); };
    if (Count() > 0) {
        QPainterPath white;
        white.moveTo(XOf(0), area.bottom());
        for (int i = 0; i < Count(); ++i)
            white.lineTo(XOf(i), y(FScores[size_t(i)]));
        white.lineTo(XOf(Count() - 1), area.bottom());
        white.closeSubpath();
        p.fillPath(white, QColor(235, 235, 230));
    }
    p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    p.drawLine(QPointF(area.left(), y(0.5)), QPointF(area.right(), y(0.5)));
    if (FSelected >= 0) {
        p.setPen(QPen(QColor(40, 110, 230), 2));
        p.drawLine(QPointF(XOf(FSelected), area.top()), QPointF(XOf(FSelected), area.bottom()));
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < Count(); ++i) {
        const QColor c = MarkColour(FMarks[size_t(i)]);
        if (!c.isValid()) continue;
        p.setBrush(c);
        p.drawEllipse(QPointF(XOf(i), y(FScores[size_t(i)])), 3.5, 3.5);
    }
}

void TEvalGraph::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || Count() == 0) return;
    const int index = IndexAt(int(e->position().x()));
    SetSelected(index);
    emit Clicked(index);
}
