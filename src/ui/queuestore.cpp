#include "ui/queuestore.h"

#include <QDir>
#include <QFileInfo>

QueueStore::QueueStore(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
}

LoadedQueue QueueStore::load(double now, const QDateTime &stamp)
{
    LoadedQueue loaded = loadQueueFile(m_path, now, stamp);
    m_bids = loaded.bids;
    for (QueuedBid &bid : m_bids)
        bid.id = ++m_lastId;
    // Missed bids are written as missed, so that the next start-up does not tell again.
    if (loaded.missed > 0 || loaded.damaged)
        store();
    emit changed();
    return loaded;
}

const QueuedBid *QueueStore::find(quint64 id) const
{
    for (const QueuedBid &bid : m_bids) {
        if (bid.id == id)
            return &bid;
    }
    return nullptr;
}

QString QueueStore::add(QueuedBid bid, double now)
{
    bid.id = 0;
    bid.state = QueueState::Waiting;
    if (const std::optional<QueueRefusal> refused = queueRefusal(m_bids, bid, now))
        return queueRefusalText(*refused, m_bids) + QStringLiteral(" Příhoz nebyl zařazen do fronty.");
    bid.id = ++m_lastId;
    m_bids.append(bid);
    sortQueue(m_bids);
    store();
    return {};
}

QString QueueStore::change(quint64 id, const QString &amount, qint32 seconds, bool live, double now)
{
    const QueuedBid *found = find(id);
    if (!found)
        return QStringLiteral("Příhoz už ve frontě není.");
    if (found->state != QueueState::Waiting)
        return QStringLiteral("Změnit lze jen příhoz, který čeká.");
    QueuedBid changed = *found;
    changed.amount = amount;
    changed.seconds = seconds;
    changed.live = live;
    if (const std::optional<QueueRefusal> refused = queueRefusal(m_bids, changed, now))
        return queueRefusalText(*refused, m_bids) + QStringLiteral(" Příhoz nebyl změněn.");
    for (QueuedBid &bid : m_bids) {
        if (bid.id == id)
            bid = changed;
    }
    sortQueue(m_bids);
    store();
    return {};
}

void QueueStore::remove(quint64 id)
{
    if (m_bids.removeIf([id](const QueuedBid &bid) { return bid.id == id; }) > 0)
        store();
}

void QueueStore::setState(quint64 id, QueueState state)
{
    for (QueuedBid &bid : m_bids) {
        if (bid.id == id && bid.state != state) {
            bid.state = state;
            store();
            return;
        }
    }
}

void QueueStore::setEnd(quint64 id, double end)
{
    for (QueuedBid &bid : m_bids) {
        if (bid.id == id && bid.end != end) {
            bid.end = end;
            sortQueue(m_bids);
            store();
            return;
        }
    }
}

bool QueueStore::anyPending() const
{
    return std::any_of(m_bids.cbegin(), m_bids.cend(), [](const QueuedBid &bid) { return isPending(bid.state); });
}

void QueueStore::store()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!writeQueueFile(m_path, m_bids))
        emit notSaved(m_path);
    emit changed();
}
