#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "fakeauctionsite.h"
#include "filecontent.h"
#include "messageboxanswerer.h"
#include "privatesessionbus.h"
#include "sniper/countdown.h"
#include "sniper/journal.h"
#include "sniper/positions.h"
#include "sniper/queuefile.h"
#include "tmain_formtestaccess.h"
#include "ui/queueserver.h"
#include "ui/queuestore.h"
#include "ui/tmain_form.h"
#include "ui/tradiogroup.h"
#include "webtest.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineProfile>

namespace {
constexpr int pageTimeout = 20000;
constexpr double msPerDay = 86400000.0;
// The queue loads an item's page this long before its moment; the test skips ahead to a little
// less than that before each bid, so that nothing waits out real minutes.
constexpr int loadLeadMs = 2500;
// The seconds typed for every bid: its moment is 2 + 4 s before the auction's end.
constexpr int bidSeconds = 2;

PrivateSessionBus privateBus;

struct Item
{
    QByteArray path;
    QString title;
    int endsIn;       // seconds after the scenario's start, by the program's clock
    QString amount;
};

const Item lampa{"/item/1", QStringLiteral("Lampa"), 40, QStringLiteral("777")};
const Item kolo{"/item/2", QStringLiteral("Kolo"), 80, QStringLiteral("1250,50")};
const Item hodiny{"/item/3", QStringLiteral("Hodiny"), 120, QStringLiteral("99")};
// Its moment lies 10 s after Lampa's.
const Item vaza{"/item/4", QStringLiteral("Váza"), 50, QStringLiteral("500")};
// Queued once Lampa's bid is done, its moment 8 s after Lampa's; it passes while the program is
// closed.
const Item budik{"/item/5", QStringLiteral("Budík"), 48, QStringLiteral("60")};

} // namespace

// The queue as the user meets it: the real browser against the fake auction site, the real X
// input and clipboard under a window manager, the program quit and started again between the
// bids. The program's clock runs the test's skip ahead of the computer's; the skip only grows
// while nothing is due.
class TestQueueEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(privateBus.pid > 0, "no dbus-daemon");
        QVERIFY(offerOnSessionBus(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                                  &m_saver));
        QVERIFY(m_site.start());
        QVERIFY(m_dir.isValid());
        m_site.server().setRoute("/jinde", QByteArray("<html><head><title>Jinde</title></head><body>Jinde</body></html>"));
        QFile::remove(QueueServer::defaultPath());
        m_answerer.reset(new MessageBoxAnswerer);
    }

    void cleanupTestCase()
    {
        delete m_form;
        QFile::remove(QueueServer::defaultPath());
    }

    void threeBidsAcrossARestart()
    {
        QElapsedTimer took;
        took.start();
        openForm();
        const QDateTime start = fromDays(programNow());
        const QDateTime base = start.addMSecs(1000 - start.time().msec());
        for (const Item *item : {&lampa, &kolo, &hodiny, &vaza, &budik})
            m_site.addItem(item->path, item->title, base.addSecs(item->endsIn).time());

        for (const Item *item : {&lampa, &kolo, &hodiny})
            QVERIFY(queue(*item, base).isEmpty());
        QCOMPARE(titles(), (QStringList{"Lampa", "Kolo", "Hodiny"}));

        // Within 30 s of Lampa's moment: neither the queue nor the panel's countdown takes it.
        const QStringList refused = queue(vaza, base);
        QCOMPARE(refused.size(), 1);
        QVERIFY2(refused.first().startsWith(QStringLiteral("Okamžik příhozu leží méně než 30 s od okamžiku příhozu „Lampa“")),
                 qPrintable(refused.first()));
        QVERIFY(refused.first().endsWith(QStringLiteral("Příhoz nebyl zařazen do fronty.")));
        m_answerer->seen.clear();
        m_form->Odpocitavat_BTT->click();
        QCOMPARE(m_answerer->texts().size(), 1);
        QVERIFY2(m_answerer->texts().first().contains(QStringLiteral("„Lampa“"))
                     && m_answerer->texts().first().endsWith(QStringLiteral("Odpočet nebyl zapnut.")),
                 qPrintable(m_answerer->texts().first()));
        QVERIFY(!m_form->Timer1->isActive());
        QCOMPARE(titles().size(), 3);
        QTRY_COMPARE(m_saver.held.size(), 1);

        // The user browses elsewhere; the queue brings Lampa's page back and bids there.
        load(m_site.server().url(QStringLiteral("/jinde")));
        m_form->castka1_edit->setText(QStringLiteral("1"));
        bidsAtItsMoment(lampa, base);
        if (QTest::currentTestFailed())
            return;

        // Budík joins the queue once Lampa's bid is done; the program is quit before its page is
        // due, and started again after its moment.
        QVERIFY(queue(budik, base).isEmpty());
        QCOMPARE(state(budik), QueueState::Waiting);
        const QPoint amountPixel = screenPixel(FakeAuctionSite::amountField);
        delete m_form;
        m_form = nullptr;
        skipTo(moment(budik, base) + 1000 / msPerDay);
        m_answerer->seen.clear();
        openForm(false);
        QCOMPARE(screenPixel(FakeAuctionSite::amountField), amountPixel);   // the points taught before still hold
        QTRY_COMPARE(m_answerer->texts().size(), 1);
        const QString missed = m_answerer->texts().first();
        QVERIFY2(missed.contains(QStringLiteral("„Budík“")) && !missed.contains(QStringLiteral("„Kolo“")), qPrintable(missed));
        QCOMPARE(state(lampa), QueueState::Done);
        QCOMPARE(state(budik), QueueState::Missed);
        QCOMPARE(state(kolo), QueueState::Waiting);
        QCOMPARE(state(hodiny), QueueState::Waiting);

        load(m_site.server().url(QStringLiteral("/jinde")));
        bidsAtItsMoment(kolo, base);
        if (QTest::currentTestFailed())
            return;
        // The site's clock runs 2 s ahead of the computer's: Hodiny's bid goes 2 s before its
        // moment by the computer's clock, and is the queue's all the same.
        load(m_site.url(lampa.path));
        m_site.server().setClockOffset(2000);
        bidsAtItsMoment(hodiny, base, 2000);
        m_site.server().setClockOffset(0);
        if (QTest::currentTestFailed())
            return;

        // Nothing reached the site but the three bids, each from its own page with its own amount.
        QCOMPARE(m_site.bids().size(), 3);
        QCOMPARE(m_site.confirmations().size(), 3);
        QVERIFY(m_site.bidsFor(vaza.path).isEmpty() && m_site.bidsFor(budik.path).isEmpty());
        QTRY_VERIFY(m_saver.held.isEmpty());
        const LoadedQueue kept = loadQueueFile(QueueServer::defaultPath(), programNow(), QDateTime::currentDateTime());
        QStringList states;
        for (const QueuedBid &bid : kept.bids)
            states.append(bid.title + QLatin1Char(' ') + queueStateText(bid.state));
        QCOMPARE(states, (QStringList{"Lampa hotovo", "Budík zmeškáno", "Kolo hotovo", "Hodiny hotovo"}));
        QCOMPARE(kept.missed, 0);

        // A record per bid, in their order, each ending in success.
        const QDir records(recordsFolder());
        const QStringList folders = records.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(folders.size(), 3);
        const Item *order[] = {&lampa, &kolo, &hodiny};
        for (int i = 0; i < 3; ++i) {
            const Journal journal = readJournal(fileContent(records.filePath(folders[i] + QStringLiteral("/journal.jsonl"))));
            QVERIFY(!journal.damaged && !journal.entries.isEmpty());
            const Item &item = *order[i];
            QCOMPARE(journal.entries.first().fields.value(QStringLiteral("title")).toString(), item.title);
            QCOMPARE(journal.entries.first().fields.value(QStringLiteral("amount")).toString(), item.amount);
            QCOMPARE(journal.entries.last().event, QStringLiteral("outcome"));
            QVERIFY(journal.entries.last().fields.value(QStringLiteral("ok")).toBool());
        }
        qInfo("scenario took %lld ms of real time, %lld ms skipped", took.elapsed(), m_skipMs);
    }

private:
    double programNow() const { return toDays(QDateTime::currentDateTime().addMSecs(m_skipMs)); }
    QString recordsFolder() const { return QDir(m_dir.path()).filePath(QStringLiteral("prihozy")); }

    static double moment(const Item &item, const QDateTime &base)
    {
        return queuedMoment(toDays(base.addSecs(item.endsIn)), bidSeconds);
    }

    // The program's clock jumps ahead to at.
    void skipTo(double at)
    {
        const qint64 ahead = qint64(std::llround((at - programNow()) * msPerDay));
        QVERIFY(ahead >= 0);
        m_skipMs += ahead;
    }

    void openForm(bool teach = true)
    {
        TMain_FormHooks hooks;
        hooks.SettingsFolder = m_dir.path();
        hooks.RecordsFolder = recordsFolder();
        hooks.Now = [this] { return programNow(); };
        // The item page is read again at once when armed, never in the last second.
        hooks.Watch.checkLeadMs = 600000;
        hooks.Watch.quietMs = 1000;
        hooks.Watch.pageLoadMs = 5000;
        m_form = new TMain_Form(&m_profile, hooks);
        m_form->Fronta->Timing.announceMs = loadLeadMs + 5000;
        m_form->Fronta->Timing.loadLeadMs = loadLeadMs;
        m_form->Fronta->Timing.pageLoadMs = 5000;
        // The site's Date headers follow the computer's clock, as the clock meter compares them
        // with that clock and not with the program's: the measured offset stays about zero, as it
        // would if both clocks had moved on together.
        m_form->showMaximized();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QTRY_VERIFY(m_form->Chromium1->view()->width() > 800);
        if (!teach)
            return;
        for (const auto &[position, place] : {std::pair{1, FakeAuctionSite::amountField},
                                              std::pair{2, FakeAuctionSite::bidButton},
                                              std::pair{3, FakeAuctionSite::confirmButton}}) {
            const QPoint pixel = screenPixel(place);
            QVERIFY(writeTaughtPoint(m_form->SettingsPath(), position, {pixel.x(), pixel.y()}, {place.center(), {}}, {},
                                     nullptr));
        }
    }

    QPoint screenPixel(const QRect &onPage) const
    {
        BrowserView *view = m_form->Chromium1->view();
        return view->mapToGlobal(onPage.center()) * view->devicePixelRatioF();
    }

    void load(const QUrl &url)
    {
        QSignalSpy loaded(m_form->Chromium1->page(), &QWebEnginePage::loadFinished);
        m_form->Chromium1->NavigateTo(url.toString());
        QVERIFY(loaded.wait(pageTimeout));
    }

    // From the item's page: the end read by "načíst čas", the seconds and the amount typed, live
    // mode, "Přidat do fronty". Returns the boxes shown.
    QStringList queue(const Item &item, const QDateTime &base)
    {
        const QDateTime end = base.addSecs(item.endsIn);
        load(m_site.url(item.path));
        m_form->Button4->click();
        [&] { QCOMPARE(m_form->doKonce_DTP->time(), end.time()); }();
        m_form->Zitra_CheckBox->setChecked(end.date() > fromDays(programNow()).date());
        m_form->Sekund1_Edit->setText(QString::number(bidSeconds));
        m_form->castka1_edit->setText(item.amount);
        m_form->Mod_RadioGroup->setItemIndex(1);
        m_answerer->seen.clear();
        m_form->Fronta->Pridat_BTT->click();
        return m_answerer->texts();
    }

    // Skips to a little before the item's page is due, then waits for the bid to be done.
    void bidsAtItsMoment(const Item &item, const QDateTime &base, int siteAheadMs = 0)
    {
        const double at = moment(item, base);
        QCOMPARE(state(item), QueueState::Waiting);
        m_answerer->seen.clear();
        // A site whose clock is ahead wants its bid that much earlier: its page comes earlier too.
        m_form->Fronta->Timing.loadLeadMs = loadLeadMs + siteAheadMs;
        skipTo(at - (loadLeadMs + siteAheadMs - 200) / msPerDay);
        m_form->Fronta->serve();
        QCOMPARE(state(item), QueueState::Checking);
        QTRY_VERIFY_WITH_TIMEOUT(m_form->Timer1->isActive(), pageTimeout);
        QVERIFY(m_form->Chromium1->CurrentUrl().endsWith(QString::fromUtf8(item.path)));
        QTRY_COMPARE_WITH_TIMEOUT(state(item), QueueState::Done, 15000);
        const QList<FakeAuctionSite::Arrival> bids = m_site.bidsFor(item.path);
        QTRY_COMPARE(m_site.confirmationsFor(item.path).size(), 1);
        QCOMPARE(bids.size(), 1);
        QCOMPARE(bids.first().amount, item.amount);
        QCOMPARE(m_site.confirmationsFor(item.path).first().amount, item.amount);
        // The bid reached the site after its moment by the site's clock, and soon after.
        const qint64 after = fromDays(at).msecsTo(bids.first().received.addMSecs(m_skipMs + siteAheadMs));
        QVERIFY2(after >= 0 && after < 3000, qPrintable(QString::number(after)));
        QVERIFY2(m_answerer->texts().isEmpty(), qPrintable(m_answerer->texts().join(QLatin1Char('|'))));
    }

    QueueState state(const Item &item) const
    {
        for (const QueuedBid &bid : m_form->Fronta->store()->bids()) {
            if (bid.title == item.title)
                return bid.state;
        }
        return QueueState::Failed;
    }

    QStringList titles() const
    {
        QStringList out;
        for (const QueuedBid &bid : m_form->Fronta->store()->bids())
            out.append(bid.title);
        return out;
    }

    FakeScreenSaver m_saver;
    FakeAuctionSite m_site;
    QTemporaryDir m_dir;
    QWebEngineProfile m_profile;
    TMain_Form *m_form = nullptr;
    QScopedPointer<MessageBoxAnswerer> m_answerer;
    qint64 m_skipMs = 0;
};

KAVELIN_WEBTEST_MAIN(TestQueueEndToEnd)
#include "tst_queue_e2e.moc"
