#pragma once

#include <QLocale>
#include <QString>

// The user's long time format as a clock shows it: the locale's long time format without its
// time-zone part (hours, minutes and seconds, with the locale's separators and AM/PM marker).
QString longTimeFormat(const QLocale &locale);

// The locale's time separator: what its short time format puts between hours and minutes.
QString timeSeparator(const QLocale &locale);
