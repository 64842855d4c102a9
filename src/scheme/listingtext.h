#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>

// Texts of the folder listing and the not-found page.
namespace listingtext {

// A size as the listing shows it: "512 B" below 1024 bytes, then kB, MB, GB, TB and PB with one
// decimal in the locale's notation ("1,5 kB" in Czech), and "big" from 1024^6 bytes on.
QString sizeText(qint64 size, const QLocale &locale);

// A modification time in local time: the locale's short date, a space and its long time
// (without a time-zone name); at local midnight the date alone. Empty for an invalid time.
QString dateText(const QDateTime &lastWrite, const QLocale &locale);

// Text for a double-quoted string inside an inline script, as ASCII: a quote or backslash gets
// a backslash before it; every character outside printable ASCII, and "<", ">" and "&", is
// written as \uXXXX, so that no name can end the string or the script element it stands in.
QByteArray escapeScriptString(QStringView text);

} // namespace listingtext
