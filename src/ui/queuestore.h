#pragma once

#include "sniper/bidqueue.h"
#include "sniper/queuefile.h"

#include <QObject>

// The queue of bids as the program holds it: kept in the order of their moments and written
// whole to its file after every change.
class QueueStore : public QObject
{
    Q_OBJECT
public:
    explicit QueueStore(const QString &path, QObject *parent = nullptr);

    // Reads the file; what it says goes to the caller (missed bids, a damaged file).
    LoadedQueue load(double now, const QDateTime &stamp);

    const QList<QueuedBid> &bids() const { return m_bids; }
    const QueuedBid *find(quint64 id) const;
    QString path() const { return m_path; }

    // Adds the bid, or says in the user's words why not (empty when added).
    QString add(QueuedBid bid, double now);
    // New amount, seconds and mode for a waiting bid, or why not.
    QString change(quint64 id, const QString &amount, qint32 seconds, bool live, double now);
    void remove(quint64 id);
    void setState(quint64 id, QueueState state);
    // The end as the site shows it now, for a bid whose auction was extended while served.
    void setEnd(quint64 id, double end);

    // Whether any bid is still to be served.
    bool anyPending() const;

signals:
    void changed();
    // The file could not be written; the queue goes on in memory.
    void notSaved(const QString &path);

private:
    void store();

    QString m_path;
    QList<QueuedBid> m_bids;
    quint64 m_lastId = 0;
};
