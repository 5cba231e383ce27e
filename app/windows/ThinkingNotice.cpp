#include "ThinkingNotice.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <string>

#include "ChessBrd.h"
#include "Unit1.h"

namespace {

constexpr int kAfterMs = 500;
constexpr int kLookEveryMs = 100;

class TThinkingNotice : public QObject {
  public:
    explicit TThinkingNotice(TForm1& form)
        : QObject(&form), FBoard(form.Board()), FForm(&form) {
        connect(&FLook, &QTimer::timeout, this, &TThinkingNotice::Look);
        FLook.start(kLookEveryMs);
    }

  private:
    void Look() {
        const bool thinking = FBoard && FForm && FBoard->ComputerThinking();
        // Each of the computer's moves is timed from its own position.
        const std::string position =
            thinking ? FBoard->Position() + (FBoard->WhiteToMove() ? "w" : "b") : std::string();
        if (!thinking || position != FPosition) {
            Restore();
            FPosition = position;
            FSeen = thinking ? FForm->MessageLine() : QString();
            FSince.start();
            return;
        }
        const QString text = FForm->MessageLine();
        if (text == FShown) return;
        // Whatever is written on the line meanwhile (say, a refused move) stays there for
        // half a second too.
        if (text != FSeen) {
            FSeen = text;
            FShown.clear();
            FSince.start();
            return;
        }
        if (FSince.elapsed() >= kAfterMs) Show(text);
    }

    void Show(const QString& text) {
        FSaved = text;
        FShown = FSeen = kText;
        FForm->SetMessageLine(FShown);
    }

    // The line says again what it said, unless something else has been written on it.
    void Restore() {
        if (FForm && !FShown.isEmpty() && FForm->MessageLine() == FShown)
            FForm->SetMessageLine(FSaved);
        FShown.clear();
    }

    static constexpr const char* kText = "The computer thinks...";
    QPointer<TChessBrd> FBoard;
    QPointer<TForm1> FForm; // its message line
    QTimer FLook;
    QElapsedTimer FSince;
    std::string FPosition;
    QString FSeen;  // the line when last looked at
    QString FSaved; // the line before the notice
    QString FShown; // the notice, while it is on the line
};

} // namespace

void ShowComputerThinking(TForm1& form) {
    if (form.Board() != nullptr) new TThinkingNotice(form);
}
