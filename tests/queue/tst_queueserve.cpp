#include "messageboxanswerer.h"
#include "privatesessionbus.h"
#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "sniper/countdown.h"
#include "sniper/endtime.h"
#include "sniper/positions.h"
#include "sniper/queuefile.h"
#include "testhttpserver.h"
#include "ui/queueserver.h"
#include "ui/queuestore.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "webtest.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>

#include <cmath>

namespace {
constexpr int pageTimeout = 20000;

PrivateSessionBus privateBus;

QByteArray itemPage(const QString &title, const QTime &end)
{
    return "<html><head><title>" + title.toUtf8() + "</title></head><body><p>Končí: "
        + endTimeMarker.toString().toUtf8() + end.toString(QStringLiteral("HH:mm:ss")).toUtf8() + "</span></p></body></html>";
}

QTime wholeSecondsFromNow(int seconds)
{
    const QTime t = QTime::currentTime().addSecs(seconds);
    return QTime(t.hour(), t.minute(), t.second());
}
} // namespace

// The queue in the main window, with the real browser against a site on loopback; the bid's
// checks hold and its input is recorded.
class TestQueueServe : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(privateBus.pid > 0, "no dbus-daemon");
        QVERIFY(offerOnSessionBus(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                                  &m_saver));
        QVERIFY(m_server.start());
        QFile::remove(QueueServer::defaultPath());
    }

    void cleanup()
    {
        m_skippedMs = 0;
        delete m_form;
        m_form = nullptr;
        QFile::remove(QueueServer::defaultPath());
    }

    void addedRefusedAndServedWhileBrowsingElsewhere()
    {
        openForm();
        const QTime end = wholeSecondsFromNow(30);
        m_server.setRoute("/item", itemPage(QStringLiteral("Lampa"), end));
        m_server.setRoute("/other", QByteArray("<html><head><title>Jinde</title></head><body>Jinde</body></html>"));
        load(QStringLiteral("/item"));
        m_form->Fronta->Timing.loadLeadMs = 6000;
        m_form->Fronta->Timing.announceMs = 8000;
        m_form->doKonce_DTP->setTime(end);
        m_form->Sekund1_Edit->setText(QStringLiteral("2"));
        m_form->castka1_edit->setText(QStringLiteral("777"));
        m_form->Fronta->Pridat_BTT->click();
        const QList<QueuedBid> &bids = m_form->Fronta->store()->bids();
        QCOMPARE(bids.size(), 1);
        QCOMPARE(bids.first().title, QStringLiteral("Lampa"));
        QCOMPARE(bids.first().amount, QStringLiteral("777"));
        QTRY_COMPARE(m_saver.held.size(), 1);   // kept awake while it waits

        // 10 s earlier is within 30 s of it, for the queue and for the panel's countdown alike.
        m_form->Sekund1_Edit->setText(QStringLiteral("12"));
        {
            MessageBoxAnswerer answerer;
            m_form->Fronta->Pridat_BTT->click();
            inside(m_form).Odpocitavat_BTTClick();
            QVERIFY2(answerer.texts().size() == 2, qPrintable(answerer.texts().join(QLatin1Char('|'))));
            QVERIFY2(answerer.texts()[0].contains(QStringLiteral("„Lampa“")), qPrintable(answerer.texts()[0]));
            QVERIFY2(answerer.texts()[1].endsWith(QStringLiteral("Odpočet nebyl zapnut.")), qPrintable(answerer.texts()[1]));
        }
        QCOMPARE(bids.size(), 1);
        QVERIFY(!m_form->Timer1->isActive());

        // The user browses elsewhere; the queue brings the item's page back, finds the auction
        // extended by 4 s, and bids there then. The window's clock is moved on to each stretch.
        const QDateTime endAt(QDate::currentDate(), end);
        m_server.setRoute("/item", itemPage(QStringLiteral("Lampa"), end.addSecs(4)));
        inside(m_form).hooks().Watch.checkLeadMs = 600000;
        inside(m_form).hooks().Watch.quietMs = 1000;
        load(QStringLiteral("/other"));
        m_form->castka1_edit->setText(QStringLiteral("1"));
        skipTo(endAt.addSecs(-(2 + 4) - 5));   // the moment is n + 4 s before the end
        QTRY_COMPARE_WITH_TIMEOUT(bids.first().state, QueueState::Checking, pageTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(m_form->Timer1->isActive(), pageTimeout);
        QVERIFY(m_form->Chromium1->CurrentUrl().endsWith(QStringLiteral("/item")));
        QCOMPARE(m_form->castka1_edit->text(), QStringLiteral("777"));
        QTRY_COMPARE_WITH_TIMEOUT(fromDays(bids.first().end).time(), end.addSecs(4), pageTimeout);
        skipTo(endAt.addSecs(4 - (2 + 4) - 2));
        QCOMPARE(bids.first().state, QueueState::Checking);
        QTRY_COMPARE_WITH_TIMEOUT(bids.first().state, QueueState::Done, 15000);
        QVERIFY(m_log.contains(QStringLiteral("clipboard 777")));
        QTRY_VERIFY(m_saver.held.isEmpty());
        QCOMPARE(loadQueueFile(QueueServer::defaultPath(), inside(m_form).hooks().Now(), QDateTime::currentDateTime()).bids.first().state,
                 QueueState::Done);
    }

    void restartKeepsTheRestAndTellsTheMissed()
    {
        const double now = toDays(QDateTime::currentDateTime());
        QueuedBid passed;
        passed.url = m_server.url(QStringLiteral("/item")).toString();
        passed.title = QStringLiteral("Budík");
        passed.end = now - 60.0 / 86400;
        passed.seconds = 5;
        passed.amount = QStringLiteral("50");
        QueuedBid ahead = passed;
        ahead.title = QStringLiteral("Kolo");
        ahead.end = now + 3600.0 / 86400;
        QVERIFY(writeQueueFile(QueueServer::defaultPath(), {ahead, passed}));

        auto answerer = std::make_unique<MessageBoxAnswerer>();
        openForm();
        QTRY_COMPARE(answerer->texts().size(), 1);
        QVERIFY2(answerer->texts().first().contains(QStringLiteral("„Budík“")), qPrintable(answerer->texts().first()));
        QVERIFY(!answerer->texts().first().contains(QStringLiteral("„Kolo“")));
        const QList<QueuedBid> &bids = m_form->Fronta->store()->bids();
        QCOMPARE(bids.size(), 2);
        QCOMPARE(bids[0].state, QueueState::Missed);
        QCOMPARE(bids[1].state, QueueState::Waiting);

        // Started again, nothing more is told: the missed bid was written as missed.
        delete m_form;
        openForm();
        QTest::qWait(0);
        QCOMPARE(answerer->texts().size(), 1);

        // The user's own countdown after the waiting bid would keep the queue from serving it.
        answerer.reset();
        MessageBoxAnswerer no(QStringLiteral("Ne"));
        m_form->doKonce_DTP->setDateTime(fromDays(ahead.end + 600.0 / 86400));
        m_form->Zitra_CheckBox->setChecked(std::floor(ahead.end + 600.0 / 86400) > std::floor(now));
        inside(m_form).Odpocitavat_BTTClick();
        QTRY_COMPARE(no.texts().size(), 1);
        QVERIFY2(no.texts().first().contains(QStringLiteral("„Kolo“")), qPrintable(no.texts().first()));
        QVERIFY(!m_form->Timer1->isActive());
    }

private:
    void openForm()
    {
        m_log.clear();
        TMain_FormHooks hooks = recordedBidHooks(m_dir.path(), &m_form, &m_log);
        hooks.Now = [this] { return toDays(QDateTime::currentDateTime().addMSecs(m_skippedMs)); };
        m_form = new TMain_Form(&m_profile, hooks);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        for (int position : {1, 2, 3})
            QVERIFY(writePosition(m_form->SettingsPath(), position, {1, 1}, nullptr));
    }

    // Moves the window's clock on to when, unless it is there already.
    void skipTo(const QDateTime &when)
    {
        m_skippedMs += qMax<qint64>(0, QDateTime::currentDateTime().addMSecs(m_skippedMs).msecsTo(when));
    }

    void load(const QString &path)
    {
        QSignalSpy loaded(m_form->Chromium1->page(), &QWebEnginePage::loadFinished);
        m_form->Chromium1->NavigateTo(m_server.url(path).toString());
        QVERIFY(loaded.wait(pageTimeout));
    }

    FakeScreenSaver m_saver;
    TestHttpServer m_server;
    QTemporaryDir m_dir;
    QWebEngineProfile m_profile;
    TMain_Form *m_form = nullptr;
    QStringList m_log;
    qint64 m_skippedMs = 0;
};

KAVELIN_WEBTEST_MAIN(TestQueueServe)
#include "tst_queueserve.moc"
