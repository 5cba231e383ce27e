#include "DragArea.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

bool DragAreaHitTest(QPoint windowTopLeft, QRect area, std::int16_t x, std::int16_t y) {
    const int left = windowTopLeft.x() + area.left();
    const int top = windowTopLeft.y() + area.top();
    return left <= x && x <= left + area.width() && top <= y && y <= top + area.height();
}

namespace {

// Watches the window's own presses (those no child took) and hands the ones inside the area
// to the window system as the start of a move.
class TDragAreaFilter : public QObject {
  public:
    TDragAreaFilter(QWidget* window, QRect area) : QObject(window), FWindow(window), FArea(area) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != FWindow || e->type() != QEvent::MouseButtonPress) return false;
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() != Qt::LeftButton) return false;
        const QPoint global = me->globalPosition().toPoint();
        const QPoint origin = FWindow->mapToGlobal(QPoint(0, 0));
        if (!DragAreaHitTest(origin, FArea, std::int16_t(global.x()), std::int16_t(global.y())))
            return false;
        if (QWindow* handle = FWindow->window()->windowHandle()) handle->startSystemMove();
        return true;
    }

  private:
    QWidget* FWindow;
    QRect FArea;
};

} // namespace

void InstallDragArea(QWidget* window, QRect area) {
    window->installEventFilter(new TDragAreaFilter(window, area));
}
