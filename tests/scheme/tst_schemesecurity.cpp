#include "schemewebtest.h"

#include "testhttpserver.h"
#include "webtest.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace schemewebtest;

namespace {
const QByteArray secret = "KAVELIN-SECRET-7f3a91";

// A page that opens the windows its scripts ask for, so that window.open really happens, and
// keeps what the engine says on the console of it and of its windows: a refused load is told there.
class PopupPage : public QWebEnginePage
{
public:
    PopupPage(QWebEngineProfile *profile, QStringList *console)
        : QWebEnginePage(profile)
        , m_console(console)
    {
    }
    QList<QWebEnginePage *> popups;

protected:
    QWebEnginePage *createWindow(WebWindowType) override
    {
        auto *popup = new PopupPage(profile(), m_console);
        popup->setParent(this);
        popups.append(popup);
        return popup;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int, const QString &) override
    {
        m_console->append(message);
    }

private:
    QStringList *m_console;
};

QByteArray attackPage(const QUrl &target)
{
    return "<html><body style='margin:0'><a id=l href='" + target.toEncoded()
        + "' style='display:block;font-size:40px;width:400px;height:60px'>open</a></body></html>";
}
} // namespace

// Pages of other schemes cannot reach local files: every way a web page can name a URL is tried
// from a page on http://127.0.0.1, and the handler must never be asked. The same attempts from a
// page of the local scheme itself do reach it, which shows the check would see a leak.
class TestSchemeSecurity : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString root = QFileInfo(m_dir.path()).canonicalFilePath();
        m_secretUrl = localUrl(root + QStringLiteral("/secret.txt"));
        QVERIFY(writeFile(root + QStringLiteral("/secret.txt"), secret));
        QVERIFY(writeFile(root + QStringLiteral("/attack.html"), attackPage(m_secretUrl)));
        m_localAttackUrl = localUrl(root + QStringLiteral("/attack.html"));
        QVERIFY(m_server.start());
        m_server.setRoute("/attack", attackPage(m_secretUrl));
    }

    void init()
    {
        m_profile = new QWebEngineProfile;
        m_factory = new CountingSchemeFactory(m_profile);
        m_profile->installUrlSchemeHandler("local", m_factory);
        m_page = new PopupPage(m_profile, &m_console);
        m_view = new QWebEngineView;
        m_view->setPage(m_page);
        m_view->resize(800, 600);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }

    void cleanup()
    {
        delete m_view;
        delete m_page;
        delete m_profile;
    }

    void otherSchemesGetNoLocalContent_data()
    {
        QTest::addColumn<QString>("vector");
        QTest::addColumn<bool>("fromLocalPage");
        for (const char *vector : {"XMLHttpRequest", "img", "iframe", "window.open", "location", "clicked link"}) {
            QTest::addRow("%s from http", vector) << QString::fromLatin1(vector) << false;
            QTest::addRow("%s from local (control)", vector) << QString::fromLatin1(vector) << true;
        }
    }

    void otherSchemesGetNoLocalContent()
    {
        QFETCH(QString, vector);
        QFETCH(bool, fromLocalPage);
        QVERIFY(load(*m_page, fromLocalPage ? m_localAttackUrl : m_server.url(QStringLiteral("/attack"))));
        m_factory->requested.clear();
        m_console.clear();
        const QString target = QString::fromLatin1(m_secretUrl.toEncoded());
        runJs(*m_page, QStringLiteral("window.result = null;"));

        if (vector == QLatin1String("XMLHttpRequest")) {
            runJs(*m_page, QStringLiteral("var x = new XMLHttpRequest(); x.open('GET', '%1');"
                                          "x.onload = function () { window.result = 'read:' + x.responseText; };"
                                          "x.onerror = function () { window.result = 'error'; }; x.send();").arg(target));
        } else if (vector == QLatin1String("img")) {
            runJs(*m_page, QStringLiteral("var i = new Image(); i.onload = function () { window.result = 'loaded'; };"
                                          "i.onerror = function () { window.result = 'error'; }; i.src = '%1';").arg(target));
        } else if (vector == QLatin1String("iframe")) {
            runJs(*m_page, QStringLiteral("var f = document.createElement('iframe'); f.src = '%1';"
                                          "f.onload = function () { try { window.result = 'read:' + f.contentDocument.body.textContent; }"
                                          " catch (e) { window.result = 'blocked'; } }; document.body.appendChild(f);").arg(target));
        } else if (vector == QLatin1String("window.open")) {
            runJs(*m_page, QStringLiteral("window.result = window.open('%1') ? 'opened' : 'refused';").arg(target));
        } else if (vector == QLatin1String("location")) {
            runJs(*m_page, QStringLiteral("location.href = '%1';").arg(target));
        } else {
            const QVariantList box = runJs(*m_page, QStringLiteral(
                "var r = document.getElementById('l').getBoundingClientRect(); [r.left + r.width / 2, r.top + r.height / 2]"))
                                         .toList();
            QCOMPARE(box.size(), 2);
            QWidget *input = m_view->focusProxy();
            QVERIFY(input);
            QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(box[0].toInt(), box[1].toInt()));
        }

        if (fromLocalPage) {
            QTRY_VERIFY_WITH_TIMEOUT(!m_factory->requested.isEmpty(), 10000);
            return;
        }
        // The engine says when it refuses a load; once it has, the request will never be made.
        QTRY_VERIFY_WITH_TIMEOUT(m_console.join(QLatin1Char('\n')).contains(QLatin1String("Not allowed to load local resource")),
                                 10000);
        QVERIFY2(m_factory->requested.isEmpty(),
                 qPrintable(QUrl::toStringList(m_factory->requested).join(QLatin1Char(' '))));
        QVERIFY(!runJs(*m_page, QStringLiteral("String(window.result)")).toString().startsWith(QLatin1String("read:")));
        QVERIFY(!runJs(*m_page, QStringLiteral("document.documentElement.outerHTML")).toString().contains(QLatin1String(secret)));
        for (QWebEnginePage *popup : std::as_const(m_page->popups))
            QVERIFY(!runJs(*popup, QStringLiteral("document.documentElement.outerHTML")).toString().contains(QLatin1String(secret)));
        QCOMPARE(m_page->url().scheme(), QStringLiteral("http"));
    }

private:
    QTemporaryDir m_dir;
    TestHttpServer m_server;
    QUrl m_secretUrl;
    QUrl m_localAttackUrl;
    QWebEngineProfile *m_profile = nullptr;
    CountingSchemeFactory *m_factory = nullptr;
    PopupPage *m_page = nullptr;
    QWebEngineView *m_view = nullptr;
    QStringList m_console;
};

KAVELIN_WEBTEST_MAIN(TestSchemeSecurity)
#include "tst_schemesecurity.moc"
