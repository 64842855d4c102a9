#pragma once

#include <QList>
#include <QString>

#include <optional>

// The queue of bids: each one waits for its own moment, computed as the armed countdown's is
// (seconds + 4 before the end). Moments are days since 30 December 1899, local time.

enum class QueueState { Waiting, Checking, Bidding, Done, Failed, Missed };

struct QueuedBid
{
    quint64 id = 0;      // the queue's own number for the bid while the program runs; not kept
    QString url;
    QString title;
    double end = 0;      // the end of the auction
    qint32 seconds = 0;
    QString amount;
    bool live = false;   // "ostrý mód": the bid is confirmed
    QueueState state = QueueState::Waiting;
};

// Two bids' moments (the queue's or the armed countdown's) stay at least this far apart.
constexpr qint32 queueSpacingSeconds = 30;

// The moment of a bid: seconds + 4 before its end.
double queuedMoment(double end, qint32 seconds);
double queuedMoment(const QueuedBid &bid);

// The end the panel shows: the picker's time of day on now's date, one day later when
// "zítra" is ticked.
double queuedEnd(double now, double picker, bool tomorrow);

// Still to be served: waiting, being checked or bidding.
bool isPending(QueueState state);

// Ordered by moment; bids with the same moment keep their order.
void sortQueue(QList<QueuedBid> &queue);

// The first pending bid other than the one with id except whose moment lies closer than the
// spacing to moment; -1 when none does.
int conflictingBid(const QList<QueuedBid> &queue, double moment, quint64 except = 0);

struct QueueRefusal
{
    enum Kind { EndPassed, MomentPassed, TooClose } kind = EndPassed;
    int other = -1;   // for TooClose: the bid in the way
};

// Why a bid may not join the queue (or be changed to what it is now), or nothing when it may.
// A bid already in the queue is passed with its id, so that it is not in its own way.
std::optional<QueueRefusal> queueRefusal(const QList<QueuedBid> &queue, const QueuedBid &bid, double now);

// The reason in the user's words, naming the bid in the way.
QString queueRefusalText(const QueueRefusal &refusal, const QList<QueuedBid> &queue);

// After a restart: a pending bid whose moment is still ahead waits again, one whose moment
// has come is missed; a finished bid stays as it ended.
QueueState restoredState(QueueState saved, double moment, double now);

// The state as the queue's window shows it, and as the file keeps it.
QString queueStateText(QueueState state);
std::optional<QueueState> queueStateFromText(const QString &text);

// The bid as a message names it: its title (or address) and the time of its moment.
QString queuedBidName(const QueuedBid &bid);
