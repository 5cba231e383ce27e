#pragma once
// The program's own choices beyond the settings file "Kavrel.ini" (which keeps exactly its
// own keys) live in chesszel.conf beside it, through QSettings.

#include <QSettings>

#include <memory>

std::unique_ptr<QSettings> OpenProgramSettings();
