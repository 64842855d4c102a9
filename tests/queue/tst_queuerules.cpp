#include "sniper/bidqueue.h"
#include "sniper/countdown.h"

#include <QTest>

namespace {
constexpr double secondDays = 1.0 / 86400.0;
// 11 December 2026, 20:00:00 local time (computed on use: the day count's epoch is another
// file's static).
double now()
{
    return toDays(QDateTime(QDate(2026, 12, 11), QTime(20, 0)));
}

QueuedBid bid(quint64 id, double endInSeconds, qint32 seconds, QueueState state = QueueState::Waiting)
{
    QueuedBid b;
    b.id = id;
    b.url = QStringLiteral("https://aukce.test/zbozi/%1").arg(id);
    b.title = QStringLiteral("Zboží %1").arg(id);
    b.end = now() + endInSeconds * secondDays;
    b.seconds = seconds;
    b.amount = QStringLiteral("100");
    b.state = state;
    return b;
}
} // namespace

Q_DECLARE_METATYPE(QueueState)
Q_DECLARE_METATYPE(QList<QueuedBid>)

class TestQueueRules : public QObject
{
    Q_OBJECT
private slots:
    void endFromPanel_data()
    {
        QTest::addColumn<QTime>("picker");
        QTest::addColumn<bool>("tomorrow");
        QTest::addColumn<QDateTime>("end");
        QTest::newRow("later today") << QTime(21, 30) << false << QDateTime(QDate(2026, 12, 11), QTime(21, 30));
        QTest::newRow("earlier today is today") << QTime(19, 0) << false << QDateTime(QDate(2026, 12, 11), QTime(19, 0));
        QTest::newRow("zítra") << QTime(9, 15, 30) << true << QDateTime(QDate(2026, 12, 12), QTime(9, 15, 30));
        QTest::newRow("zítra just after midnight") << QTime(0, 0, 5) << true << QDateTime(QDate(2026, 12, 12), QTime(0, 0, 5));
    }
    void endFromPanel()
    {
        QFETCH(QTime, picker);
        QFETCH(bool, tomorrow);
        QFETCH(QDateTime, end);
        // The picker's own date says nothing: it is whatever the user last left there.
        const double pickerDays = toDays(QDateTime(QDate(2000, 1, 1), picker));
        QCOMPARE(fromDays(queuedEnd(now(), pickerDays, tomorrow)), end);
    }

    void momentAsTheCountdownsAims()
    {
        // The same moment the armed countdown aims at for the same end and seconds.
        const double picker = toDays(QDateTime(QDate(2026, 12, 11), QTime(22, 0)));
        const ArmedTarget armed = armingTarget(now(), picker, 10, false);
        QCOMPARE(fromDays(queuedMoment(queuedEnd(now(), picker, false), 10)), fromDays(armed.target));
        QCOMPARE(fromDays(queuedMoment(queuedEnd(now(), picker, false), -4)), QDateTime(QDate(2026, 12, 11), QTime(22, 0)));
    }

    void ordering()
    {
        // The second ends after the third but keeps more seconds in hand: its moment comes first.
        // The first and the fourth share a moment and keep their order.
        QList<QueuedBid> queue = {bid(1, 600, 5), bid(2, 500, 200), bid(3, 400, 5), bid(4, 900, 305)};
        sortQueue(queue);
        QList<quint64> ids;
        for (const QueuedBid &b : queue)
            ids.append(b.id);
        QCOMPARE(ids, (QList<quint64>{2, 3, 1, 4}));
    }

    void refusal_data()
    {
        QTest::addColumn<QList<QueuedBid>>("queue");
        QTest::addColumn<QueuedBid>("candidate");
        QTest::addColumn<int>("kind");   // -1: accepted
        QTest::addColumn<int>("other");

        const QList<QueuedBid> one = {bid(1, 600, 5)};   // moment 591 s ahead
        QTest::newRow("empty queue") << QList<QueuedBid>{} << bid(9, 120, 5) << -1 << -1;
        QTest::newRow("end passed") << one << bid(9, -1, 5) << int(QueueRefusal::EndPassed) << -1;
        QTest::newRow("end now") << one << bid(9, 0, 5) << int(QueueRefusal::EndPassed) << -1;
        QTest::newRow("moment passed, end ahead") << one << bid(9, 8, 5) << int(QueueRefusal::MomentPassed) << -1;
        QTest::newRow("same moment") << one << bid(9, 600, 5) << int(QueueRefusal::TooClose) << 0;
        QTest::newRow("29 s after") << one << bid(9, 629, 5) << int(QueueRefusal::TooClose) << 0;
        QTest::newRow("29 s before") << one << bid(9, 571, 5) << int(QueueRefusal::TooClose) << 0;
        QTest::newRow("30 s after") << one << bid(9, 630, 5) << -1 << -1;
        QTest::newRow("30 s before") << one << bid(9, 570, 5) << -1 << -1;
        QTest::newRow("same end, seconds apart enough") << one << bid(9, 600, 40) << -1 << -1;
        QTest::newRow("same end, seconds too near") << one << bid(9, 600, 30) << int(QueueRefusal::TooClose) << 0;
        QTest::newRow("near a finished bid") << QList<QueuedBid>{bid(1, 600, 5, QueueState::Done)} << bid(9, 600, 5) << -1 << -1;
        QTest::newRow("near a missed bid") << QList<QueuedBid>{bid(1, 600, 5, QueueState::Missed)} << bid(9, 600, 5) << -1 << -1;
        QTest::newRow("near a bid being checked") << QList<QueuedBid>{bid(1, 600, 5, QueueState::Checking)} << bid(9, 610, 5)
                                                  << int(QueueRefusal::TooClose) << 0;
        QTest::newRow("the second of two in the way") << QList<QueuedBid>{bid(1, 300, 5), bid(2, 600, 5)} << bid(9, 620, 5)
                                                      << int(QueueRefusal::TooClose) << 1;
        QTest::newRow("a bid changed in place") << one << bid(1, 610, 5) << -1 << -1;
    }
    void refusal()
    {
        QFETCH(QList<QueuedBid>, queue);
        QFETCH(QueuedBid, candidate);
        QFETCH(int, kind);
        QFETCH(int, other);
        const std::optional<QueueRefusal> refused = queueRefusal(queue, candidate, now());
        QCOMPARE(refused ? int(refused->kind) : -1, kind);
        QCOMPARE(refused ? refused->other : -1, other);
    }

    void refusalNamesTheBidInTheWay()
    {
        const QList<QueuedBid> queue = {bid(1, 600, 5)};
        const std::optional<QueueRefusal> refused = queueRefusal(queue, bid(9, 610, 5), now());
        QVERIFY(refused);
        const QString text = queueRefusalText(*refused, queue);
        QVERIFY2(text.contains(QStringLiteral("„Zboží 1“ (v 11. 12. 20:09:51)")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("30 s")));
    }

    void restored_data()
    {
        QTest::addColumn<QueueState>("saved");
        QTest::addColumn<double>("momentInSeconds");
        QTest::addColumn<QueueState>("state");
        QTest::newRow("waiting, still ahead") << QueueState::Waiting << 60.0 << QueueState::Waiting;
        QTest::newRow("waiting, passed while closed") << QueueState::Waiting << -60.0 << QueueState::Missed;
        QTest::newRow("waiting, moment is now") << QueueState::Waiting << 0.0 << QueueState::Missed;
        QTest::newRow("checking when closed, still ahead") << QueueState::Checking << 30.0 << QueueState::Waiting;
        QTest::newRow("bidding when closed") << QueueState::Bidding << -1.0 << QueueState::Missed;
        QTest::newRow("done stays done") << QueueState::Done << -600.0 << QueueState::Done;
        QTest::newRow("failed stays failed") << QueueState::Failed << 600.0 << QueueState::Failed;
        QTest::newRow("missed stays missed") << QueueState::Missed << 600.0 << QueueState::Missed;
    }
    void restored()
    {
        QFETCH(QueueState, saved);
        QFETCH(double, momentInSeconds);
        QFETCH(QueueState, state);
        QCOMPARE(restoredState(saved, now() + momentInSeconds * secondDays, now()), state);
    }
};

QTEST_APPLESS_MAIN(TestQueueRules)
#include "tst_queuerules.moc"
