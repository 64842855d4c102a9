#include "sniper/positions.h"

#include "sniper/inifile.h"
#include "common/integertext.h"

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

namespace {
QString key(const char *name, int position)
{
    return QLatin1String(name) + suffix(position);
}

std::optional<qint32> readInt(const QString &path, const QString &name)
{
    return parseInt32(ini::readString(path, section, name));
}

// A value kept on one line, as the file holds one line per key.
QString oneLine(const QString &text)
{
    return text.simplified();
}
} // namespace

TaughtPoint readTaughtPoint(const QString &path, int position)
{
    TaughtPoint out;
    out.taught = !ini::readString(path, section, positionXKey(position)).isEmpty()
        && !ini::readString(path, section, positionYKey(position)).isEmpty();
    out.screen = readPosition(path, position);
    const auto vx = readInt(path, key("prihoz-pohled-x", position));
    const auto vy = readInt(path, key("prihoz-pohled-y", position));
    if (vx && vy) {
        const auto sx = readInt(path, key("prihoz-posun-x", position));
        const auto sy = readInt(path, key("prihoz-posun-y", position));
        out.place = PagePlace{QPoint(*vx, *vy), QPoint(sx.value_or(0), sy.value_or(0))};
    }
    out.element.tag = ini::readString(path, section, key("prihoz-prvek", position));
    out.element.id = ini::readString(path, section, key("prihoz-prvek-id", position));
    out.element.name = ini::readString(path, section, key("prihoz-prvek-jmeno", position));
    out.element.type = ini::readString(path, section, key("prihoz-prvek-typ", position));
    out.element.text = ini::readString(path, section, key("prihoz-prvek-text", position));
    return out;
}

bool writeTaughtPoint(const QString &path, int position, ScreenPoint screen, const PagePlace &place,
                      const PageElement &element, QString *error)
{
    return ini::writeStrings(path, section,
                             {{positionXKey(position), QString::number(screen.x)},
                              {positionYKey(position), QString::number(screen.y)},
                              {key("prihoz-pohled-x", position), QString::number(place.viewPoint.x())},
                              {key("prihoz-pohled-y", position), QString::number(place.viewPoint.y())},
                              {key("prihoz-posun-x", position), QString::number(place.scroll.x())},
                              {key("prihoz-posun-y", position), QString::number(place.scroll.y())},
                              {key("prihoz-prvek", position), oneLine(element.tag)},
                              {key("prihoz-prvek-id", position), oneLine(element.id)},
                              {key("prihoz-prvek-jmeno", position), oneLine(element.name)},
                              {key("prihoz-prvek-typ", position), oneLine(element.type)},
                              {key("prihoz-prvek-text", position), oneLine(element.text.left(40))}},
                             error);
}
