#include "recordinginputsink.h"
#include "sniper/bidsequence.h"
#include "sniper/positions.h"

#include <QTemporaryDir>
#include <QTest>

// The bid's input sequence against a recording sink; the browser is played by the
// processEvents hook, which lowers the key-echo flag when the test says so.
class TestBidSequence : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_path;
    RecordingInputSink m_input;
    bool m_pending = false;
    int m_passes = 0;          // processEvents calls after the Ctrl release
    int m_echoAtPass = 1;      // the pass during which the browser lowers the flag; 0 never
    QStringList m_log;         // clipboard, sleeps and event rounds, in order with the input
    BidSurroundings m_surroundings;

private slots:
    void init()
    {
        m_path = settingsPath(m_dir.path());
        QFile::remove(m_path);
        QVERIFY(writePosition(m_path, 1, {100, 200}, nullptr));
        QVERIFY(writePosition(m_path, 2, {300, 400}, nullptr));
        QVERIFY(writePosition(m_path, 3, {500, 600}, nullptr));
        m_input = RecordingInputSink();
        m_pending = false;
        m_passes = 0;
        m_echoAtPass = 1;
        m_log.clear();
        m_input.afterEvent = [this](const QString &event) { m_log.append(event); };
        m_surroundings.setClipboard = [this](const QString &text) { m_log.append(QStringLiteral("clipboard ") + text); };
        m_surroundings.sleep = [this](int ms) { m_log.append(QStringLiteral("sleep %1").arg(ms)); };
        m_surroundings.pause = [this](int ms) { m_log.append(QStringLiteral("pause %1").arg(ms)); };
        m_surroundings.awaitClick = [this] { m_log.append(QStringLiteral("await click")); };
        m_surroundings.processEvents = [this] {
            m_log.append(QStringLiteral("events"));
            if (!m_input.events.contains(QStringLiteral("Control up")))
                return;
            ++m_passes;
            if (m_passes == m_echoAtPass)
                m_pending = false;
        };
    }

    void placesTheBidInOrder()
    {
        QVERIFY(placeBid(m_input, m_path, QStringLiteral("1 250,50"), m_pending, m_surroundings));
        const QStringList expected = {
            "events", "clipboard 1 250,50",
            "size", "move 100,200", "left down", "left up", "await click", "left down", "left up", "await click",
            "Control down", "V down", "V up", "Control up",
            "sleep 2", "events",
            "pause 500", "size", "move 300,400", "pause 500", "left down", "left up"};
        QCOMPARE(m_log, expected);
        QVERIFY(!m_pending);
    }

    void flagIsRaisedBetweenVReleaseAndCtrlRelease()
    {
        QStringList raisedAt;
        m_input.afterEvent = [&](const QString &event) { raisedAt.append(event + (m_pending ? " raised" : "")); };
        QVERIFY(placeBid(m_input, m_path, QStringLiteral("5"), m_pending, m_surroundings));
        QCOMPARE(raisedAt.mid(6, 4), (QStringList{"Control down", "V down", "V up", "Control up raised"}));
    }

    void giveUpOrFinish_data()
    {
        QTest::addColumn<int>("echoAtPass");
        QTest::addColumn<bool>("completed");
        QTest::newRow("echo in pass 10000") << 10000 << true;
        QTest::newRow("echo only in the last pass 10001") << 10001 << false;
        QTest::newRow("never an echo") << 0 << false;
    }
    void giveUpOrFinish()
    {
        QFETCH(int, echoAtPass);
        QFETCH(bool, completed);
        m_echoAtPass = echoAtPass;
        QCOMPARE(placeBid(m_input, m_path, QStringLiteral("5"), m_pending, m_surroundings), completed);
        QCOMPARE(m_passes, qMin(echoAtPass == 0 ? 10001 : echoAtPass, 10001));
        // After a give-up position 2 is neither approached nor clicked.
        QCOMPARE(m_input.events.contains(QStringLiteral("move 300,400")), completed);
        QCOMPARE(m_input.events.last(), completed ? QStringLiteral("left up") : QStringLiteral("Control up"));
        // Never lowered, the flag stays raised for the next browser callback.
        if (echoAtPass == 0)
            QVERIFY(m_pending);
    }

    void positionsAreReadWhenTheBidRuns()
    {
        // A capture that lands while the bid starts (the first event round) is the one used.
        m_surroundings.processEvents = [this] {
            if (m_log.isEmpty())
                QVERIFY(writePosition(m_path, 1, {11, 22}, nullptr));
            m_log.append(QStringLiteral("events"));
            m_pending = false;
        };
        QVERIFY(placeBid(m_input, m_path, QStringLiteral("5"), m_pending, m_surroundings));
        QVERIFY(m_input.events.contains(QStringLiteral("move 11,22")));
    }

    void missingFileActsAtTheCorner()
    {
        QFile::remove(m_path);
        QVERIFY(placeBid(m_input, m_path, QStringLiteral("5"), m_pending, m_surroundings));
        QCOMPARE(m_input.events.count(QStringLiteral("move 0,0")), 2);
        m_input.events.clear();
        executeBid(m_input, m_path);
        QCOMPARE(m_input.events, (QStringList{"size", "move 0,0", "left down", "left up"}));
    }

    void executeBidClicksPositionThree()
    {
        executeBid(m_input, m_path);
        QCOMPARE(m_log, (QStringList{"size", "move 500,600", "left down", "left up"}));
    }

    void inputFailureStopsTheSequence()
    {
        m_input.failOn = QStringLiteral("V down");
        QVERIFY_THROWS_EXCEPTION(InputError, placeBid(m_input, m_path, QStringLiteral("5"), m_pending, m_surroundings));
        QCOMPARE(m_input.events.last(), QStringLiteral("Control down"));
        QVERIFY(!m_pending);
    }
};

QTEST_GUILESS_MAIN(TestBidSequence)
#include "tst_bidsequence.moc"
