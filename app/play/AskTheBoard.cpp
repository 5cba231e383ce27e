#include "AskTheBoard.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QTime>

#include "ChessBrd.h"
#include "QuestionKeys.h"
#include "TimeFormat.h"
#include "Unit1.h"

namespace {

QString Count(int n, const char* unit) {
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(unit)).arg(n == 1 ? "" : "s");
}

} // namespace

QString GameTimeInWords(const QString& start, const QTime& now) {
    const QTime begun = QLocale().toTime(start, LongTimeFormat());
    if (!begun.isValid() || !now.isValid()) return {};
    // A game that began before midnight goes on into the next day.
    const int secs = (begun.secsTo(now) + 86400) % 86400;
    QString s;
    if (secs >= 3600) s = Count(secs / 3600, "hour") + ' ';
    return s + Count(secs / 60 % 60, "minute") + ' ' + Count(secs % 60, "second");
}

void InstallBoardQuestions(TForm1& form, std::function<void(const QString&)> say) {
    TChessBrd* board = form.Board();
    if (board == nullptr) return;
    board->OnAskClock = [&form](TChessBrd*) {
        const QString now = QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
        if (form.GameStartTime.isEmpty()) return QStringLiteral("No game yet, the time is ") + now;
        return QStringLiteral("Game time ") +
               GameTimeInWords(form.GameStartTime, QTime::currentTime()) +
               QStringLiteral(", the time is ") + now;
    };
    auto before = board->OnAnnounce;
    board->OnAnnounce = [say, before](TChessBrd* b, const QString& text) {
        if (before) before(b, text);
        if (say) say(text);
    };

    // The menu shows the keys; the board itself takes them while it has the focus.
    auto* menu = new QMenu(QStringLiteral("Ask the board"), &form);
    QMap<QString, QMenu*> groups;
    for (const auto& q : QuestionKeys()) {
        QMenu* into = menu;
        if (!q.Group.isEmpty()) {
            if (!groups.contains(q.Group)) groups[q.Group] = menu->addMenu(q.Group);
            into = groups[q.Group];
        }
        QAction* a = into->addAction(q.Text + '\t' + q.Key.toString(QKeySequence::NativeText));
        const TBoardQuestion question = q.Question;
        const int arg = q.Arg;
        QObject::connect(a, &QAction::triggered, board,
                         [board, question, arg] { board->Ask(question, arg); });
    }
    auto* ask = menu->menuAction();
    ask->setObjectName("AskTheBoard");
    form.AddCommand(ask);
}
