#include "HelpWindow.h"

#include "ScreenFit.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), Text(new QTextBrowser(this)), Back(new QToolButton(this)),
      Home(new QToolButton(this)) {
    setObjectName("HelpWindow");
    setWindowTitle(Title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(640, 560);

    Back->setText("&Back");
    Back->setToolTip("Back to the page shown before");
    Back->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    Back->setEnabled(false);
    Home->setText("&Contents");
    Home->setToolTip("The first page of the help");
    Home->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Home->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));

    Text->setObjectName("HelpText");
    Text->setAccessibleName("Help text");
    Text->setOpenExternalLinks(true); // mail and web links go to the desktop's programs
    Text->setOpenLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Back);
    buttons->addWidget(Home);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(Text, 1);

    connect(Back, &QToolButton::clicked, Text, &QTextBrowser::backward);
    connect(Home, &QToolButton::clicked, this,
            [this] { Text->setSource(FirstPage, QTextDocument::HtmlResource); });
    connect(Text, &QTextBrowser::backwardAvailable, Back, &QToolButton::setEnabled);
}

void HelpWindow::Open(const QString& helpFilePath) {
    // The file is HTML whatever its name ends with.
    FirstPage = QUrl::fromLocalFile(QFileInfo(helpFilePath).absoluteFilePath());
    Text->setSource(FirstPage, QTextDocument::HtmlResource);
    Text->clearHistory();
}

bool ShowHelp(const QString& helpFilePath, QWidget* parent) {
    if (!QFileInfo(helpFilePath).isFile()) return false;
    // One help window for each owner: the one made before is used again.
    HelpWindow* window = nullptr;
    if (parent) {
        window = parent->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    } else {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* help = qobject_cast<HelpWindow*>(w); help && !help->parentWidget())
                window = help;
    }
    if (!window) window = new HelpWindow(parent);
    window->Open(helpFilePath);
    if (!window->isVisible()) FitOnScreen(window, parent);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}
