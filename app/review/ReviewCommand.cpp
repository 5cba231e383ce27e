#include "ReviewCommand.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "GameFiles.h"
#include "ReviewWindow.h"
#include "Unit1.h"

TReviewOffer::TReviewOffer(TForm1& form) : QFrame(&form), FForm(form) {
    setObjectName("ReviewOffer");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // One slim line, so that it fits the window's title strip and covers nothing.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 1, 2, 1);
    layout->setSpacing(4);
    layout->addWidget(new QLabel("Game over. See where it was won and lost?"));
    FReview = new QPushButton("Review game");
    auto* close = new QPushButton("Not now");
    for (QPushButton* button : {FReview, close}) {
        button->setFixedHeight(22);
        layout->addWidget(button);
    }
    connect(FReview, &QPushButton::clicked, this, [this] {
        hide();
        emit Accepted();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(&form, &TForm1::GameEnded, this, [this] {
        Place();
        show();
        raise();
    });
    connect(&form, &TForm1::GameStarted, this, &QWidget::hide);
    hide();
}

// In the middle of the window's title strip, between its title and its buttons.
void TReviewOffer::Place() {
    adjustSize();
    move(std::max(0, (FForm.width() - width()) / 2), 2);
}

TReviewWindow* InstallGameReview(TForm1& form, TGameFiles& files) {
    auto* window = new TReviewWindow(form, files);
    auto* action = new QAction("Review game", &form);
    QObject::connect(action, &QAction::triggered, window, [window] { window->StartReview(); });
    form.AddCommand(action);
    auto* offer = new TReviewOffer(form);
    QObject::connect(offer, &TReviewOffer::Accepted, window, [window] { window->StartReview(); });
    files.AddAnnotator([window](GameRecord& record) { window->Annotate(record); });
    return window;
}
