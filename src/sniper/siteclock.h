#pragma once

#include <QList>
#include <QString>

#include <optional>

// One question to the site: when it went out and when the answer came, by the computer's clock,
// and the site's clock in the answer's Date header (whole seconds), all in milliseconds since
// the epoch.
struct ClockSample
{
    qint64 sentMs = 0;
    qint64 receivedMs = 0;
    qint64 dateMs = 0;
};

// How far the site's clock is ahead of the computer's (negative: behind), in milliseconds.
struct ClockOffset
{
    double offsetMs = 0;
    double uncertaintyMs = 0;   // half the width of what the samples allow
};

// The offset that fits every sample. The site wrote its Date at about the middle of each round
// trip, somewhere within the second the header names; each sample therefore bounds the offset
// to a second, and samples taken across the moment the site's second changes narrow it to the
// spacing of the samples. Nothing for no samples.
std::optional<ClockOffset> siteClockOffset(const QList<ClockSample> &samples);

// "Čas serveru: 12:00:03 (+1,4 s)": the site's time of day now and the offset, in the given
// locale's decimal sign.
QString siteTimeText(qint64 nowMs, const ClockOffset &offset, QChar decimalPoint);

// The offset is worth a warning: more than a second either way.
bool offsetNeedsWarning(const ClockOffset &offset);

// An HTTP Date header ("Sun, 06 Nov 1994 08:49:37 GMT") in milliseconds since the epoch.
std::optional<qint64> httpDateMs(const QByteArray &header);
