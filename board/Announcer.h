#pragma once
// TAnnouncer says short phrases to assistive technology without taking the keyboard focus
// from anything: it is a notice (accessible role Notification) that draws nothing, takes
// neither focus nor mouse, and is shown anew with each phrase, which is how screen readers
// hear notices appear. A window has one, made by the first phrase said in it.

#include <QString>
#include <QWidget>

class QAccessibleInterface;

class TAnnouncer : public QWidget {
    Q_OBJECT

  public:
    // Says text through the announcer of from's window.
    static void Say(QWidget* from, const QString& text);
    // The announcer of window, made when it has none yet.
    static TAnnouncer* Of(QWidget* window);
    // The last phrase said; the notice's accessible name.
    QString Text() const { return FText; }

  protected:
    void paintEvent(QPaintEvent*) override {}

  private:
    explicit TAnnouncer(QWidget* window);
    void Tell(const QString& text);
    QString FText;
};
