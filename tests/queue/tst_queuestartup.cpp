#include "privatesessionbus.h"
#include "browser/tchromium.h"
#include "sniper/countdown.h"
#include "sniper/positions.h"
#include "sniper/queuefile.h"
#include "testhttpserver.h"
#include "tmain_formtestaccess.h"
#include "ui/queueserver.h"
#include "ui/queuestore.h"
#include "ui/tmain_form.h"
#include "webtest.h"
#include "webwait.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>

#include <cmath>

namespace {
PrivateSessionBus privateBus;
}

// The program started shortly before a queued bid's moment: the bid's page is loaded and the
// countdown armed for it at once, after the window's own start page and not under it.
class TestQueueStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_server.setRoute("/item", QByteArray("<html><head><title>Lampa</title></head><body>Lampa</body></html>"));
    }

    void cleanupTestCase()
    {
        delete m_form;
        QFile::remove(QueueServer::defaultPath());
    }

    void aBidDueSoonIsServedOnItsOwnPage()
    {
        // Its moment 20 s ahead lies within the time the queue loads a page before its moment.
        QueuedBid bid;
        bid.url = m_server.url(QStringLiteral("/item")).toString();
        bid.title = QStringLiteral("Lampa");
        bid.end = std::floor(toDays(QDateTime::currentDateTime().addSecs(30)) * 86400) / 86400;
        bid.seconds = 6;
        bid.amount = QStringLiteral("321");
        QVERIFY(QDir().mkpath(QFileInfo(QueueServer::defaultPath()).absolutePath()));
        QVERIFY(writeQueueFile(QueueServer::defaultPath(), {bid}));

        const TMain_FormHooks hooks = recordedBidHooks(m_dir.path(), &m_form);
        for (int position : {1, 2, 3})
            QVERIFY(writePosition(settingsPath(m_dir.path()), position, {1, 1}, nullptr));
        m_form = new TMain_Form(&m_profile, hooks);
        m_form->show();
        QTRY_VERIFY_WITH_TIMEOUT(m_form->Timer1->isActive(), webtest::pageTimeout);
        QCOMPARE(m_form->Chromium1->CurrentUrl(), bid.url);
        QCOMPARE(m_form->castka1_edit->text(), QStringLiteral("321"));
        QCOMPARE(fromDays(inside(m_form).TargetTime()), fromDays(queuedMoment(bid)));
        QCOMPARE(m_form->Fronta->store()->bids().first().state, QueueState::Checking);
    }

private:
    TestHttpServer m_server;
    QTemporaryDir m_dir;
    QWebEngineProfile m_profile;
    TMain_Form *m_form = nullptr;
};

KAVELIN_WEBTEST_MAIN(TestQueueStartup)
#include "tst_queuestartup.moc"
