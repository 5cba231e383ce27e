#pragma once
// The splash window: the program's banner picture alone on the desktop while the program
// starts, with no frame and cut to the outline of the picture (every pixel of the corner's
// colour is left out of the window's shape).

#include <QImage>
#include <QWidget>

class QLabel;

class TFrmSplash : public QWidget {
    Q_OBJECT

  public:
    // The splash picture compiled into the program.
    static constexpr const char* PicturePath = ":/splash/Splash.bmp";

    // Loads the picture from picturePath (the built-in one by default), sizes and centres
    // the window on the desktop and shapes it. A picture that cannot be loaded leaves an
    // empty window that is never given a shape.
    explicit TFrmSplash(const QString& picturePath = PicturePath, QWidget* parent = nullptr);

    // Shows the window and paints it at once, before any event loop runs.
    void ShowNow();

    // The picture the window shows (null when it could not be loaded).
    const QImage& Picture() const { return Image; }

  private:
    void FormCreate();

    QLabel* ImageFundo;
    QImage Image;
};
