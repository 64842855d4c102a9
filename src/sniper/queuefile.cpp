#include "sniper/queuefile.h"

#include "sniper/bidamount.h"
#include "sniper/countdown.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
const QString testMode = QStringLiteral("testovací");
const QString liveMode = QStringLiteral("ostrý");
constexpr int fileVersion = 1;

std::optional<QueuedBid> bidFromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    QueuedBid bid;
    const QJsonValue url = o.value(QStringLiteral("url"));
    const QJsonValue title = o.value(QStringLiteral("title"));
    const QDateTime end = QDateTime::fromString(o.value(QStringLiteral("end")).toString(), Qt::ISODateWithMs);
    const std::optional<qint32> seconds = armingSeconds(o.value(QStringLiteral("seconds")).toString());
    const std::optional<QString> amount = positiveAmount(o.value(QStringLiteral("amount")).toString());
    const QString mode = o.value(QStringLiteral("mode")).toString();
    const std::optional<QueueState> state = queueStateFromText(o.value(QStringLiteral("state")).toString());
    if (!url.isString() || url.toString().isEmpty() || !title.isString() || !end.isValid() || !seconds || !amount
        || (mode != testMode && mode != liveMode) || !state)
        return std::nullopt;
    bid.url = url.toString();
    bid.title = title.toString();
    bid.end = toDays(end);
    bid.seconds = *seconds;
    bid.amount = *amount;
    bid.live = mode == liveMode;
    bid.state = *state;
    return bid;
}
} // namespace

QByteArray queueJson(const QList<QueuedBid> &queue)
{
    QJsonArray bids;
    for (const QueuedBid &bid : queue) {
        bids.append(QJsonObject{{"url", bid.url},
                                {"title", bid.title},
                                {"end", fromDays(bid.end).toString(Qt::ISODateWithMs)},
                                {"seconds", QString::number(bid.seconds)},
                                {"amount", bid.amount},
                                {"mode", bid.live ? liveMode : testMode},
                                {"state", queueStateText(bid.state)}});
    }
    return QJsonDocument(QJsonObject{{"version", fileVersion}, {"bids", bids}}).toJson(QJsonDocument::Indented);
}

std::optional<QList<QueuedBid>> queueFromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("version")).toInt() != fileVersion || !root.value(QStringLiteral("bids")).isArray())
        return std::nullopt;
    QList<QueuedBid> queue;
    for (const QJsonValue &value : root.value(QStringLiteral("bids")).toArray()) {
        std::optional<QueuedBid> bid = bidFromJson(value);
        if (!bid)
            return std::nullopt;
        queue.append(*bid);
    }
    return queue;
}

bool writeQueueFile(const QString &path, const QList<QueuedBid> &queue)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(queueJson(queue));
    return file.commit();
}

LoadedQueue loadQueueFile(const QString &path, double now, const QDateTime &stamp)
{
    LoadedQueue loaded;
    QFile file(path);
    if (!file.exists())
        return loaded;
    std::optional<QList<QueuedBid>> bids;
    if (file.open(QIODevice::ReadOnly))
        bids = queueFromJson(file.readAll());
    file.close();
    if (!bids) {
        loaded.damaged = true;
        const QString aside = path + QStringLiteral(".poskozeny-") + stamp.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
        if (QFile::rename(path, aside))
            loaded.keptAside = aside;
        return loaded;
    }
    for (QueuedBid &bid : *bids) {
        const QueueState restored = restoredState(bid.state, queuedMoment(bid), now);
        if (restored == QueueState::Missed && isPending(bid.state)) {
            ++loaded.missed;
            loaded.missedNames.append(queuedBidName(bid));
        }
        bid.state = restored;
    }
    sortQueue(*bids);
    loaded.bids = *bids;
    return loaded;
}
