#include "updatecheck.h"
#include "versioncompare.h"

#include <QTest>

class TestVersionCompare : public QObject
{
    Q_OBJECT
private slots:
    void compares_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("equal") << "1.2.3" << "1.2.3" << 0;
        QTest::newRow("missing parts are zero") << "1.2" << "1.2.0" << 0;
        QTest::newRow("numeric, not textual") << "1.10" << "1.9" << 1;
        QTest::newRow("leading zeros") << "2.05" << "2.5" << 0;
        QTest::newRow("patch newer") << "1.0.0" << "1.0.1" << -1;
        QTest::newRow("major beats minor") << "2.0" << "1.99.99" << 1;
        QTest::newRow("longer and newer") << "1.2.0.1" << "1.2" << 1;
        QTest::newRow("beyond 64 bits") << "1.184467440737095516160" << "1.18446744073709551615" << 1;
        QTest::newRow("blanks around") << " 1.3\t" << "1.3" << 0;
    }
    void compares()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        const auto x = parseVersion(a);
        const auto y = parseVersion(b);
        QVERIFY(x && y);
        QCOMPARE(compareVersions(*x, *y), order);
        QCOMPARE(compareVersions(*y, *x), -order);
    }

    void rejectsWhatIsNoVersion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "   ";
        QTest::newRow("html") << "<html><body>Not here</body></html>";
        QTest::newRow("empty part") << "1..2";
        QTest::newRow("trailing dot") << "1.2.";
        QTest::newRow("letters") << "1.2a";
        QTest::newRow("sign") << "-1.0";
        QTest::newRow("inner blank") << "1. 2";
    }
    void rejectsWhatIsNoVersion()
    {
        QFETCH(QString, text);
        QVERIFY(!parseVersion(text));
    }

    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("LF") << QByteArray("1.2\n9.9\n") << "1.2";
        QTest::newRow("CRLF") << QByteArray("1.2\r\n9.9") << "1.2";
        QTest::newRow("CR") << QByteArray("1.2\r9.9") << "1.2";
        QTest::newRow("no break") << QByteArray("1.2") << "1.2";
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF" "3.1\n") << "3.1";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void firstLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, line);
        QCOMPARE(firstLineOf(text), line);
    }
};

QTEST_GUILESS_MAIN(TestVersionCompare)
#include "tst_versioncompare.moc"
