#pragma once
// The message line says that the computer is thinking once its move has taken longer than
// half a second, whichever engine plays: the built-in one or a program asked through the
// board's host-engine hook. What the line said before comes back when the thinking stops
// without a move; the computer's move writes the line afresh.

class TForm1;

void ShowComputerThinking(TForm1& form);
