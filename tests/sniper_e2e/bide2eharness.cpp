#include "bide2eharness.h"

#include "programrunner.h"
#include "sniper/positions.h"
#include "xsession.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

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

void BidEndToEnd::initTestCase()
{
    QVERIFY(m_site.start());
    // The program and its settings file live in a folder of this test alone.
    QVERIFY(m_dir.isValid());
    m_program = ProgramRunner::copyProgram(QStringLiteral(KAVELIN_PROGRAM), m_dir.path());
    QVERIFY(!m_program.isEmpty());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KAVELIN_AUCTION_SITE"), m_site.server().url(QString()).toString());
    // The user's data, with the records of bids, in the test's folder.
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
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

void BidEndToEnd::cleanup()
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

void BidEndToEnd::cleanupTestCase()
{
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished();
}

QPoint BidEndToEnd::inView(const QPoint &pagePoint) const
{
    return m_client.topLeft() + QPoint(0, addressHeight) + pagePoint;
}

QPoint BidEndToEnd::inPanel(const QPoint &contentPoint) const
{
    return QPoint(m_client.right() + 1 - panelWidth + scrollFrame, m_client.top() + scrollFrame) + contentPoint;
}

void BidEndToEnd::navigate(const QUrl &url)
{
    const qsizetype before = m_site.server().requestsFor("/painted").size();
    click(m_client.topLeft() + QPoint(200, addressHeight / 2));
    keys({QStringLiteral("ctrl+a")});
    type(url.toString());
    keys({QStringLiteral("Return")});
    QTRY_VERIFY_WITH_TIMEOUT(m_site.server().requestsFor("/painted").size() > before, 20000);
}

void BidEndToEnd::capture(const QRect &onPage, int position)
{
    const QPoint at = inView(centre(onPage));
    const qsizetype shown = windowsOf(QStringLiteral("kavelin")).size();
    click(at, 3);
    QTRY_VERIFY_WITH_TIMEOUT(windowsOf(QStringLiteral("kavelin")).size() > shown, 10000);
    // The three items end the menu: Up from the menu's end reaches 3, then 2, then 1.
    QStringList ups;
    for (int i = position; i <= 3; ++i)
        ups.append(QStringLiteral("Up"));
    keys(ups + QStringList{QStringLiteral("Return")});
    QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 2, 10000);
    closeMessageBox();
    QCOMPARE(readPosition(settingsPath(m_dir.path()), position), (ScreenPoint{at.x(), at.y()}));
}

void BidEndToEnd::closeMessageBox()
{
    for (const QString &w : windows(QStringLiteral("Kavelin"))) {
        if (w != m_window)
            activate(w);
    }
    keys({QStringLiteral("Return")});
    QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 1, 10000);
}

QDateTime BidEndToEnd::armNowPlus15(const QString &amount, bool live, int seconds, bool load)
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

QString BidEndToEnd::newestRecord() const
{
    QDirIterator it(m_dir.filePath(QStringLiteral("data")), {QStringLiteral("prihozy")}, QDir::Dirs,
                    QDirIterator::Subdirectories);
    if (!it.hasNext())
        return QString();
    const QDir records(it.next());
    const QStringList names = records.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    return names.isEmpty() ? QString() : records.filePath(names.last());
}

Journal BidEndToEnd::outcomeAfter(const QString &previousRecord) const
{
    const QString record = newestRecord();
    if (record == previousRecord)
        return {};
    Journal journal = readJournal(fileContent(QDir(record).filePath(QStringLiteral("journal.jsonl"))));
    if (journal.entries.isEmpty() || journal.entries.last().event != QLatin1String("outcome"))
        return {};
    return journal;
}
