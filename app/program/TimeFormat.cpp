#include "TimeFormat.h"

#include <QLocale>

QString LongTimeFormat() {
    QString f = QLocale().timeFormat(QLocale::LongFormat);
    f.remove(QLatin1Char('t'));
    return f.trimmed();
}
