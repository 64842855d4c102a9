#include "urlcatcher.h"
#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "common/timeformat.h"
#include "testhttpserver.h"
#include "ui/clicklabel.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "ui/tradiogroup.h"
#include "webtest.h"
#include "webwait.h"

#include <QDateTimeEdit>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>

namespace {
using webtest::pageTimeout;
}

class TestMainForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_server.setRoute("/", QByteArray("<html><body>site</body></html>"));
        m_server.setRoute("/typed", QByteArray("<html><body>typed</body></html>"));
        qputenv("KAVELIN_AUCTION_SITE", m_server.url(QString()).toString().toUtf8());
        qputenv("KAVELIN_MAKER_SITE", "http://maker.invalid");
    }

    void init()
    {
        m_profile = new QWebEngineProfile;
        m_form = new TMain_Form(m_profile);
    }

    void cleanup()
    {
        delete m_form;
        delete m_profile;
    }

    void startsWithBlankPageAndPickerAtOneOClockToday()
    {
        QCOMPARE(m_form->doKonce_DTP->dateTime(), QDateTime(QDate::currentDate(), QTime(1, 0)));
        QCOMPARE(m_form->AktulniCas_Label->text(), QString());
        QCOMPARE(m_form->Chromium1->page()->requestedUrl(), QUrl(QStringLiteral("about:blank")));
        QCOMPARE(m_form->Timer1->isActive(), false);
        QCOMPARE(m_form->UdrzovaniSpojeni_Timer->isActive(), false);
    }

    void restoredClientAreaIsCentred()
    {
        const QRect desktop = m_form->screen()->availableGeometry();
        QCOMPARE(m_form->geometry().size(), QSize(789, 769));
        // Centred to the pixel: equal margins, the odd pixel (if any) on the right and bottom.
        const QRect g = m_form->geometry();
        QVERIFY(qAbs((g.left() - desktop.left()) - (desktop.right() - g.right())) <= 1);
        QVERIFY(qAbs((g.top() - desktop.top()) - (desktop.bottom() - g.bottom())) <= 1);
    }

    void resizingKeepsThePanelAndBars_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("wide and tall") << QSize(1200, 900);
        QTest::newRow("narrow and short") << QSize(600, 400);
    }

    void resizingKeepsThePanelAndBars()
    {
        QFETCH(QSize, size);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_form->resize(size);
        QTRY_COMPARE(m_form->size(), size);
        QTRY_COMPARE(m_form->Panel1->width(), 285);
        QCOMPARE(m_form->Panel1->geometry().right(), size.width() - 1);
        QCOMPARE(m_form->StatusBar1->height(), 19);
        QCOMPARE(m_form->StatusBar1->geometry().bottom(), size.height() - 1);
        QCOMPARE(m_form->Button1->height(), 33);
        QCOMPARE(m_form->Button1->geometry().bottom(), m_form->Panel1->height() - 1);
        // The browser and the address box take all the remaining width.
        QCOMPARE(m_form->Chromium1->width(), size.width() - 285);
        QCOMPARE(m_form->adress->width(), size.width() - 285);
        QCOMPARE(m_form->adress->height(), 21);
        QCOMPARE(m_form->Chromium1->height(), size.height() - 19 - 21);
        QTRY_COMPARE(m_form->Chromium1->view()->size(), m_form->Chromium1->size());
        // Content reaching down to 604 pixels scrolls when the panel is shorter.
        const bool tooShort = size.height() < 700;
        QTRY_COMPARE(m_form->ScrollBox1->verticalScrollBar()->isVisible(), tooShort);
        QCOMPARE(m_form->ScrollBox1->horizontalScrollBar()->isVisible(), false);
    }

    void modeSwitchRecoloursItsBox()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        const QColor test(255, 240, 179);
        const QColor live(218, 255, 185);
        QCOMPARE(m_form->Mod_RadioGroup->Color(), test);
        QTest::mouseClick(m_form->Mod_RadioGroup->item(1), Qt::LeftButton);
        QCOMPARE(m_form->Mod_RadioGroup->ItemIndex(), 1);
        QCOMPARE(m_form->Mod_RadioGroup->Color(), live);
        QTest::mouseClick(m_form->Mod_RadioGroup->item(0), Qt::LeftButton);
        QCOMPARE(m_form->Mod_RadioGroup->Color(), test);
    }

    void clockTicksInLongTimeFormat()
    {
        QCOMPARE(m_form->AktulniCas_Label->text(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(!m_form->AktulniCas_Label->text().isEmpty(), 1500);
        const QString first = m_form->AktulniCas_Label->text();
        const QLocale locale = QLocale::system();
        const QTime shown = locale.toTime(first, longTimeFormat(locale));
        QVERIFY2(shown.isValid(), qPrintable(first));
        QVERIFY(qAbs(shown.secsTo(QTime::currentTime())) <= 2);
        QTRY_VERIFY_WITH_TIMEOUT(m_form->AktulniCas_Label->text() != first, 1500);
    }

    void addressBoxFollowsNavigation()
    {
        QSignalSpy finished(m_form->Chromium1->page(), &QWebEnginePage::loadFinished);
        m_form->Chromium1->NavigateTo(m_server.url(QStringLiteral("/typed")).toString());
        QVERIFY(finished.wait(pageTimeout));
        QTRY_COMPARE(m_form->adress->text(), m_server.url(QStringLiteral("/typed")).toString());
    }

    void enterLoadsTheTypedTextUnchanged()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        QSignalSpy returnPressed(m_form->adress, &QLineEdit::returnPressed);
        QSignalSpy browse(m_form->Chromium1, &TChromium::OnBeforeBrowse);
        // Text with a query of blanks and non-ASCII letters, typed as it is.
        const QString typed = m_server.url(QStringLiteral("/typed")).toString() + QStringLiteral("?q=žluťoučký kůň");
        m_form->adress->setText(typed);
        m_server.clearRequests();
        QTest::keyClick(m_form->adress, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!m_server.requestsFor("/typed").isEmpty(), pageTimeout);
        QCOMPARE(QUrl::fromPercentEncoding(m_server.requestsFor("/typed").first().query), QStringLiteral("q=žluťoučký kůň"));
        QCOMPARE(returnPressed.count(), 0);
        // Other keys are the box's own.
        QTest::keyClick(m_form->adress, Qt::Key_A);
        QVERIFY(m_form->adress->text().endsWith(QLatin1Char('a')) || m_form->adress->text() != typed);
    }

    void linkLoadsTheAuctionSiteLogout()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_server.clearRequests();
        QTest::mouseClick(m_form->Label3, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!m_server.requestsFor("/").isEmpty(), pageTimeout);
        QCOMPARE(m_server.requestsFor("/").first().query, QByteArray("logout=1"));
        QVERIFY(m_form->Label3->text().startsWith(QStringLiteral("Přejít na ")));
    }

    void helpLinkOpensTheMakersHelpPage()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        QTest::mouseClick(m_form->Label18, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("http://maker.invalid/kavelin.php"))});
    }

    void aboutButtonShowsAboutWindowWithoutBlocking()
    {
        m_form->show();
        QWidget about;
        m_form->setAboutWindow(&about);
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        QVERIFY(about.isVisible());
        QVERIFY(!about.isModal());
        QVERIFY(m_form->isEnabled());
    }

    void keyEchoPendingLoweredByNavigation()
    {
        inside(m_form).KeyEchoPending() = true;
        m_form->Chromium1->NavigateTo(m_server.url(QStringLiteral("/typed")).toString());
        QTRY_COMPARE_WITH_TIMEOUT(inside(m_form).KeyEchoPending(), false, pageTimeout);
    }

    void pageSourceArrivesForItsRequest()
    {
        QSignalSpy finished(m_form->Chromium1->page(), &QWebEnginePage::loadFinished);
        m_form->Chromium1->NavigateTo(m_server.url(QStringLiteral("/typed")).toString());
        QVERIFY(finished.wait(pageTimeout));
        inside(m_form).PageSource() = QStringLiteral("null");
        const quint64 first = m_form->RequestPageSource();
        const quint64 second = m_form->RequestPageSource();
        QVERIFY(second > first);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->lastPageSourceArrival(), second, pageTimeout);
        QVERIFY(inside(m_form).PageSource().contains(QStringLiteral("typed")));
    }


private:
    TestHttpServer m_server;
    QWebEngineProfile *m_profile = nullptr;
    TMain_Form *m_form = nullptr;
};

KAVELIN_WEBTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
