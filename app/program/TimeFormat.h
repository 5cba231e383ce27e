#pragma once
// The program's long time format: the locale's, without the time-zone name Qt adds to it,
// for the clock, the game time and the print job's title.

#include <QString>

QString LongTimeFormat();
