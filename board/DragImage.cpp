#include "DragImage.h"

#include <QPainter>

TDragImage::TDragImage(QWidget* host) : QWidget(host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TDragImage::SetImage(const QImage& image) {
    FImage = image;
    // A picture with a device pixel ratio above 1 takes its logical size on the screen.
    resize(image.isNull() ? QSize(1, 1) : image.deviceIndependentSize().toSize());
    update();
}

void TDragImage::BeginDrag(QPoint pos) {
    FActive = true;
    move(pos);
    raise();
}

void TDragImage::DragMove(QPoint pos, bool synchronous) {
    const QRect before = geometry();
    move(pos);
    if (!synchronous || !isVisible() || parentWidget() == nullptr) return;
    // Repainting the host over both places flushes the board below and the overlay on top.
    parentWidget()->repaint(QRegion(before) + QRegion(geometry()));
}

void TDragImage::DragShow(bool show) {
    if (show) {
        if (!isVisible()) {
            raise();
            QWidget::show();
        }
    } else {
        hide();
    }
}

void TDragImage::EndDrag() {
    hide();
    FActive = false;
}

void TDragImage::paintEvent(QPaintEvent*) {
    if (FImage.isNull()) return;
    QPainter p(this);
    if (FImage.devicePixelRatio() > 1 && FImage.devicePixelRatio() != devicePixelRatioF())
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(0, 0, FImage);
}
