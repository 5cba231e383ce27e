#pragma once
// The game review's place in the main window: "Review game" in the context menu, an offer
// to review that appears when a game ends (a line with a button, which blocks nothing and
// goes with the next game), and the review's notes in every record the game files give out.

#include <QFrame>

class QPushButton;
class TForm1;
class TGameFiles;
class TReviewWindow;

// The offer shown in the main window's title strip when a game has ended.
class TReviewOffer : public QFrame {
    Q_OBJECT

  public:
    explicit TReviewOffer(TForm1& form);
    QPushButton* ReviewButton() const { return FReview; }

  signals:
    void Accepted();

  private:
    void Place();
    TForm1& FForm;
    QPushButton* FReview;
};

// Creates the review window, its command and its offer, and the annotator.
TReviewWindow* InstallGameReview(TForm1& form, TGameFiles& files);
