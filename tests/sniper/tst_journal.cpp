#include "sniper/bidrecord.h"
#include "sniper/journal.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The journal's lines, the names of record folders, and which records are kept.
class TestJournal : public QObject
{
    Q_OBJECT
private slots:
    void linesReadBack()
    {
        const QDateTime at(QDate(2026, 12, 11), QTime(20, 15, 3, 7));
        const QByteArray line = journalLine(at, -1400.4, QStringLiteral("armed"), {{"amount", "150,50"}});
        QVERIFY(line.endsWith('\n'));
        QCOMPARE(line.count('\n'), 1);
        QVERIFY(line.contains(R"("local":"2026-12-11T20:15:03.007")"));
        QVERIFY(line.contains(R"("site":"2026-12-11T20:15:01.607")"));
        QVERIFY(!journalLine(at, std::nullopt, QStringLiteral("x")).contains("site"));
        const Journal journal = readJournal(line + journalLine(at.addMSecs(5), std::nullopt, QStringLiteral("fired")));
        QVERIFY(!journal.damaged);
        QCOMPARE(journal.entries.size(), 2);
        QCOMPARE(journal.entries[1].local, at.addMSecs(5));
        QCOMPARE(journal.entries[0].fields.value(QStringLiteral("amount")).toString(), QStringLiteral("150,50"));
    }

    void damagedJournals_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("entries");
        const QByteArray good = journalLine(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), std::nullopt, QStringLiteral("armed"));
        QTest::newRow("missing") << QByteArray() << 0;
        QTest::newRow("cut off in the last line") << good + good.left(20) << 1;
        QTest::newRow("not JSON") << QByteArray("\x00\xff garbage\n", 11) + good << 1;
        QTest::newRow("no time") << QByteArray(R"({"event":"armed"})" "\n") << 0;
    }
    void damagedJournals()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, entries);
        const Journal journal = readJournal(content);
        QVERIFY(journal.damaged);
        QCOMPARE(journal.entries.size(), entries);
        QCOMPARE(summarize(journal).damaged, true);
    }

    void folderNames_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("name");
        QTest::newRow("host") << "aukce.example" << "2026-12-11_20-15-03_aukce.example";
        QTest::newRow("no host") << "" << "2026-12-11_20-15-03_stranka";
        QTest::newRow("a host no file name may hold") << "../etc" << "2026-12-11_20-15-03_stranka";
    }
    void folderNames()
    {
        QFETCH(QString, host);
        QFETCH(QString, name);
        QCOMPARE(recordFolderName(QDateTime(QDate(2026, 12, 11), QTime(20, 15, 3, 999)), host), name);
    }

    void theNewestAreKept()
    {
        QStringList names;
        for (int day = 1; day <= 5; ++day)
            names.prepend(QStringLiteral("2026-01-0%1_10-00-00_a").arg(day));
        QCOMPARE(recordsBeyond(names, 3), (QStringList{"2026-01-01_10-00-00_a", "2026-01-02_10-00-00_a"}));
        QCOMPARE(recordsBeyond(names, 200), QStringList());

        QTemporaryDir dir;
        for (int i = 0; i < recordsKept + 2; ++i)
            QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("2026-01-01_10-%1-00_a").arg(i, 3, 10, QLatin1Char('0'))));
        pruneRecords(dir.path());
        const QStringList left = QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(left.size(), recordsKept);
        QVERIFY(!left.contains(QStringLiteral("2026-01-01_10-001-00_a")));
    }

    void aHeldRecordWritesNothingUntilReleased()
    {
        QTemporaryDir dir;
        BidRecord record(dir.path(), QStringLiteral("aukce.example"), QDateTime(QDate(2026, 1, 1), QTime(10, 0)));
        const QString journal = QDir(record.folder()).filePath(QStringLiteral("journal.jsonl"));
        record.note(QStringLiteral("armed"));
        QVERIFY(QFile::exists(journal));
        record.hold();
        record.note(QStringLiteral("fired"));
        record.keep(QStringLiteral("item.html"), "<html>");
        QCOMPARE(readJournal([&] { QFile f(journal); f.open(QIODevice::ReadOnly); return f.readAll(); }()).entries.size(), 1);
        QVERIFY(!QFile::exists(QDir(record.folder()).filePath(QStringLiteral("item.html"))));
        record.release();
        QCOMPARE(readJournal([&] { QFile f(journal); f.open(QIODevice::ReadOnly); return f.readAll(); }()).entries.size(), 2);
        QVERIFY(QFile::exists(QDir(record.folder()).filePath(QStringLiteral("item.html"))));
        // A second arming within the same second gets a folder of its own.
        BidRecord again(dir.path(), QStringLiteral("aukce.example"), QDateTime(QDate(2026, 1, 1), QTime(10, 0)));
        QVERIFY(again.folder() != record.folder());
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
