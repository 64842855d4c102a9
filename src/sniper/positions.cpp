#include "sniper/positions.h"

#include "sniper/inifile.h"
#include "sniper/integertext.h"

#include <QDir>

namespace {
const QString section = QStringLiteral("pozice");

QString suffix(int position)
{
    return position <= 1 ? QString() : QStringLiteral("-%1").arg(position);
}
} // namespace

QString settingsPath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("nastaveni.ini"));
}

QString positionXKey(int position)
{
    return QStringLiteral("prihoz-x") + suffix(position);
}

QString positionYKey(int position)
{
    return QStringLiteral("prihoz-y") + suffix(position);
}

qint32 readSetting(const QString &path, const QString &key)
{
    return parseInt32(ini::readString(path, section, key)).value_or(0);
}

ScreenPoint readPosition(const QString &path, int position)
{
    const qint32 x = readSetting(path, positionXKey(position));
    const qint32 y = readSetting(path, positionYKey(position));
    return {x, y};
}

bool writePosition(const QString &path, int position, ScreenPoint point, QString *error)
{
    return ini::writeStrings(path, section,
                             {{positionXKey(position), QString::number(point.x)},
                              {positionYKey(position), QString::number(point.y)}},
                             error);
}
