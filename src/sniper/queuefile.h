#pragma once

#include "sniper/bidqueue.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The queue as the user's data folder keeps it: one JSON document, written whole.

QByteArray queueJson(const QList<QueuedBid> &queue);

// The bids of a document, or nothing when it is not one this program wrote: every field there
// and of its kind, amounts and seconds as the panel accepts them, states known.
std::optional<QList<QueuedBid>> queueFromJson(const QByteArray &json);

// Writes the document through a temporary file, so that the old file stays whole until the
// new one is. False when it could not be written.
bool writeQueueFile(const QString &path, const QList<QueuedBid> &queue);

struct LoadedQueue
{
    QList<QueuedBid> bids;   // in the order of their moments, states as restored
    int missed = 0;          // bids that were pending and whose moment came while closed
    QStringList missedNames; // those bids as messages name them
    QString keptAside;       // where a damaged file went; empty when the file was sound
    bool damaged = false;
};

// Reads the queue at start-up: no file is an empty queue; a damaged one is renamed to
// "<name>.poskozeny-<stamp>" beside it and an empty queue used.
LoadedQueue loadQueueFile(const QString &path, double now, const QDateTime &stamp);
