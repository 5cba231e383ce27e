#include "ProgramSettings.h"

#include "AppPaths.h"

std::unique_ptr<QSettings> OpenProgramSettings() {
    const QString file = QString::fromStdString(paths::ConfigFolder()) + "chesszel.conf";
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}
