#include "sniper/countdown.h"

#include "common/integertext.h"
#include "common/rounding.h"

#include <cmath>

namespace {

constexpr double msPerDay = 86400000.0;
constexpr qint64 msPerDayInt = 86400000;
const QDate epoch(1899, 12, 30);

// The time of day of a moment, in whole milliseconds.
qint64 timeOfDayMs(double days)
{
    const double fraction = days - std::floor(days);
    const qint64 ms = qint64(roundHalfEven(fraction * msPerDay));
    return ms >= msPerDayInt ? 0 : ms;
}

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

double toDays(const QDateTime &moment)
{
    return double(epoch.daysTo(moment.date())) + moment.time().msecsSinceStartOfDay() / msPerDay;
}

QDateTime fromDays(double days)
{
    qint64 day = qint64(std::floor(days));
    qint64 ms = qint64(roundHalfEven((days - double(day)) * msPerDay));
    if (ms >= msPerDayInt) {
        ++day;
        ms -= msPerDayInt;
    }
    return QDateTime(epoch.addDays(day), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

bool isLaterThan(double a, double b)
{
    return std::abs(a - b) >= 1.0 / msPerDay && a >= b;
}

qint64 secondsBetween(double a, double b)
{
    // Whole milliseconds first: two moments 61 s apart are 60.99999... s apart in days.
    return qint64(roundHalfEven(std::abs(a - b) * msPerDay)) / 1000;
}

ArmedTarget armingTarget(double now, double picker, qint32 seconds, bool tomorrowTicked)
{
    const double moved = (picker * 86400.0 - (double(seconds) + 4.0)) / 86400.0;
    ArmedTarget out;
    out.target = std::floor(now) + double(timeOfDayMs(moved)) / msPerDay;
    // An end within seconds + 4 after midnight puts the moment on the evening before the end's
    // day: for an end tomorrow, that evening is today's.
    const bool eveningBefore = std::floor(moved) < std::floor(picker);
    if (tomorrowTicked && !eveningBefore)
        out.target += 1.0;
    out.tomorrowTicked = tomorrowTicked;
    if (isLaterThan(now, out.target)) {
        out.tomorrowTicked = true;
        out.target += 1.0;
    }
    return out;
}

QString timeLeftText(double now, double target, const QString &separator)
{
    const qint64 ms = qint64(roundHalfEven(std::abs(now - target) * msPerDay)) % msPerDayInt;
    const qint64 seconds = ms / 1000;
    return twoDigits(seconds / 3600) + separator + twoDigits(seconds / 60 % 60) + separator + twoDigits(seconds % 60);
}

double nowPlus15Seconds(double now, double picker)
{
    const double later = (now * 86400.0 + 15.0) / 86400.0;
    return std::floor(picker) + double(timeOfDayMs(later)) / msPerDay;
}

int nextTickMs(double now, double target, int tickMs)
{
    // One millisecond past the target, as "later than" needs.
    const double untilLater = std::ceil((target - now) * msPerDay) + 1;
    if (untilLater >= tickMs)
        return tickMs;
    return untilLater < 1 ? 1 : int(untilLater);
}

std::optional<qint32> armingSeconds(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    const std::optional<qint32> seconds = parseInt32(QStringView(text).mid(start));
    if (!seconds || *seconds < fewestSeconds || *seconds > mostSeconds)
        return std::nullopt;
    return seconds;
}
