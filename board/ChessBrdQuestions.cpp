// Questions asked of the board, answered by announcements.

#include <QKeyEvent>

#include "Announcer.h"
#include "ChessBrd.h"
#include "QuestionKeys.h"

QString TChessBrd::Answer(TBoardQuestion question, int arg) const {
    std::string answer;
    switch (question) {
    case TBoardQuestion::LastMove:
        answer = LastMoveAnswer(*this);
        break;
    case TBoardQuestion::Turn:
        answer = TurnAnswer(*this);
        break;
    case TBoardQuestion::Clock:
        return OnAskClock ? OnAskClock(const_cast<TChessBrd*>(this)) : QStringLiteral("No clock");
    case TBoardQuestion::Pieces:
        answer = PiecesAnswer(*this, char(arg));
        break;
    case TBoardQuestion::Rank:
        answer = RankAnswer(*this, arg);
        break;
    case TBoardQuestion::File:
        answer = FileAnswer(*this, arg);
        break;
    case TBoardQuestion::Attackers:
        answer = AttackersAnswer(*this, FFocusSquare != None ? FFocusSquare : E2);
        break;
    case TBoardQuestion::Moves:
        answer = MovesAnswer(*this, FFocusSquare != None ? FFocusSquare : E2);
        break;
    }
    return QString::fromStdString(answer);
}

void TChessBrd::Ask(TBoardQuestion question, int arg) {
    Announce(Answer(question, arg));
}

void TChessBrd::Announce(const QString& text) {
    if (text.isEmpty()) return;
    TAnnouncer::Say(this, text);
    if (OnAnnounce) OnAnnounce(this, text);
}

bool TChessBrd::AskByKey(QKeyEvent* e) {
    const auto q = QuestionOfKey(e->key(), e->modifiers());
    if (!q) return false;
    Ask(q->Question, q->Arg);
    return true;
}
