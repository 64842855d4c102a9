#include "sniper/bidqueue.h"

#include "sniper/countdown.h"

#include <QDateTime>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr double msPerDay = 86400000.0;

const std::array<QString, 6> stateTexts = {
    QStringLiteral("čeká"),   QStringLiteral("kontroluje se"), QStringLiteral("přihazuje se"),
    QStringLiteral("hotovo"), QStringLiteral("selhalo"),       QStringLiteral("zmeškáno")};
} // namespace

double queuedMoment(double end, qint32 seconds)
{
    return end - (double(seconds) + 4.0) * 1000.0 / msPerDay;
}

double queuedMoment(const QueuedBid &bid)
{
    return queuedMoment(bid.end, bid.seconds);
}

double queuedEnd(double now, double picker, bool tomorrow)
{
    const double timeOfDay = picker - std::floor(picker);
    return std::floor(now) + timeOfDay + (tomorrow ? 1.0 : 0.0);
}

bool isPending(QueueState state)
{
    return state == QueueState::Waiting || state == QueueState::Checking || state == QueueState::Bidding;
}

void sortQueue(QList<QueuedBid> &queue)
{
    std::stable_sort(queue.begin(), queue.end(),
                     [](const QueuedBid &a, const QueuedBid &b) { return queuedMoment(a) < queuedMoment(b); });
}

int conflictingBid(const QList<QueuedBid> &queue, double moment, quint64 except)
{
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const QueuedBid &other = queue[i];
        if (other.id == except && except != 0)
            continue;
        if (!isPending(other.state))
            continue;
        const double apartMs = std::abs(queuedMoment(other) - moment) * msPerDay;
        if (std::llround(apartMs) < qint64(queueSpacingSeconds) * 1000)
            return int(i);
    }
    return -1;
}

std::optional<QueueRefusal> queueRefusal(const QList<QueuedBid> &queue, const QueuedBid &bid, double now)
{
    if (!isLaterThan(bid.end, now))
        return QueueRefusal{QueueRefusal::EndPassed, -1};
    if (!isLaterThan(queuedMoment(bid), now))
        return QueueRefusal{QueueRefusal::MomentPassed, -1};
    const int other = conflictingBid(queue, queuedMoment(bid), bid.id);
    if (other >= 0)
        return QueueRefusal{QueueRefusal::TooClose, other};
    return std::nullopt;
}

QString queueRefusalText(const QueueRefusal &refusal, const QList<QueuedBid> &queue)
{
    switch (refusal.kind) {
    case QueueRefusal::EndPassed:
        return QStringLiteral("Konec aukce už minul.");
    case QueueRefusal::MomentPassed:
        return QStringLiteral("Okamžik příhozu už minul, konec aukce je příliš blízko.");
    case QueueRefusal::TooClose:
        break;
    }
    return QStringLiteral("Okamžik příhozu leží méně než %1 s od okamžiku příhozu %2.")
        .arg(queueSpacingSeconds)
        .arg(queuedBidName(queue.value(refusal.other)));
}

QueueState restoredState(QueueState saved, double moment, double now)
{
    if (!isPending(saved))
        return saved;
    return isLaterThan(moment, now) ? QueueState::Waiting : QueueState::Missed;
}

QString queueStateText(QueueState state)
{
    return stateTexts[std::size_t(state)];
}

std::optional<QueueState> queueStateFromText(const QString &text)
{
    for (std::size_t i = 0; i < stateTexts.size(); ++i) {
        if (stateTexts[i] == text)
            return QueueState(i);
    }
    return std::nullopt;
}

QString queuedBidName(const QueuedBid &bid)
{
    const QString what = bid.title.isEmpty() ? bid.url : bid.title;
    return QStringLiteral("„%1“ (v %2)").arg(what, fromDays(queuedMoment(bid)).toString(QStringLiteral("d. M. HH:mm:ss")));
}
