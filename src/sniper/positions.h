#pragma once

#include "sniper/pagetarget.h"

#include <QPoint>
#include <QString>

#include <optional>

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

// Where on the page a position was taught, kept beside its screen pixel: the point in the
// browser view and how far the page was scrolled, so that the bid can find the same spot of the
// page however the window or the page have moved since.
struct PagePlace
{
    QPoint viewPoint;   // in the view's own pixels
    QPoint scroll;      // the page's scroll offset, CSS pixels
    friend bool operator==(const PagePlace &, const PagePlace &) = default;
};

struct TaughtPoint
{
    bool taught = false;               // both screen keys are in the file
    ScreenPoint screen;
    std::optional<PagePlace> place;    // missing in files written before places were kept
    PageElement element;               // what the point lay on when taught (tag empty: unknown)
};

// Position 1, 2 or 3 with all that was stored when it was taught.
TaughtPoint readTaughtPoint(const QString &path, int position);

// Stores position 1, 2 or 3 whole: the screen pixel under the keys of old, the place on the
// page and what lay there. On failure returns false with the reason in error.
bool writeTaughtPoint(const QString &path, int position, ScreenPoint screen, const PagePlace &place,
                      const PageElement &element, QString *error);
