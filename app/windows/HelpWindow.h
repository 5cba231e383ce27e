#pragma once
// The program's help viewer: a window of its own that shows the help file (HTML) with its
// links, a Back and a Contents button. One window serves every request; asking for help
// again brings it to the front on the file's first page.

#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr const char* Title = "Chess Zel Help";

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the file's first page; the history starts afresh.
    void Open(const QString& helpFilePath);

    QTextBrowser* Browser() const { return Text; }
    QToolButton* BackButton() const { return Back; }

  private:
    QTextBrowser* Text;
    QToolButton* Back;
    QToolButton* Home;
    QUrl FirstPage;
};

// Opens the help file in the help window (made on the first call as a window of its own that
// parent owns; without a parent the caller deletes it) and brings it to the front. A missing file
// is not reported: nothing opens and the result is false.
bool ShowHelp(const QString& helpFilePath, QWidget* parent);
