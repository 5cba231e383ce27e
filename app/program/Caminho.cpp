#include "Caminho.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

std::string Caminho() {
    const QString own = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(own + "/../share/chesszel");
    const QString folder = QFileInfo(installed).isDir() ? installed : own;
    return QDir(folder).absolutePath().toStdString() + '/';
}
