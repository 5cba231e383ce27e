#pragma once
// The keys that ask the board questions while it has the keyboard focus, chosen clear of
// its keyboard play (arrows, Enter, Space, Escape) and of the window's one-letter commands
// (H for a hint, F to turn the board round). The one table serves the board's key handling,
// the help and the menus.

#include <QKeySequence>
#include <QList>
#include <QString>

#include <optional>

#include "BoardQuestions.h"

struct TQuestionKey {
    TBoardQuestion Question;
    int Arg;          // the piece letter, the rank or the file (1..8) asked about; else 0
    QKeySequence Key; // the key as a menu shows it
    QString Text;     // what is asked, for menus and the help
    QString Group;    // the menu the question is listed in; empty for the first one
};

// Every question with its key.
const QList<TQuestionKey>& QuestionKeys();
// The question a key asks; none for any other key.
std::optional<TQuestionKey> QuestionOfKey(int key, Qt::KeyboardModifiers modifiers);
