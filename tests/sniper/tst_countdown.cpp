#include "sniper/absolutecoordinate.h"
#include "sniper/countdown.h"
#include "common/timeformat.h"

#include <QTest>

namespace {
const QDate today(2024, 3, 10);

double at(const QDate &date, const QTime &time)
{
    return toDays(QDateTime(date, time));
}
double at(const QTime &time)
{
    return at(today, time);
}
// The picker holds the start-up day and the time of day.
double picker(const QTime &time)
{
    return at(QDate(2024, 3, 1), time);
}
} // namespace

class TestCountdown : public QObject
{
    Q_OBJECT
private slots:
    void daysSince1899()
    {
        QCOMPARE(toDays(QDateTime(QDate(1899, 12, 31), QTime(12, 0))), 1.5);
        QCOMPARE(toDays(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
        const QDateTime moment(today, QTime(21, 45, 21, 7));
        QCOMPARE(fromDays(toDays(moment)), moment);
    }

    void laterThanAndWholeSeconds()
    {
        const double t = at(QTime(12, 0));
        const double ms = 1.0 / 86400000;
        QVERIFY(!isLaterThan(t + 0.6 * ms, t));  // under a millisecond counts as equal
        QVERIFY(isLaterThan(t + 1.001 * ms, t));
        QVERIFY(!isLaterThan(t, t + 5 * ms));
        QVERIFY(!isLaterThan(t, t));
        QCOMPARE(secondsBetween(t, at(QTime(12, 1, 0, 999))), 60);
        QCOMPARE(secondsBetween(at(QTime(12, 1, 1, 0)), t), 61);
    }

    void arming_data()
    {
        QTest::addColumn<QTime>("pickerTime");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QTime>("armedAt");
        QTest::addColumn<bool>("tickedBefore");
        QTest::addColumn<QDateTime>("target");
        QTest::addColumn<bool>("tickedAfter");
        const QDate tomorrow = today.addDays(1);
        QTest::newRow("ahead today") << QTime(21, 45, 30) << 5 << QTime(21, 40) << false
                                     << QDateTime(today, QTime(21, 45, 21)) << false;
        QTest::newRow("already past: tomorrow") << QTime(21, 45, 30) << 5 << QTime(22, 0) << false
                                                << QDateTime(tomorrow, QTime(21, 45, 21)) << true;
        QTest::newRow("ticked by the user") << QTime(21, 45, 30) << 5 << QTime(21, 40) << true
                                            << QDateTime(tomorrow, QTime(21, 45, 21)) << true;
        QTest::newRow("just after midnight wraps to the evening") << QTime(0, 0, 2) << 5 << QTime(10, 0) << false
                                                                  << QDateTime(today, QTime(23, 59, 53)) << false;
        QTest::newRow("ticked, end just after tomorrow's midnight: this evening")
            << QTime(0, 0, 2) << 5 << QTime(10, 0) << true << QDateTime(today, QTime(23, 59, 53)) << true;
        QTest::newRow("ticked, end just after midnight, evening past: a day later")
            << QTime(0, 0, 2) << 5 << QTime(23, 59, 58) << true << QDateTime(tomorrow, QTime(23, 59, 53)) << true;
        QTest::newRow("n = 0 acts 4 s early") << QTime(12, 0) << 0 << QTime(11, 0) << false
                                              << QDateTime(today, QTime(11, 59, 56)) << false;
        QTest::newRow("n = -4 acts at the time itself") << QTime(12, 0) << -4 << QTime(11, 0) << false
                                                        << QDateTime(today, QTime(12, 0)) << false;
        QTest::newRow("within a millisecond is not past") << QTime(12, 0, 9) << 5 << QTime(12, 0, 0) << false
                                                          << QDateTime(today, QTime(12, 0)) << false;
        QTest::newRow("a millisecond past is") << QTime(12, 0, 9) << 5 << QTime(12, 0, 0, 2) << false
                                               << QDateTime(tomorrow, QTime(12, 0)) << true;
    }
    void arming()
    {
        QFETCH(QTime, pickerTime);
        QFETCH(int, seconds);
        QFETCH(QTime, armedAt);
        QFETCH(bool, tickedBefore);
        QFETCH(QDateTime, target);
        QFETCH(bool, tickedAfter);
        const ArmedTarget armed = armingTarget(at(armedAt), picker(pickerTime), seconds, tickedBefore);
        QCOMPARE(fromDays(armed.target), target);
        QCOMPARE(armed.tomorrowTicked, tickedAfter);
    }

    void nowPlus15ThenArming()
    {
        const double pressed = at(QTime(14, 30, 0, 250));
        const double p = nowPlus15Seconds(pressed, picker(QTime(1, 0)));
        QCOMPARE(fromDays(p), QDateTime(QDate(2024, 3, 1), QTime(14, 30, 15, 250)));
        // Default n = 5 fires 6 s after the press.
        const double armedAt = pressed + 0.5 / 86400;
        QCOMPARE(fromDays(armingTarget(armedAt, p, 5, false).target), QDateTime(today, QTime(14, 30, 6, 250)));
        // n = 11: the moment is the press itself, already past when armed: tomorrow.
        const ArmedTarget late = armingTarget(armedAt, p, 11, false);
        QVERIFY(late.tomorrowTicked);
        QCOMPARE(fromDays(late.target), QDateTime(today.addDays(1), QTime(14, 30, 0, 250)));
    }

    void timeLeft_data()
    {
        QTest::addColumn<double>("now");
        QTest::addColumn<double>("target");
        QTest::addColumn<QString>("text");
        QTest::newRow("first tick, armed today") << at(QTime(21, 40, 0, 100)) << at(QTime(21, 45, 21)) << "00:05:20";
        QTest::newRow("first tick, armed for tomorrow") << at(QTime(22, 0, 0, 100))
                                                        << at(today.addDays(1), QTime(21, 45, 21)) << "23:45:20";
        QTest::newRow("65 seconds") << at(QTime(10, 0)) << at(QTime(10, 1, 5)) << "00:01:05";
        QTest::newRow("30 hours shows modulo a day") << at(QTime(10, 0)) << at(today.addDays(1), QTime(16, 0)) << "06:00:00";
        QTest::newRow("milliseconds rounded, then dropped")
            << at(QTime(10, 0)) << at(QTime(10, 0)) + 1999.6 / 86400000 << "00:00:02";
        QTest::newRow("target behind now: the distance") << at(QTime(10, 0, 3)) << at(QTime(10, 0)) << "00:00:03";
    }
    void timeLeft()
    {
        QFETCH(double, now);
        QFETCH(double, target);
        QFETCH(QString, text);
        QCOMPARE(timeLeftText(now, target, QStringLiteral(":")), text);
    }

    void nextTick_data()
    {
        QTest::addColumn<double>("now");
        QTest::addColumn<double>("target");
        QTest::addColumn<int>("ms");
        const double ms = 1.0 / 86400000;
        QTest::newRow("far away: the regular tick") << at(QTime(10, 0)) << at(QTime(10, 5)) << 100;
        QTest::newRow("exactly one tick away") << at(QTime(10, 0)) << at(QTime(10, 0)) + 99 * ms << 100;
        QTest::newRow("40 ms away: just past it") << at(QTime(10, 0)) << at(QTime(10, 0)) + 40 * ms << 41;
        QTest::newRow("target reached, not yet later") << at(QTime(10, 0)) << at(QTime(10, 0)) << 1;
        QTest::newRow("target behind") << at(QTime(10, 0, 1)) << at(QTime(10, 0)) << 1;
    }
    void nextTick()
    {
        QFETCH(double, now);
        QFETCH(double, target);
        QFETCH(int, ms);
        QVERIFY(qAbs(nextTickMs(now, target, 100) - ms) <= 1);  // the day fraction rounds
        QVERIFY(nextTickMs(now, target, 100) <= 100);
    }

    void localeSeparators()
    {
        QCOMPARE(timeSeparator(QLocale(QLocale::Czech)), QStringLiteral(":"));
        QCOMPARE(timeSeparator(QLocale(QLocale::Finnish)), QStringLiteral("."));
        QCOMPARE(timeLeftText(at(QTime(10, 0)), at(QTime(11, 2, 3)), QStringLiteral(".")), QStringLiteral("01.02.03"));
    }

    void absoluteCoordinates_data()
    {
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("extent");
        QTest::addColumn<qint64>("value");
        QTest::newRow("960 of 1920: half to even") << 960 << 1920 << qint64(32768);
        QTest::newRow("320 of 1920: half to even") << 320 << 1920 << qint64(10922);
        QTest::newRow("100 of 1920") << 100 << 1920 << qint64(3413);
        QTest::newRow("1920 of 1920") << 1920 << 1920 << qint64(65535);
        QTest::newRow("384 of 768") << 384 << 768 << qint64(32768);
        QTest::newRow("128 of 768") << 128 << 768 << qint64(10922);
        QTest::newRow("0 is the corner") << 0 << 768 << qint64(0);
        QTest::newRow("beyond the screen, not clamped") << 3840 << 1920 << qint64(131070);
        QTest::newRow("negative") << -100 << 1920 << qint64(-3413);
    }
    void absoluteCoordinates()
    {
        QFETCH(int, pixel);
        QFETCH(int, extent);
        QFETCH(qint64, value);
        QCOMPARE(absoluteCoordinate(pixel, extent), value);
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
