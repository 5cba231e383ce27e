#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// What a window manager usually adds around a framed window: a title bar and thin borders.
// A shown window tells its own frame; one not shown yet gets this allowance.
constexpr QSize kFrameAllowance(8, 36);

QSize FrameExtra(const QWidget* window) {
    if (window->windowFlags() & Qt::FramelessWindowHint) return {};
    if (window->isVisible()) return window->frameGeometry().size() - window->size();
    return kFrameAllowance;
}

} // namespace

QRect FitInto(const QRect& available, QSize frame, QPoint centre) {
    const QSize size = frame.boundedTo(available.size());
    QRect r(QPoint(), size);
    r.moveCenter(centre);
    r.moveLeft(std::clamp(r.left(), available.left(), available.right() - size.width() + 1));
    r.moveTop(std::clamp(r.top(), available.top(), available.bottom() - size.height() + 1));
    return r;
}

void FitOnScreen(QWidget* window, const QWidget* owner) {
    const QScreen* screen = owner ? owner->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    const QSize extra = FrameExtra(window);
    const QPoint centre = owner && owner->isVisible()
                              ? owner->mapToGlobal(owner->rect().center())
                              : available.center();
    const QRect frame = FitInto(available, window->size() + extra, centre);
    window->resize(frame.size() - extra);
    // A window's position is that of its frame.
    window->move(frame.topLeft());
}

void FitOnScreen(QWidget* window, const TScreenPlace& place) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect whole = screen->geometry();
    const QSize extra = FrameExtra(window);
    const QSize size = window->size() + extra;
    const QRect placed(whole.topLeft() + place(whole.size(), size), size);
    const QRect frame = FitInto(screen->availableGeometry(), size, placed.center());
    window->resize(frame.size() - extra);
    window->move(frame.topLeft());
}
