#include "sniper/endtime.h"

#include <QTest>

namespace {
const QString marker = endTimeMarker.toString();
}

class TestEndTimeText : public QObject
{
    Q_OBJECT
private slots:
    void timeTextFromSource_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("timeText");

        const QString head = QStringLiteral("<html><body><p>Konec aukce</p>");
        QTest::newRow("time right after the marker")
            << head + marker + QStringLiteral("21:45:30</span> zbývá")
            << QStringLiteral("21:45:30");
        QTest::newRow("blank before a one-digit hour")
            << head + marker + QStringLiteral("středa 9:05:00</span>")
            << QStringLiteral(" 9:05:00");
        QTest::newRow("first colon out of reach: the marker's own characters 18 to 25")
            << head + marker + QString(240, QLatin1Char('x')) + QStringLiteral("12:00:00")
            << marker.mid(17, 8);
        QTest::newRow("colon 240 characters after the marker is still in reach")
            << head + marker + QString(237, QLatin1Char('x')) + QStringLiteral("12:34:56")
            << QStringLiteral("12:34:56");
        QTest::newRow("colon 241 characters after the marker's end is out of reach")
            << head + marker + QString(238, QLatin1Char('x')) + QStringLiteral("12:34:56")
            << marker.mid(17, 8);
        QTest::newRow("no marker: two before the first colon from character 20")
            << QStringLiteral("01234567890123456789 x 10:11:12 y 13:14:15")
            << QStringLiteral("10:11:12");
        QTest::newRow("no marker, no colon: characters 17 to 24")
            << QStringLiteral("abcdefghijklmnopqrstuvwxyz")
            << QStringLiteral("qrstuvwx");
        QTest::newRow("two markers: the first counts")
            << head + marker + QStringLiteral("08:00:00</span>") + marker + QStringLiteral("23:59:59</span>")
            << QStringLiteral("08:00:00");
        QTest::newRow("source ends inside the time")
            << marker + QStringLiteral("21:45")
            << QStringLiteral("21:45");
        QTest::newRow("empty source") << QString() << QString();
        QTest::newRow("marker differing in case is not the marker")
            << QString(400, QLatin1Char('y')) + marker.toUpper() + QStringLiteral("21:45:30")
            << QStringLiteral("yyyyyyyy");
    }

    void timeTextFromSource()
    {
        QFETCH(QString, source);
        QFETCH(QString, timeText);
        QCOMPARE(endTimeText(source), timeText);
    }

    void timeConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QTime>("time");  // invalid: does not convert

        const QString colon = QStringLiteral(":");
        QTest::newRow("hh:mm:ss") << QStringLiteral("21:45:30") << colon << QTime(21, 45, 30);
        QTest::newRow("blank before one-digit hour") << QStringLiteral(" 9:05:00") << colon << QTime(9, 5);
        QTest::newRow("blanks around the parts") << QStringLiteral("9 : 05 :00 ") << colon << QTime(9, 5);
        QTest::newRow("hours only") << QStringLiteral("7") << colon << QTime(7, 0);
        QTest::newRow("hours and minutes") << QStringLiteral("7:30") << colon << QTime(7, 30);
        QTest::newRow("PM") << QStringLiteral("9:05:00 PM") << colon << QTime(21, 5);
        QTest::newRow("pm lower case") << QStringLiteral("9:05pm") << colon << QTime(21, 5);
        QTest::newRow("12 AM is midnight") << QStringLiteral("12:00:01 AM") << colon << QTime(0, 0, 1);
        QTest::newRow("12 PM is noon") << QStringLiteral("12:30 PM") << colon << QTime(12, 30);
        QTest::newRow("locale's own marker") << QStringLiteral("3:00 odp.") << colon << QTime(15, 0);
        QTest::newRow("other separator") << QStringLiteral("21.45.30") << QStringLiteral(".") << QTime(21, 45, 30);
        QTest::newRow("25 hours") << QStringLiteral("25:00:00") << colon << QTime();
        QTest::newRow("60 minutes") << QStringLiteral("12:60:00") << colon << QTime();
        QTest::newRow("60 seconds") << QStringLiteral("12:00:60") << colon << QTime();
        QTest::newRow("letters") << QStringLiteral("ab:cd:ef") << colon << QTime();
        QTest::newRow("text left over") << QStringLiteral("21:45:3x") << colon << QTime();
        QTest::newRow("13 PM") << QStringLiteral("13:00 PM") << colon << QTime();
        QTest::newRow("separator without minutes") << QStringLiteral("21:") << colon << QTime();
        QTest::newRow("wrong separator") << QStringLiteral("21:45:30") << QStringLiteral(".") << QTime();
        QTest::newRow("empty") << QString() << colon << QTime();
        QTest::newRow("marker's characters") << marker.mid(17, 8) << colon << QTime();
    }

    void timeConversion()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QTime, time);
        const std::optional<QTime> parsed =
            parseTimeOfDay(text, separator, {QStringLiteral("dop."), QStringLiteral("odp.")});
        QCOMPARE(parsed.has_value(), time.isValid());
        if (time.isValid())
            QCOMPARE(*parsed, time);
    }
};

QTEST_GUILESS_MAIN(TestEndTimeText)
#include "tst_endtimetext.moc"
