#include "UniSplash.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>

#include "RegionFromBitmap.h"
#include "ScreenFit.h"

TFrmSplash::TFrmSplash(const QString& picturePath, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      ImageFundo(new QLabel(this)), Image(picturePath) {
    setObjectName("FrmSplash");
    setWindowTitle("Chess Zel");
    setAttribute(Qt::WA_DeleteOnClose, false);
    ImageFundo->setObjectName("ImageFundo");
    ImageFundo->move(0, 0);
    if (!Image.isNull()) {
        ImageFundo->setPixmap(QPixmap::fromImage(Image));
        ImageFundo->resize(Image.size());
    }
    FormCreate();
}

void TFrmSplash::FormCreate() {
    // Sized to the picture and centred on the desktop.
    setFixedSize(Image.isNull() ? QSize(1, 1) : Image.size());
    FitOnScreen(this);

    // The corner pixel's colour is the one left out of the window's shape. Without a
    // picture there is no shape and the window stays rectangular.
    if (Image.isNull()) return;
    if (const auto region = RegionFromBitmap(Image, Image.pixel(0, 0))) {
        setMask(*region);
        repaint();
    }
}

void TFrmSplash::ShowNow() {
    show();
    raise();
    repaint();
    // Let the window system map and draw the window before start-up goes on.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
