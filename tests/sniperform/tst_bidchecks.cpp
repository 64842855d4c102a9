#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "fakeauctionsite.h"
#include "sniper/positions.h"
#include "ui/messages.h"
#include "ui/tmain_form.h"
#include "ui/windowbidenvironment.h"
#include "webtest.h"
#include "webwait.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {
using webtest::pageTimeout;
QPoint centre(const QRect &r)
{
    return r.center();
}
} // namespace

// The bid's checks in the running program: the real page, the real window and the X server
// with its window manager.
class TestBidChecks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_site.start());
        QVERIFY(m_dir.isValid());
        TMain_FormHooks hooks;
        hooks.SettingsFolder = m_dir.path();
        m_form = new TMain_Form(&m_profile, hooks);
        m_form->showMaximized();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        load(m_site.itemUrl());
        // Taught at the top of the page, where the test's site puts the field and the button.
        for (const auto &[position, place] : {std::pair{1, FakeAuctionSite::amountField},
                                              std::pair{2, FakeAuctionSite::bidButton},
                                              std::pair{3, FakeAuctionSite::confirmButton}}) {
            QVERIFY(writeTaughtPoint(m_form->SettingsPath(), position, {1, 1}, {centre(place), QPoint(0, 0)}, {},
                                     nullptr));
        }
    }

    void init()
    {
        m_env.reset(new WindowBidEnvironment(m_form, m_form->Chromium1, m_form->SettingsPath(), [] { return false; }));
    }

    void cleanupTestCase()
    {
        m_env.reset();
        delete m_form;
    }

    void whatLiesAtThePointsOfAScrolledPage()
    {
        QCOMPARE(*m_env->screenPixel(1), m_form->Chromium1->view()->mapToGlobal(centre(FakeAuctionSite::amountField)));
        // Scrolled away, the page is brought back to where the points were taught.
        run(QStringLiteral("window.scrollTo(0, 900)"));
        QVERIFY(isTextField(m_env->targetAt(1).value_or(PageTarget())));
        QCOMPARE(run(QStringLiteral("window.scrollY")).toInt(), 0);
        run(QStringLiteral("window.scrollTo(0, 900)"));
        m_env->alignPage(2);
        QCOMPARE(run(QStringLiteral("window.scrollY")).toInt(), 0);
        QVERIFY(isClickable(m_env->targetAt(2).value_or(PageTarget())));
        // The value in the field, as the page holds it.
        run(QStringLiteral("document.getElementById('amount').value = '1250,50'"));
        QCOMPARE(m_env->valueAt(1), std::optional<QString>(QStringLiteral("1250,50")));
        // A notice where the field stood.
        m_site.shiftLayout();
        QTRY_VERIFY_WITH_TIMEOUT(!isTextField(m_env->targetAt(1).value_or(PageTarget())), pageTimeout);
        QCOMPARE(m_env->targetAt(1)->first().text, QStringLiteral("Aukce byla prodloužena"));
        m_site.clear();
    }

    void anotherWindowOverThePointCovers()
    {
        const QPoint p1 = *m_env->screenPixel(1);
        QCOMPARE(m_env->firstCovered({p1}), -1);
        QWidget other;
        other.setWindowTitle(QStringLiteral("Jiný program"));
        other.setWindowFlag(Qt::WindowStaysOnTopHint);
        other.setGeometry(QRect(p1 - QPoint(50, 50), QSize(200, 200)));
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTRY_COMPARE(m_env->firstCovered({QPoint(1, 1), p1}), 1);
        other.hide();
        QTRY_COMPARE(m_env->firstCovered({p1}), -1);
    }

    void theWindowIsBroughtForwardWithTheKeyboard()
    {
        QWidget other;
        other.setGeometry(100, 100, 300, 200);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!m_env->hasKeyboard());
        m_env->bringWindowForward();
        QVERIFY(m_form->isActiveWindow());
        QVERIFY(m_env->hasKeyboard());
    }

    void aBoxLeftOpenIsClosedBeforeTheInput()
    {
        // The box waits in its own loop, as the program's boxes do; the bid comes meanwhile.
        bool open = false, closed = false;
        QTimer::singleShot(0, m_form, [&] {
            QTimer::singleShot(300, m_form, [&] {
                open = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                m_env->bringWindowForward();
                closed = !QApplication::activeModalWidget() && m_form->isActiveWindow();
            });
            showMessage(QStringLiteral("Pozice byly uloženy."), m_form);
        });
        QTRY_VERIFY(closed);
        QVERIFY(open);
    }

    void theConfirmationPageIsAwaited()
    {
        m_env->bidClicked();
        QVERIFY(!m_env->awaitConfirmationPage(200));
        m_form->Chromium1->NavigateTo(m_site.confirmationUrl(QStringLiteral("5")).toString());
        QVERIFY(m_env->awaitConfirmationPage(pageTimeout));
        QVERIFY(isClickable(m_env->targetAt(3).value_or(PageTarget())));
    }

private:
    void load(const QUrl &url)
    {
        QVERIFY(webtest::loadAndWait(*m_form->Chromium1->page(), [&] { m_form->Chromium1->NavigateTo(url.toString()); }));
    }
    QVariant run(const QString &script)
    {
        std::optional<QVariant> answer;
        m_form->Chromium1->page()->runJavaScript(script, [&answer](const QVariant &value) { answer = value; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), pageTimeout); }();
        return answer.value_or(QVariant());
    }

    FakeAuctionSite m_site;
    QTemporaryDir m_dir;
    QWebEngineProfile m_profile;
    TMain_Form *m_form = nullptr;
    QScopedPointer<WindowBidEnvironment> m_env;
};

KAVELIN_WEBTEST_MAIN(TestBidChecks)
#include "tst_bidchecks.moc"
