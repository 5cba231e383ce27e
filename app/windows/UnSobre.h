#pragma once
// The about window: a frameless, modal dialog dressed in the main window's skin, with the
// program's credits scrolling upwards in a white viewport, the contact address (a mail
// link) and an OK button. Escape closes it whatever control has the focus.

#include <QDialog>
#include <QPixmap>
#include <QString>

class QLabel;
class QTimer;

namespace Ui {
class TFrmSobre;
}

class TFrmSobre : public QDialog {
    Q_OBJECT

  public:
    // The address behind both contact labels.
    static constexpr const char* ContactAddress = "chesszel@example.org";
    // Top of the credits strip inside its viewport at the first showing, and after every
    // close, which puts the strip back for the next showing.
    static constexpr int FirstTop = 72;
    static constexpr int ReopenTop = 84;

    explicit TFrmSobre(QWidget* parent = nullptr);
    ~TFrmSobre() override;

    // The background picture, stretched over the whole window; the main window passes its
    // skin picture before each showing.
    void SetBackground(const QPixmap& picture);

    // Top of the credits strip inside its viewport.
    int CreditsTop() const;
    // True while the scrolling timer runs.
    bool Scrolling() const;

  public slots:
    // One tick of the scrolling timer: the credits move up one pixel, and once they have
    // left the viewport entirely they come in again from its bottom.
    void Timer1Timer();
    void SpeedButton3Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormShow();
    void FormClose();
    // Returns true when the key closes the window (Escape).
    bool FormKeyDown(int key);
    void Label7Click();
    void Label13Click();
    void OpenMailLink();

    Ui::TFrmSobre* ui;
    QTimer* Timer1;
};
