#pragma once
// TDragImage is the floating piece image of a drag or an animation: a child widget of the
// board's parent window that shows one picture above everything else there, ignores the
// mouse and can be moved without disturbing what is drawn below it. Its "active" flag is
// set while a drag or an animation owns it.

#include <QImage>
#include <QPoint>
#include <QWidget>

class TDragImage : public QWidget {
  public:
    explicit TDragImage(QWidget* host);

    // Chooses the picture; its top-left corner is the hot spot. The overlay takes the
    // picture's logical size, so a piece image of a 2x set stays sharp and as large as at 1x.
    void SetImage(const QImage& image);
    // Activates the overlay at a point of the host, on top of the host's other children.
    void BeginDrag(QPoint pos);
    // Moves the overlay's top-left corner to a point of the host. A synchronous move paints
    // the uncovered and covered areas at once, for callers that process no events.
    void DragMove(QPoint pos, bool synchronous = false);
    void DragShow(bool show);
    // Hides the overlay and clears the active flag.
    void EndDrag();
    bool Active() const { return FActive; }
    QPoint Position() const { return pos(); }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QImage FImage;
    bool FActive = false;
};
