#include "sniper/siteclock.h"

#include <QTest>
#include <QTimeZone>

#include <cmath>

namespace {
// Samples of a site whose clock runs offsetMs ahead, asked every spacingMs with round trips of
// rttMs, the site writing its Date a third of the way through each trip.
QList<ClockSample> samples(double offsetMs, int count, int spacingMs, int rttMs)
{
    QList<ClockSample> out;
    const qint64 start = 1'765'000'000'123;   // local clock, ms since the epoch
    for (int i = 0; i < count; ++i) {
        const qint64 sent = start + qint64(i) * (spacingMs + rttMs);
        const double stamped = double(sent) + rttMs / 3.0 + offsetMs;
        out.append({sent, sent + rttMs, qint64(std::floor(stamped / 1000)) * 1000});
    }
    return out;
}
} // namespace

Q_DECLARE_METATYPE(QList<ClockSample>)

class TestSiteClock : public QObject
{
    Q_OBJECT
private slots:
    void offset_data()
    {
        QTest::addColumn<QList<ClockSample>>("taken");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("20 s behind, across a second change") << samples(-20000, 60, 20, 2) << -20000.0 << 30.0;
        QTest::newRow("3.25 s ahead") << samples(3250, 60, 20, 2) << 3250.0 << 30.0;
        QTest::newRow("in step") << samples(0, 60, 20, 2) << 0.0 << 30.0;
        QTest::newRow("slow trips of 80 ms") << samples(1400, 15, 20, 80) << 1400.0 << 80.0;
        QTest::newRow("one sample: only the second is known") << samples(-20000, 1, 20, 2) << -20000.0 << 600.0;
    }
    void offset()
    {
        QFETCH(QList<ClockSample>, taken);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        const std::optional<ClockOffset> offset = siteClockOffset(taken);
        QVERIFY(offset);
        QVERIFY2(std::abs(offset->offsetMs - expected) <= tolerance, qPrintable(QString::number(offset->offsetMs)));
        QVERIFY(!siteClockOffset({}));
    }

    void texts_data()
    {
        QTest::addColumn<double>("offsetMs");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("warn");
        QTest::newRow("ahead") << 1400.0 << "Čas serveru: 12:00:04 (+1,4 s)" << true;
        QTest::newRow("behind") << -20000.0 << "Čas serveru: 11:59:43 (−20,0 s)" << true;
        QTest::newRow("within a second") << 950.0 << "Čas serveru: 12:00:04 (+0,9 s)" << false;
        QTest::newRow("in step") << 30.0 << "Čas serveru: 12:00:03 (±0,0 s)" << false;
    }
    void texts()
    {
        QFETCH(double, offsetMs);
        QFETCH(QString, text);
        QFETCH(bool, warn);
        const qint64 now = QDateTime(QDate(2026, 12, 10), QTime(12, 0, 3, 100)).toMSecsSinceEpoch();
        QCOMPARE(siteTimeText(now, {offsetMs, 0}, QLatin1Char(',')), text);
        QCOMPARE(offsetNeedsWarning({offsetMs, 0}), warn);
    }

    void httpDates()
    {
        QCOMPARE(httpDateMs("Sun, 06 Nov 1994 08:49:37 GMT"),
                 std::optional<qint64>(QDateTime(QDate(1994, 11, 6), QTime(8, 49, 37), QTimeZone::utc()).toMSecsSinceEpoch()));
        QVERIFY(!httpDateMs(""));
        QVERIFY(!httpDateMs("yesterday"));
    }
};

QTEST_GUILESS_MAIN(TestSiteClock)
#include "tst_siteclock.moc"
