#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Moments as the countdown keeps them: whole days since 30 December 1899 plus the fraction of
// the day, local time (1.5 is 31 December 1899, noon).

double toDays(const QDateTime &moment);
QDateTime fromDays(double days);   // to the nearest millisecond

// a is later than b: at least one millisecond apart and a not earlier. Closer counts as equal.
bool isLaterThan(double a, double b);

// Whole seconds between a and b, either order: the distance to the millisecond, cut towards zero.
qint64 secondsBetween(double a, double b);

struct ArmedTarget
{
    double target = 0;          // the moment of the bid
    bool tomorrowTicked = false; // the "zítra" box, ticked or as it was
};

// The moment of the bid: seconds + 4 before the picker's time of day, on now's date; when the
// box "zítra" is ticked, one day later, except for an end so soon after midnight that the moment
// falls on the evening before (then today's evening); when now is already later than the
// moment, the box gets ticked and the moment is one day later.
ArmedTarget armingTarget(double now, double picker, qint32 seconds, bool tomorrowTicked);

// The time left from now to target as hh:mm:ss joined by separator: the distance rounded to
// whole milliseconds (a half to the even neighbour), taken modulo one day, fractions dropped.
QString timeLeftText(double now, double target, const QString &separator);

// "Nyní + 15 sekund": the picker keeps its date and gets the time of day of now + 15 seconds.
double nowPlus15Seconds(double now, double picker);

// When the countdown's next tick is due, in milliseconds: the regular tick, or sooner when the
// target comes first, so that the tick lands just after the target instead of up to a whole
// tick late.
int nextTickMs(double now, double target, int tickMs);

// The seconds box's text as the seconds to keep in hand: an integer (blanks before it skipped)
// from -4 (act at the end itself) to 86395 (a day before it); nothing for anything else.
std::optional<qint32> armingSeconds(const QString &text);
constexpr qint32 fewestSeconds = -4;
constexpr qint32 mostSeconds = 86395;
