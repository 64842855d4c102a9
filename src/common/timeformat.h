#pragma once

#include <QLocale>
#include <QString>

// The user's long time format as a clock shows it: the locale's long time format without its
// time-zone part (hours, minutes and seconds, with the locale's separators and AM/PM marker).
QString longTimeFormat(const QLocale &locale);

// The separator between hours and minutes in the locale's time format (":" when it has none).
QString timeSeparator(const QLocale &locale);
