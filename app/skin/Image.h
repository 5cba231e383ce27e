#pragma once
// TImage is a picture component: it shows its picture stretched over its bounds, the same
// whether its panel is enabled or not (a plain label greys its picture on a disabled panel).
// Presses go through it to the window below.

#include <QLabel>
#include <QPainter>

class TImage : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent*) override {
        const QPixmap picture = pixmap();
        if (picture.isNull()) return;
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), picture);
    }
};
