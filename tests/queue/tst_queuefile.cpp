#include "sniper/countdown.h"
#include "sniper/queuefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDateTime startUp(QDate(2026, 12, 11), QTime(20, 0));

QueuedBid bid(const QString &title, int endInSeconds, qint32 seconds, const QString &amount, bool live,
              QueueState state = QueueState::Waiting)
{
    QueuedBid b;
    b.url = QStringLiteral("https://aukce.test/zbozi?id=") + title;
    b.title = title;
    b.end = toDays(startUp.addMSecs(qint64(endInSeconds) * 1000 + 250));
    b.seconds = seconds;
    b.amount = amount;
    b.live = live;
    b.state = state;
    return b;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestQueueFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTripRestoresAndTellsTheMissed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fronta.json"));
        // Written in no particular order, before the program was closed.
        const QList<QueuedBid> saved = {bid(QStringLiteral("Lampa"), 3600, 10, QStringLiteral("250,50"), true),
                                        bid(QStringLiteral("Budík – „starý“"), -120, 5, QStringLiteral("99"), false),
                                        bid(QStringLiteral("Kolo"), 600, 5, QStringLiteral("1200"), false,
                                            QueueState::Checking),
                                        bid(QStringLiteral("Hodinky"), -900, 5, QStringLiteral("10"), true,
                                            QueueState::Done)};
        QVERIFY(writeQueueFile(path, saved));

        const LoadedQueue loaded = loadQueueFile(path, toDays(startUp), startUp);
        QVERIFY(!loaded.damaged);
        QCOMPARE(loaded.missed, 1);
        QStringList order, states;
        for (const QueuedBid &b : loaded.bids) {
            order.append(b.title);
            states.append(queueStateText(b.state));
        }
        QCOMPARE(order, (QStringList{QStringLiteral("Hodinky"), QStringLiteral("Budík – „starý“"),
                                     QStringLiteral("Kolo"), QStringLiteral("Lampa")}));
        QCOMPARE(states, (QStringList{QStringLiteral("hotovo"), QStringLiteral("zmeškáno"), QStringLiteral("čeká"),
                                      QStringLiteral("čeká")}));
        const QueuedBid &lamp = loaded.bids.last();
        QCOMPARE(lamp.url, saved[0].url);
        QCOMPARE(fromDays(lamp.end), fromDays(saved[0].end));
        QCOMPARE(lamp.seconds, 10);
        QCOMPARE(lamp.amount, QStringLiteral("250,50"));
        QVERIFY(lamp.live);
        QVERIFY(!loaded.bids[2].live);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("fronta.json")});
    }

    void noFileIsAnEmptyQueue()
    {
        QTemporaryDir dir;
        const LoadedQueue loaded = loadQueueFile(dir.filePath(QStringLiteral("fronta.json")), toDays(startUp), startUp);
        QVERIFY(loaded.bids.isEmpty());
        QVERIFY(!loaded.damaged);
    }

    void damagedFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray good = queueJson({bid(QStringLiteral("Lampa"), 3600, 10, QStringLiteral("250"), true)});
        QTest::newRow("cut short") << good.left(good.size() / 2);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not JSON") << QByteArray("\x00\x01 fronta", 9);
        QTest::newRow("an array") << QByteArray("[]");
        QTest::newRow("unknown version") << QByteArray(good).replace("\"version\": 1", "\"version\": 7");
        QTest::newRow("amount not an amount") << QByteArray(good).replace("\"250\"", "\"-5\"");
        QTest::newRow("seconds out of range") << QByteArray(good).replace("\"10\"", "\"-5\"");
        QTest::newRow("unknown state") << QByteArray(good).replace("čeká", "spí");
        QTest::newRow("end not a time") << QByteArray(good).replace("2026-12-11T21", "zítra");
    }
    void damagedFileIsKeptAside()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fronta.json"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const LoadedQueue loaded = loadQueueFile(path, toDays(startUp), startUp);
        QVERIFY(loaded.damaged);
        QVERIFY(loaded.bids.isEmpty());
        QCOMPARE(loaded.keptAside, dir.filePath(QStringLiteral("fronta.json.poskozeny-2026-12-11_20-00-00")));
        QCOMPARE(readAll(loaded.keptAside), content);
        QVERIFY(!QFile::exists(path));
        // The queue starts again, written whole beside what was kept.
        QVERIFY(writeQueueFile(path, {}));
        QVERIFY(!loadQueueFile(path, toDays(startUp), startUp).damaged);
    }
};

QTEST_APPLESS_MAIN(TestQueueFile)
#include "tst_queuefile.moc"
