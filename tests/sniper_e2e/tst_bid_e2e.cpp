#include "fakeauctionsite.h"
#include "programrunner.h"
#include "sniper/positions.h"
#include "xsession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <tuple>

using namespace xsession;

namespace {

// Places in the window's client area, from the window's layout: the address box at the top of
// the browser column, the control panel 285 pixels wide at the right.
constexpr int addressHeight = 21;
constexpr int panelWidth = 285;
constexpr int scrollFrame = 2;
const QPoint button5{16 + 83 + 51, 124 + 46 + 10};
const QPoint amountEdit{14 + 87 + 24, 213 + 63 + 10};
const QPoint secondsEdit{14 + 110 + 16, 213 + 25 + 10};
const QPoint liveMode{16 + 8 + 8, 431 + 15 + 26 + 8};
const QPoint testMode{16 + 8 + 8, 431 + 15 + 8};
const QPoint armButton{16 + 12 + 102, 519 + 26 + 12};

QPoint centre(const QRect &r)
{
    return QPoint(r.x() + r.width() / 2, r.y() + r.height() / 2);
}

} // namespace

class TestBidEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_site.start());
        // The program and its settings file live in a folder of this test alone.
        QVERIFY(m_dir.isValid());
        m_program = ProgramRunner::copyProgram(QStringLiteral(KAVELIN_PROGRAM), m_dir.path());
        QVERIFY(!m_program.isEmpty());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KAVELIN_AUCTION_SITE"), m_site.server().url(QString()).toString());
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(m_dir.path());
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(m_program, {});
        QVERIFY(m_process.waitForStarted());

        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 1, 30000);
        m_window = windows(QStringLiteral("Kavelin")).first();
        // Maximised on the 1280 x 1024 screen.
        QTRY_VERIFY_WITH_TIMEOUT(geometry(m_window).width() >= 1200, 10000);
        m_client = geometry(m_window);

        // The user's routine: the two points of the item page, then the confirmation page's.
        for (const auto &[url, place, position] : {std::tuple{m_site.itemUrl(), FakeAuctionSite::amountField, 1},
                                                   std::tuple{QUrl(), FakeAuctionSite::bidButton, 2},
                                                   std::tuple{m_site.confirmationUrl(QStringLiteral("0")),
                                                              FakeAuctionSite::confirmButton, 3}}) {
            if (!url.isEmpty())
                navigate(url);
            if (QTest::currentTestFailed())
                return;
            capture(place, position);
            if (QTest::currentTestFailed())
                return;
        }
        m_site.clear();
    }

    void cleanup()
    {
        // A picture of the screen when a case fails, for whoever looks into it.
        if (QTest::currentTestFailed()) {
            const QString file = QDir::temp().filePath(QStringLiteral("kavelin-e2e-%1.png")
                                                           .arg(QString::fromLatin1(QTest::currentTestFunction())));
            QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
            qWarning("screen saved to %s", qPrintable(file));
            // A message box left open would hold up every case after this one.
            if (windows(QStringLiteral("Kavelin")).size() > 1)
                closeMessageBox();
        }
    }

    void cleanupTestCase()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished();
    }

    void testModeBidsTheAmountAndConfirmsNothing()
    {
        const QDateTime pressed = armNowPlus15(QStringLiteral("150"), false, 5);
        QTRY_VERIFY_WITH_TIMEOUT(!m_site.bids().isEmpty(), 20000);
        const FakeAuctionSite::Arrival bid = m_site.bids().first();
        QCOMPARE(bid.amount, QStringLiteral("150"));
        // The moment is at least 5 s after the press (15 - 5 - 4, less the picker's fraction of
        // a second), and the bid button is clicked a second after it.
        QVERIFY2(pressed.msecsTo(bid.received) >= 6000, qPrintable(QString::number(pressed.msecsTo(bid.received))));
        // In live mode the confirming click would follow the bid after a pause of a second.
        QTest::qWait(2000);
        QCOMPARE(m_site.bids().size(), 1);
        QVERIFY(m_site.confirmations().isEmpty());
    }

    void liveModeConfirmsTheBid()
    {
        const QDateTime pressed = armNowPlus15(QStringLiteral("2480,50"), true, 5);
        QTRY_VERIFY_WITH_TIMEOUT(!m_site.confirmations().isEmpty(), 20000);
        QCOMPARE(m_site.bids().size(), 1);
        const FakeAuctionSite::Arrival bid = m_site.bids().first();
        const FakeAuctionSite::Arrival confirmation = m_site.confirmations().first();
        QCOMPARE(bid.amount, QStringLiteral("2480,50"));
        QCOMPARE(confirmation.amount, QStringLiteral("2480,50"));
        QVERIFY2(pressed.msecsTo(bid.received) >= 6000, qPrintable(QString::number(pressed.msecsTo(bid.received))));
        // The confirming click comes about a second after the click on the bid button.
        QVERIFY2(bid.received < confirmation.received, qPrintable(QString::number(bid.received.msecsTo(confirmation.received))));
        qInfo("bid %lld ms after the press, confirmation %lld ms after the bid", pressed.msecsTo(bid.received),
              bid.received.msecsTo(confirmation.received));
        QTest::qWait(1000);
        QCOMPARE(m_site.confirmations().size(), 1);
    }

    void pageScrolledAfterTeachingStillBids()
    {
        navigate(m_site.itemUrl());
        // The wheel over the page: the amount field goes out of sight.
        click(inView(QPoint(600, 500)), 5, 10);
        const QDateTime pressed = armNowPlus15(QStringLiteral("321"), false, 9, false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_site.bids().isEmpty(), 20000);
        QCOMPARE(m_site.bids().first().amount, QStringLiteral("321"));
        qInfo("bid %lld ms after the press", pressed.msecsTo(m_site.bids().first().received));
    }

    void windowCoveredAtTheMomentSendsNothing()
    {
        // Another program's window, kept above Kavelin, over the browser; it reports every
        // event it receives.
        QProcess other;
        other.start(QStringLiteral("xev"), {QStringLiteral("-name"), QStringLiteral("Jiny program"),
                                            QStringLiteral("-geometry"), QStringLiteral("700x500+20+60")});
        QVERIFY(other.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Jiny program")).size() == 1, 10000);
        QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-r"), QStringLiteral("Jiny program"),
                                                    QStringLiteral("-b"), QStringLiteral("add,above")});
        armNowPlus15(QStringLiteral("555"), true, 9, false);
        const qsizetype before = other.readAllStandardOutput().count("ButtonPress");
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 2, 20000);
        QVERIFY(m_site.bids().isEmpty());
        const QByteArray seen = other.readAllStandardOutput();
        QCOMPARE(before + seen.count("ButtonPress") + seen.count("KeyPress"), 0);
        other.kill();
        other.waitForFinished();
        closeMessageBox();
        QVERIFY(m_site.bids().isEmpty());
    }

    void amountFieldMovedAwayClicksNothing()
    {
        armNowPlus15(QStringLiteral("444"), true, 9, false);
        // The page shifts its layout after arming: a notice now lies at point 1.
        m_site.shiftLayout();
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 2, 20000);
        closeMessageBox();
        QVERIFY(m_site.bids().isEmpty());
        QVERIFY(m_site.confirmations().isEmpty());
    }

    void armingIsRefused_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("taught");
        QTest::newRow("amount abc") << "abc" << true;
        QTest::newRow("no points taught") << "150" << false;
    }
    void armingIsRefused()
    {
        QFETCH(QString, amount);
        QFETCH(bool, taught);
        const QString file = settingsPath(m_dir.path());
        if (!taught)
            QVERIFY(QFile::rename(file, file + QStringLiteral(".saved")));
        const QDateTime pressed = armNowPlus15(amount, true, 9, false);
        // At once: a box, and nothing armed.
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 2, 5000);
        closeMessageBox();
        if (!taught)
            QVERIFY(QFile::rename(file + QStringLiteral(".saved"), file));
        // Past the moment it would have had, and the click a second after it.
        QTest::qWait(qMax(0, 4000 - int(pressed.msecsTo(QDateTime::currentDateTime()))));
        QVERIFY(m_site.bids().isEmpty());
        QCOMPARE(windows(QStringLiteral("Kavelin")).size(), 1);
    }

    // Last: the program ends here.
    void closingTheMainWindowWithAPopUpOpenEndsTheProgram()
    {
        // A page opens the item page in a window of its own, titled by its page.
        navigate(m_site.server().url(QStringLiteral("/popup")));
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Aukce")).size() == 1, 10000);
        // Out of the way of the address box and the panel.
        QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-r"), QStringLiteral("Aukce"), QStringLiteral("-e"),
                                                    QStringLiteral("0,500,600,300,200")});
        activate(m_window);
        // A moment far enough ahead that the window is closed before it.
        armNowPlus15(QStringLiteral("999"), true, 5);
        QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), m_window});
        QVERIFY(m_process.waitForFinished(5000));
        QCOMPARE(m_process.exitStatus(), QProcess::NormalExit);
        QVERIFY(m_site.bids().isEmpty());
    }

private:
    QPoint inView(const QPoint &pagePoint) const
    {
        return m_client.topLeft() + QPoint(0, addressHeight) + pagePoint;
    }

    QPoint inPanel(const QPoint &contentPoint) const
    {
        return QPoint(m_client.right() + 1 - panelWidth + scrollFrame, m_client.top() + scrollFrame) + contentPoint;
    }

    void navigate(const QUrl &url)
    {
        const qsizetype before = m_site.server().requestsFor("/painted").size();
        click(m_client.topLeft() + QPoint(200, addressHeight / 2));
        keys({QStringLiteral("ctrl+a")});
        type(url.toString());
        keys({QStringLiteral("Return")});
        QTRY_VERIFY_WITH_TIMEOUT(m_site.server().requestsFor("/painted").size() > before, 20000);
    }

    void capture(const QRect &onPage, int position)
    {
        const QPoint at = inView(centre(onPage));
        click(at, 3);
        QTest::qWait(1000);
        // The three items end the menu: Up from the menu's end reaches 3, then 2, then 1.
        QStringList ups;
        for (int i = position; i <= 3; ++i)
            ups.append(QStringLiteral("Up"));
        keys(ups + QStringList{QStringLiteral("Return")});
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 2, 10000);
        closeMessageBox();
        QCOMPARE(readPosition(settingsPath(m_dir.path()), position), (ScreenPoint{at.x(), at.y()}));
    }

    void closeMessageBox()
    {
        for (const QString &w : windows(QStringLiteral("Kavelin"))) {
            if (w != m_window)
                activate(w);
        }
        keys({QStringLiteral("Return")});
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 1, 10000);
    }

    // Loads the item page (unless told not to), presses "Nyní + 15 sekund", types the seconds
    // and the amount, picks the mode and arms; returns the moment just before the press.
    QDateTime armNowPlus15(const QString &amount, bool live, int seconds = 9, bool load = true)
    {
        if (load)
            navigate(m_site.itemUrl());
        m_site.clear();
        click(inPanel(live ? liveMode : testMode));
        click(inPanel(secondsEdit));
        keys({QStringLiteral("ctrl+a")});
        type(QString::number(seconds));
        const QDateTime pressed = QDateTime::currentDateTime();
        click(inPanel(button5));
        click(inPanel(amountEdit));
        keys({QStringLiteral("ctrl+a")});
        type(amount);
        click(inPanel(armButton));
        return pressed;
    }

    FakeAuctionSite m_site;
    QTemporaryDir m_dir;
    QString m_program;
    QProcess m_process;
    QString m_window;
    QRect m_client;
};

QTEST_GUILESS_MAIN(TestBidEndToEnd)
#include "tst_bid_e2e.moc"
