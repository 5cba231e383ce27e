#pragma once
// The main board's questions in the window: the context menu lists them with their keys,
// the board's clock question is answered from the game's start time, and every answer also
// goes to say() (the program's own speech, which decides whether to speak).

#include <QString>
#include <QTime>

#include <functional>

class TForm1;

void InstallBoardQuestions(TForm1& form, std::function<void(const QString&)> say);

// The time since a game started at the time of day start (in the long time format) until
// now, in words: "3 minutes 12 seconds", "1 hour 0 minutes 5 seconds".
QString GameTimeInWords(const QString& start, const QTime& now);
