#include "sniper/timeformat.h"

QString longTimeFormat(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.simplified();
}

QString timeSeparator(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    qsizetype i = format.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive);
    if (i < 0)
        return QStringLiteral(":");
    while (i < format.size() && format.at(i).toLower() == QLatin1Char('h'))
        ++i;
    QString separator;
    while (i < format.size() && format.at(i) != QLatin1Char('m') && format.at(i) != QLatin1Char('\''))
        separator += format.at(i++);
    return separator.isEmpty() ? QStringLiteral(":") : separator;
}
