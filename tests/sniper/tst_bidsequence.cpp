#include "fakebidenvironment.h"
#include "recordinginputsink.h"
#include "sniper/bidsequence.h"

#include <QTest>

// The bid's input sequence with its checks, against a recording sink and surroundings played by
// the test; the browser lowers the key-echo flag in the pass the test says.
class TestBidSequence : public QObject
{
    Q_OBJECT
private:
    RecordingInputSink m_input;
    FakeBidEnvironment m_env;
    QStringList m_log;
    bool m_pending = false;
    int m_passes = 0;          // event rounds after the Ctrl release
    int m_echoAtPass = 1;      // the pass during which the browser lowers the flag; 0 never

    BidResult place(const QString &amount = QStringLiteral("150"), bool live = false, int limit = 10)
    {
        return placeBid(m_input, m_env, amount, live, m_pending, limit);
    }

private slots:
    void init()
    {
        m_input = RecordingInputSink();
        m_env = FakeBidEnvironment();
        m_log.clear();
        m_pending = false;
        m_passes = 0;
        m_echoAtPass = 1;
        m_env.log = &m_log;
        m_input.afterEvent = [this](const QString &event) { m_log.append(event); };
        m_env.onProcessEvents = [this] {
            if (!m_input.events.contains(QStringLiteral("Control up")))
                return;
            ++m_passes;
            if (m_passes == m_echoAtPass)
                m_pending = false;
        };
    }

    void checksThenPastesThenProvesThenClicks()
    {
        QVERIFY(place(QStringLiteral(" 1250,50 "), true).ok());
        const QStringList expected = {
            "events", "forward",
            "check 2", "check 1", "covered? 100,200 300,400 500,600",
            "clipboard 1250,50",
            "size", "move 100,200", "left down", "left up", "await click", "left down", "left up", "await click",
            "keyboard?", "Control down", "V down", "V up", "Control up",
            "sleep 2", "events", "value 1",
            "pause 500", "align 2", "size", "move 300,400", "pause 500", "covered? 300,400",
            "left down", "left up", "bid clicked"};
        QCOMPARE(m_log, expected);
        QVERIFY(!m_pending);
    }

    void checksAfterThePasteCountTowardsThePauses()
    {
        // Reading the field back takes 120 ms: the bid button still comes a second after the echo.
        m_env.checkCost = 120;
        QVERIFY(place().ok());
        QCOMPARE(m_log.filter(QStringLiteral("pause")), (QStringList{"pause 380", "pause 500"}));
    }

    void theFieldIsReadUntilThePasteLands()
    {
        // The page shows the amount on the third reading.
        int readings = 0;
        m_env.onProcessEvents = [this] {
            if (m_input.events.contains(QStringLiteral("Control up")))
                m_pending = false;
        };
        m_env.fieldValue = QStringLiteral("10");
        m_env.onValueRead = [&] {
            if (++readings == 3)
                m_env.fieldValue.reset();
        };
        QVERIFY(place().ok());
        QCOMPARE(readings, 3);
        QCOMPARE(m_log.filter(QStringLiteral("pause")), (QStringList{"pause 20", "pause 20", "pause 460", "pause 500"}));
    }

    void aFailedCheckSendsNothingMore_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<int>("untaught");
        QTest::addColumn<int>("textAt");      // position showing plain text instead of its target
        QTest::addColumn<int>("covered");     // index of the covered point
        QTest::addColumn<bool>("keyboard");
        QTest::addColumn<bool>("pageAnswers");
        QTest::addColumn<QString>("fieldHolds");
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("lastInput");   // empty: no input at all

        const QString none;
        const int ok = 0;
        QTest::newRow("letters") << "abc" << ok << ok << -1 << true << true << none << int(BidFailure::BadAmount) << 0 << none;
        QTest::newRow("empty") << "" << ok << ok << -1 << true << true << none << int(BidFailure::BadAmount) << 0 << none;
        QTest::newRow("negative") << "-5" << ok << ok << -1 << true << true << none << int(BidFailure::BadAmount) << 0 << none;
        QTest::newRow("zero") << "0,00" << ok << ok << -1 << true << true << none << int(BidFailure::BadAmount) << 0 << none;
        QTest::newRow("point 1 never taught") << "150" << 1 << ok << -1 << true << true << none << int(BidFailure::NotTaught) << 1 << none;
        QTest::newRow("point 3 never taught, live") << "150" << 3 << ok << -1 << true << true << none << int(BidFailure::NotTaught) << 3 << none;
        QTest::newRow("point 1 over text") << "150" << ok << 1 << -1 << true << true << none << int(BidFailure::NotATextField) << 1 << none;
        QTest::newRow("point 2 over text") << "150" << ok << 2 << -1 << true << true << none << int(BidFailure::NotClickable) << 2 << none;
        QTest::newRow("page silent") << "150" << ok << ok << -1 << true << false << none << int(BidFailure::PageSilent) << 2 << none;
        QTest::newRow("window covered at point 2") << "150" << ok << ok << 1 << true << true << none << int(BidFailure::WindowCovered) << 2 << none;
        QTest::newRow("keyboard elsewhere") << "150" << ok << ok << -1 << false << true << none << int(BidFailure::NoKeyboard) << 0 << "left up";
        QTest::newRow("field holds another amount") << "150" << ok << ok << -1 << true << true << "10150" << int(BidFailure::AmountNotInField) << 1 << "Control up";
    }
    void aFailedCheckSendsNothingMore()
    {
        QFETCH(QString, amount);
        QFETCH(int, untaught);
        QFETCH(int, textAt);
        QFETCH(int, covered);
        QFETCH(bool, keyboard);
        QFETCH(bool, pageAnswers);
        QFETCH(QString, fieldHolds);
        QFETCH(int, failure);
        QFETCH(int, position);
        QFETCH(QString, lastInput);
        m_env.pixels.remove(untaught);
        if (textAt)
            m_env.targets[textAt] = FakeBidEnvironment::text();
        m_env.covered = covered;
        m_env.keyboard = keyboard;
        m_env.pageAnswers = pageAnswers;
        if (!fieldHolds.isEmpty())
            m_env.fieldValue = fieldHolds;

        const BidResult result = place(amount, true);
        QCOMPARE(int(result.failure), failure);
        QCOMPARE(result.position, position);
        QCOMPARE(m_input.events.isEmpty() ? QString() : m_input.events.last(), lastInput);
        // The bid button is never approached, and the clipboard is left alone before any input.
        QVERIFY(!m_input.events.contains(QStringLiteral("move 300,400")));
        QCOMPARE(m_log.contains(QStringLiteral("clipboard 150")), !lastInput.isEmpty());
        QVERIFY(!failureReason(result).isEmpty());
    }

    void theKeyEchoWaitGivesUp_data()
    {
        QTest::addColumn<int>("echoAtPass");
        QTest::addColumn<bool>("completed");
        QTest::newRow("echo in the last allowed pass") << 10 << true;
        QTest::newRow("echo only in the pass after") << 11 << false;
        QTest::newRow("never an echo") << 0 << false;
    }
    void theKeyEchoWaitGivesUp()
    {
        QFETCH(int, echoAtPass);
        QFETCH(bool, completed);
        m_echoAtPass = echoAtPass;
        const BidResult result = place();
        QCOMPARE(result.ok(), completed);
        QCOMPARE(m_passes, qMin(echoAtPass == 0 ? 11 : echoAtPass, 11));
        if (!completed) {
            QCOMPARE(result.failure, BidFailure::KeysNotSeen);
            QCOMPARE(m_input.events.last(), QStringLiteral("Control up"));
        }
    }

    void closingTheWindowStopsTheInput()
    {
        m_echoAtPass = 0;
        m_env.onProcessEvents = [this] { m_env.closed = m_input.events.contains(QStringLiteral("Control up")); };
        QCOMPARE(place().failure, BidFailure::Abandoned);
        QCOMPARE(m_input.events.last(), QStringLiteral("Control up"));
    }

    void confirmation_data()
    {
        QTest::addColumn<bool>("loads");
        QTest::addColumn<bool>("clickable");
        QTest::addColumn<int>("covered");
        QTest::addColumn<int>("failure");
        QTest::newRow("loads, a button, free") << true << true << -1 << int(BidFailure::None);
        QTest::newRow("never loads") << false << true << -1 << int(BidFailure::ConfirmationNotLoaded);
        QTest::newRow("text at point 3") << true << false << -1 << int(BidFailure::NotClickable);
        QTest::newRow("covered") << true << true << 0 << int(BidFailure::WindowCovered);
    }
    void confirmation()
    {
        QFETCH(bool, loads);
        QFETCH(bool, clickable);
        QFETCH(int, covered);
        QFETCH(int, failure);
        m_env.confirmationLoads = loads;
        if (!clickable)
            m_env.targets[3] = FakeBidEnvironment::text();
        m_env.covered = covered;
        const BidResult result = executeBid(m_input, m_env);
        QCOMPARE(int(result.failure), failure);
        QCOMPARE(m_input.events, result.ok() ? QStringList({"size", "move 500,600", "left down", "left up"})
                                             : QStringList());
        if (result.ok())
            QCOMPARE(m_log.first(), QStringLiteral("await page 5000"));
    }

    void inputFailureStopsTheSequence()
    {
        m_input.failOn = QStringLiteral("V down");
        QVERIFY_THROWS_EXCEPTION(InputError, place());
        QCOMPARE(m_input.events.last(), QStringLiteral("Control down"));
        QVERIFY(!m_pending);
    }
};

QTEST_GUILESS_MAIN(TestBidSequence)
#include "tst_bidsequence.moc"
