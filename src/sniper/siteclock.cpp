#include "sniper/siteclock.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

std::optional<ClockOffset> siteClockOffset(const QList<ClockSample> &samples)
{
    if (samples.isEmpty())
        return std::nullopt;
    double low = -1e300, high = 1e300;
    for (const ClockSample &s : samples) {
        const double middle = (double(s.sentMs) + double(s.receivedMs)) / 2;
        low = std::max(low, double(s.dateMs) - middle);
        high = std::min(high, double(s.dateMs) + 1000 - middle);
    }
    // Samples that contradict each other (a round trip longer than it looked) leave the bounds
    // crossed by a little: the middle between them is still the best guess.
    return ClockOffset{(low + high) / 2, std::abs(high - low) / 2};
}

QString siteTimeText(qint64 nowMs, const ClockOffset &offset, QChar decimalPoint)
{
    const QDateTime site = QDateTime::fromMSecsSinceEpoch(nowMs + qint64(std::llround(offset.offsetMs)));
    const double seconds = offset.offsetMs / 1000;
    QString number = QString::number(std::abs(seconds), 'f', 1).replace(QLatin1Char('.'), decimalPoint);
    const QString sign = std::round(std::abs(seconds) * 10) == 0 ? QStringLiteral("±")
                         : seconds < 0                           ? QStringLiteral("−")
                                                                 : QStringLiteral("+");
    return QStringLiteral("Čas serveru: %1 (%2%3 s)").arg(site.toString(QStringLiteral("HH:mm:ss")), sign, number);
}

bool offsetNeedsWarning(const ClockOffset &offset)
{
    return std::abs(offset.offsetMs) > 1000;
}

std::optional<qint64> httpDateMs(const QByteArray &header)
{
    QDateTime date = QLocale::c().toDateTime(QString::fromLatin1(header.trimmed()),
                                             QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (!date.isValid())
        return std::nullopt;
    date.setTimeZone(QTimeZone::utc());
    return date.toMSecsSinceEpoch();
}
