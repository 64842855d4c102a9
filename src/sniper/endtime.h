#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

// Reading the auction's end time out of an item page's HTML source: a plain text search for the
// site's markup before the time, then fixed offsets.

// The markup that precedes the end time on an item page, character for character.
inline constexpr QStringView endTimeMarker =
    u"<span _ngcontent-aukro-app-universal-c265=\"\" class=\"text-bold ng-star-inserted\">";

// The eight characters that should hold the end time: they begin two characters before the
// first colon within the 300 characters from the marker's position + 20 (the marker's position
// is 1-based and 0 when the marker is absent).
QString endTimeText(QStringView source);

// A time of day as a user's system reads one: hours, optional minutes and optional seconds,
// each after separator, blanks allowed around the parts, an optional AM or PM marker (the
// locale's texts or "AM"/"PM"), the whole text used up. Empty when the text is not a time.
struct DayPeriodTexts {
    QString am = QStringLiteral("AM");
    QString pm = QStringLiteral("PM");
};
std::optional<QTime> parseTimeOfDay(QStringView text, const QString &separator,
                                    const DayPeriodTexts &periods = {});

// The end time of an item page's source as "načíst čas" reads it, by the locale's time
// separator and day-period texts; nothing when the page does not show one.
std::optional<QTime> endTimeOfPage(QStringView source, const QLocale &locale);
