#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "messageboxanswerer.h"
#include "sniper/endtime.h"
#include "sniper/positions.h"
#include "testhttpserver.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "webtest.h"
#include "webwait.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>

namespace {
using webtest::pageTimeout;
const QString failureText = QStringLiteral(
    "Došlo k chybě při zjištění času konce aukce. Zkontrolujte, zda jste si načetli stránku se zbožím, "
    "které si přejete vydražit. ");

QByteArray itemPage(const QByteArray &endTime)
{
    return "<html><head><title>Předmět</title></head><body><h1>Starý budík</h1><p>Končí: "
           + endTimeMarker.toString().toUtf8() + endTime + "</span></p></body></html>";
}
} // namespace

// "načíst čas" against pages served on 127.0.0.1, in the real browser.
class TestReadEndTime : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_server.setRoute("/item", itemPage("21:45:30"));
        m_server.setRoute("/late", QByteArray(
            "<html><body><p id=end>načítá se</p><script>setTimeout(function () {"
            "document.getElementById('end').innerHTML = '<span _ngcontent-aukro-app-universal-c265=\"\" "
            "class=\"text-bold ng-star-inserted\">07:08:09</span>'; document.title = 'ok'; }, 100);"
            "</script></body></html>"));
        m_server.setRoute("/plain", QByteArray("<html><body><p>Úvodní stránka bez aukce, 12 položek</p></body></html>"));
    }

    void init()
    {
        m_profile = new QWebEngineProfile;
        m_form = new TMain_Form(m_profile);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_form->doKonce_DTP->setDateTime(QDateTime(QDate(2026, 12, 24), QTime(1, 0)));
    }

    void cleanup()
    {
        delete m_form;
        delete m_profile;
    }

    void endTimeInTheServersHtml()
    {
        load("/item");
        m_form->Zitra_CheckBox->setChecked(true);
        MessageBoxAnswerer boxes;
        m_form->Button4->click();
        QCOMPARE(m_form->doKonce_DTP->dateTime(), QDateTime(QDate(2026, 12, 24), QTime(21, 45, 30)));
        QVERIFY(m_form->Zitra_CheckBox->isChecked());
        QVERIFY(boxes.seen.isEmpty());
        // The whole live document, as the browser serialises it, is left on the clipboard.
        const QString clipboard = QApplication::clipboard()->text();
        QCOMPARE(clipboard, inside(m_form).PageSource());
        QVERIFY(clipboard.startsWith(QStringLiteral("<html><head><title>Předmět</title>")));
        QVERIFY(clipboard.contains(QStringLiteral("21:45:30</span></p></body></html>")));
    }

    void endTimeWrittenByScriptAfterLoad()
    {
        load("/late");
        QTRY_COMPARE_WITH_TIMEOUT(m_form->Chromium1->page()->title(), QStringLiteral("ok"), pageTimeout);
        m_form->Button4->click();
        QCOMPARE(m_form->doKonce_DTP->time(), QTime(7, 8, 9));
    }

    void pageWithoutTheMarkerShowsTheMessageAndKeepsThePicker()
    {
        load("/plain");
        MessageBoxAnswerer boxes;
        m_form->Button4->click();
        QTRY_COMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen.first().text, failureText);
        QCOMPARE(boxes.seen.first().title, QStringLiteral("Kavelin"));
        QCOMPARE(m_form->doKonce_DTP->dateTime(), QDateTime(QDate(2026, 12, 24), QTime(1, 0)));
        QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("Úvodní stránka bez aukce")));
    }

    // A second press while the first waits for the browser starts no second wait inside it.
    void secondPressWhileWaitingIsIgnored()
    {
        load("/item");
        MessageBoxAnswerer boxes;
        QSignalSpy arrived(m_form, &TMain_Form::pageSourceArrived);
        QTimer::singleShot(0, m_form->Button4, &QPushButton::click);
        m_form->Button4->click();
        QCOMPARE(arrived.count(), 1);
        QCOMPARE(m_form->doKonce_DTP->time(), QTime(21, 45, 30));
        QVERIFY(boxes.seen.isEmpty());
        // Once the first press is done, the button reads again.
        m_form->Button4->click();
        QCOMPARE(arrived.count(), 2);
    }

    void armedCountdownKeepsItsMoment()
    {
        load("/item");
        // Points taught, and checks that hold: arming is what this case needs, not the page.
        QTemporaryDir settings;
        inside(m_form).hooks().SettingsFolder = settings.path();
        for (int position : {1, 2, 3})
            QVERIFY(writePosition(m_form->SettingsPath(), position, {1, 1}, nullptr));
        inside(m_form).hooks().OpenBidEnvironment = heldChecks(&m_form);
        m_form->doKonce_DTP->setDateTime(QDateTime(QDate::currentDate(), QTime(23, 59, 59)));
        m_form->Zitra_CheckBox->setChecked(true);
        m_form->Sekund1_Edit->setText(QStringLiteral("5"));
        m_form->Odpocitavat_BTT->click();
        QVERIFY(m_form->Timer1->isActive());
        const double armedAt = inside(m_form).TargetTime();

        m_form->Button4->click();
        QCOMPARE(m_form->doKonce_DTP->time(), QTime(21, 45, 30));
        QCOMPARE(inside(m_form).TargetTime(), armedAt);
        QVERIFY(m_form->Timer1->isActive());
        m_form->Odpocitavat_BTT->click();
        QVERIFY(!m_form->Timer1->isActive());
    }

private:
    void load(const QByteArray &path)
    {
        QVERIFY(webtest::loadAndWait(*m_form->Chromium1->page(), [&] {
            m_form->Chromium1->NavigateTo(m_server.url(QString::fromLatin1(path)).toString());
        }));
    }

    TestHttpServer m_server;
    QWebEngineProfile *m_profile = nullptr;
    TMain_Form *m_form = nullptr;
};

KAVELIN_WEBTEST_MAIN(TestReadEndTime)
#include "tst_readendtime.moc"
