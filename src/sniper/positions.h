#pragma once

#include <QString>

// The settings file nastaveni.ini with the three screen positions of the bid in section
// "pozice". It is read and written at every use; nothing of it is kept in memory.

struct ScreenPoint
{
    qint32 x = 0;
    qint32 y = 0;
    friend bool operator==(const ScreenPoint &, const ScreenPoint &) = default;
};

// The file's full path in the given folder (the program's own folder).
QString settingsPath(const QString &folder);

// The keys of position 1, 2 or 3: prihoz-x / prihoz-y, prihoz-x-2 / prihoz-y-2, ...
QString positionXKey(int position);
QString positionYKey(int position);

// An integer of section "pozice"; 0 when the file, the key or an integer is missing.
qint32 readSetting(const QString &path, const QString &key);

// Position 1, 2 or 3, read from the file now.
ScreenPoint readPosition(const QString &path, int position);

// Stores position 1, 2 or 3 (X, then Y). On failure returns false with the reason in error and
// leaves the file as it was.
bool writePosition(const QString &path, int position, ScreenPoint point, QString *error);
