#include "common/timeformat.h"
#include "ui/messages.h"

#include <QTest>

class TestFormatting : public QObject
{
    Q_OBJECT
private slots:
    void errorTextGetsFullStop_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Cannot open clipboard" << "Cannot open clipboard.";
        QTest::newRow("full stop") << "Hotovo." << "Hotovo.";
        QTest::newRow("exclamation sorts before the stop") << "Pozor!" << "Pozor!";
        QTest::newRow("closing bracket sorts before the stop") << "chyba (3)" << "chyba (3)";
        QTest::newRow("digit sorts after the stop") << "kód 5" << "kód 5.";
        QTest::newRow("Czech letter") << "není platné číslo" << "není platné číslo.";
        QTest::newRow("empty") << "" << "";
    }

    void errorTextGetsFullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(message), shown);
    }

    void clockFormatHasNoTimeZone_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("format");
        QTest::newRow("Czech") << "cs_CZ" << "H:mm:ss";
        QTest::newRow("German") << "de_DE" << "HH:mm:ss";
        QTest::newRow("US English") << "en_US" << "h:mm:ss AP";
    }

    void clockFormatHasNoTimeZone()
    {
        QFETCH(QString, locale);
        QFETCH(QString, format);
        QCOMPARE(longTimeFormat(QLocale(locale)), format);
        QCOMPARE(QLocale(locale).toString(QTime(21, 5, 7), longTimeFormat(QLocale(locale))).contains(QLatin1String("05:07")), true);
    }
};

QTEST_MAIN(TestFormatting)
#include "tst_formatting.moc"
