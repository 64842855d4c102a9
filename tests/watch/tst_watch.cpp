#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "messageboxanswerer.h"
#include "privatesessionbus.h"
#include "sniper/countdown.h"
#include "sniper/endtime.h"
#include "sniper/positions.h"
#include "testhttpserver.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "webtest.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>


namespace {
constexpr int pageTimeout = 20000;
constexpr double msPerDay = 86400000.0;

PrivateSessionBus privateBus;

QByteArray itemPage(const QTime &end)
{
    return "<html><head><title>Předmět</title></head><body><p>Končí: " + endTimeMarker.toString().toUtf8()
        + end.toString(QStringLiteral("HH:mm:ss")).toUtf8() + "</span></p></body></html>";
}
} // namespace

// Keeping watch while armed, with the real page, a private session bus and its fake services.
class TestWatch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(privateBus.pid > 0, "no dbus-daemon");
        QVERIFY(offerOnSessionBus(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                                  &m_saver));
        QVERIFY(offerOnSessionBus(QStringLiteral("org.freedesktop.Notifications"),
                                  QStringLiteral("/org/freedesktop/Notifications"), &m_notifications));
        QVERIFY(m_server.start());
    }

    void init()
    {
        m_server.setClockOffset(0);
        m_notifications.bodies.clear();
        // The bid itself is not what this test looks at: its checks hold and its input is recorded.
        TMain_FormHooks hooks = recordedBidHooks(m_dir.path(), &m_form);
        m_form = new TMain_Form(&m_profile, hooks);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        for (int position : {1, 2, 3})
            QVERIFY(writePosition(m_form->SettingsPath(), position, {1, 1}, nullptr));
        const QTime later = QTime::currentTime().addSecs(600);
        m_end = QTime(later.hour(), later.minute(), later.second());
        m_server.setRoute("/item", itemPage(m_end));
        load();
        m_form->doKonce_DTP->setTime(m_end);
    }

    void cleanup()
    {
        delete m_form;
        QTRY_VERIFY(m_saver.held.isEmpty());   // and on exit the inhibition goes too
    }

    void keptAwakeWhileArmed()
    {
        inside(m_form).Odpocitavat_BTTClick();
        QVERIFY(m_form->Timer1->isActive());
        QTRY_COMPARE(m_saver.held.size(), 1);
        inside(m_form).Odpocitavat_BTTClick();
        QTRY_VERIFY(m_saver.held.isEmpty());

        // Armed for a moment a second ahead: held until the bid is done.
        m_form->doKonce_DTP->setTime(QTime::currentTime().addSecs(5 + 4 + 1));
        inside(m_form).Odpocitavat_BTTClick();
        QTRY_COMPARE(m_saver.held.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->Stav_Label->text(), QStringLiteral("HOTOVO"), 5000);
        QTRY_VERIFY(m_saver.held.isEmpty());
        QTRY_VERIFY(m_notifications.bodies.contains(QStringLiteral("Příhoz byl odeslán.")));
    }

    void pageWithoutItsMarkerRaisesTheAlert()
    {
        // The check comes at once; by then the site shows a login page.
        inside(m_form).hooks().Watch.checkLeadMs = 600000;
        inside(m_form).hooks().Watch.recheckMs = 1000;
        m_server.setRoute("/item", QByteArray("<html><body><form>Přihlášení</form></body></html>"));
        inside(m_form).Odpocitavat_BTTClick();
        const QString alert = QStringLiteral("Stránka zboží neukazuje čas konce aukce. Zkontrolujte, zda jste přihlášeni.");
        QTRY_VERIFY_WITH_TIMEOUT(m_notifications.bodies.contains(alert), pageTimeout);
        QCOMPARE(m_form->Hlidani_Label->text(), alert);
        QVERIFY(m_form->Timer1->isActive());
        // Checked again while it stays so; back with its marker, the page is found as it was.
        m_server.setRoute("/item", itemPage(m_end));
        QTRY_VERIFY_WITH_TIMEOUT(m_form->Hlidani_Label->text().startsWith(QStringLiteral("Stránka zboží zkontrolována")),
                                 pageTimeout);
    }

    void anExtendedAuctionIsArmedAgain()
    {
        inside(m_form).hooks().Watch.checkLeadMs = 600000;
        inside(m_form).Odpocitavat_BTTClick();
        const double armed = inside(m_form).TargetTime();
        m_server.setRoute("/item", itemPage(m_end.addSecs(30)));
        QTRY_VERIFY_WITH_TIMEOUT(m_form->Hlidani_Label->text().startsWith(QStringLiteral("Konec aukce se změnil")),
                                 pageTimeout);
        QCOMPARE(m_form->doKonce_DTP->time(), m_end.addSecs(30));
        QVERIFY(std::abs((inside(m_form).TargetTime() - armed) * msPerDay - 30000) < 200);
        QVERIFY(m_form->Timer1->isActive());
    }

    void theMomentFollowsTheSitesClock()
    {
        m_server.setClockOffset(-20000);
        inside(m_form).Odpocitavat_BTTClick();
        const double byComputer = toDays(QDateTime(QDate::currentDate(), m_end)) - 9.0 / 86400;
        // The site is 20 s behind: its end comes 20 s later by the computer's clock.
        QTRY_VERIFY_WITH_TIMEOUT(std::abs((inside(m_form).TargetTime() - byComputer) * msPerDay - 20000) < 100, 5000);
        QVERIFY2(QRegularExpression(QStringLiteral("\\(−(19[,.]9|20[,.]0|20[,.]1) s\\)$")).match(m_form->ServerCas_Label->text()).hasMatch(),
                 qPrintable(m_form->ServerCas_Label->text()));
        QVERIFY(m_form->Hlidani_Label->text().startsWith(QStringLiteral("Hodiny počítače se od serveru liší")));
        // Unticked, the computer's clock counts.
        m_form->PodleServeru_CheckBox->setChecked(false);
        QVERIFY(std::abs((inside(m_form).TargetTime() - byComputer) * msPerDay) < 2);
    }

private:
    void load()
    {
        QSignalSpy loaded(m_form->Chromium1->page(), &QWebEnginePage::loadFinished);
        m_form->Chromium1->NavigateTo(m_server.url(QStringLiteral("/item")).toString());
        QVERIFY(loaded.wait(pageTimeout));
    }

    FakeScreenSaver m_saver;
    FakeNotifications m_notifications;
    TestHttpServer m_server;
    QTemporaryDir m_dir;
    QWebEngineProfile m_profile;
    TMain_Form *m_form = nullptr;
    QTime m_end;
};

KAVELIN_WEBTEST_MAIN(TestWatch)
#include "tst_watch.moc"
