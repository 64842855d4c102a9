#include "schemewebtest.h"

#include "scheme/localpageguard.h"
#include "testhttpserver.h"
#include "webtest.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace schemewebtest;

namespace {
// The page under attack's helpers: each tries one way to reach something and puts what came
// of it into window.result.
const char pageHelpers[] = R"(<script>
function done(x) { window.result = x; }
function tryXhr(u) { var x = new XMLHttpRequest(); x.open('GET', u);
  x.onload = function () { done('read:' + x.responseText); }; x.onerror = function () { done('error'); }; x.send(); }
function tryFetch(u) { fetch(u).then(r => r.text()).then(t => done('read:' + t), e => done('error')); }
function tryImg(u) { var i = new Image(); i.onload = function () { done('loaded'); };
  i.onerror = function () { done('error'); }; i.src = u; }
function tryFrame(u) { var f = document.createElement('iframe'); f.onload = function () {
  try { done('read:' + f.contentDocument.body.textContent); } catch (e) { done('blocked'); } };
  f.src = u; document.body.appendChild(f); }
function trySocket(u) { var s = new WebSocket(u); s.onopen = function () { done('open'); };
  s.onclose = function () { done('closed'); }; }
</script>)";

const QByteArray secret = "KAVELIN-SECRET-41c2";
} // namespace

// A page of the local scheme, on a profile set up as the program's, shows what it embeds from
// its folder and reaches nothing else: every way out is tried with the real engine, and the
// handler (or the server on 127.0.0.1) must never be asked.
class TestLocalPageGuard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = QFileInfo(m_dir.path()).canonicalFilePath();
        QVERIFY(QDir(m_root).mkpath(QStringLiteral("d/sub")));
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(Qt::red);
        for (const char *name : {"far.png", "d/img.png", "d/sub/pic.png"})
            QVERIFY(picture.save(path(name), "PNG"));
        QVERIFY(QFile::link(path("far.png"), path("d/link.png")));
        QVERIFY(writeFile(path("secret.txt"), secret));
        QVERIFY(writeFile(path("d/sib.txt"), secret));
        QVERIFY(writeFile(path("d/s.css"), "body { color: rgb(1, 2, 3); }"));
        QVERIFY(writeFile(path("d/s.js"), "window.scriptRan = true;"));
        QVERIFY(writeFile(path("d/sub/frame.html"), "<html><body>" + secret + "</body></html>"));
        QVERIFY(writeFile(path("d/page.html"),
                          QByteArray("<html><head><link rel=stylesheet href='s.css'><script src='s.js'></script>")
                              + pageHelpers + "</head><body><img id=own src='img.png'><img id=below src='sub/pic.png'>"
                              "<iframe id=frame src='sub/frame.html'></iframe></body></html>"));
        QVERIFY(m_server.start());

        m_profile = new QWebEngineProfile;
        m_factory = new CountingSchemeFactory(m_profile);
        m_profile->installUrlSchemeHandler(localscheme::name, m_factory);
        LocalPageGuard::install(m_profile);
        m_view = new QWebEngineView;
        m_page = new QWebEnginePage(m_profile, m_view);
        m_view->setPage(m_page);
        m_view->resize(800, 600);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }

    void cleanupTestCase()
    {
        delete m_view;
        delete m_profile;
    }

    void init()
    {
        QVERIFY(load(*m_page, localUrl(path("d/page.html"))));
    }

    // Its own style, script, pictures (beside it and below) and frame show; the frame holds
    // another file and cannot be scripted, and the page's origin is its own.
    void ownResourcesShow()
    {
        QCOMPARE(runJs(*m_page, QStringLiteral("getComputedStyle(document.body).color")).toString(), QStringLiteral("rgb(1, 2, 3)"));
        QCOMPARE(runJs(*m_page, QStringLiteral("window.scriptRan === true")).toBool(), true);
        QTRY_COMPARE(runJs(*m_page, QStringLiteral("document.getElementById('own').naturalWidth")).toInt(), 16);
        QTRY_COMPARE(runJs(*m_page, QStringLiteral("document.getElementById('below').naturalWidth")).toInt(), 16);
        QTRY_VERIFY(m_factory->requested.contains(localUrl(path("d/sub/frame.html"))));
        QCOMPARE(runJs(*m_page, QStringLiteral("try { String(document.getElementById('frame').contentWindow.document.body.textContent) }"
                                               " catch (e) { 'blocked' }")).toString(),
                 QStringLiteral("blocked"));
        QCOMPARE(runJs(*m_page, QStringLiteral("self.origin")).toString(), QStringLiteral("null"));
    }

    void readsNothingElse_data()
    {
        QTest::addColumn<QString>("call");       // one of the page's helpers and its argument
        QTest::addColumn<QString>("forbidden");  // what the handler must not be asked for; empty: none
        const QString dir = localUrl(path("d")).toString();
        const QString secretUrl = localUrl(path("secret.txt")).toString();
        QTest::newRow("XHR of a file above") << "tryXhr('" + secretUrl + "')" << secretUrl;
        QTest::newRow("XHR of a file beside") << QStringLiteral("tryXhr('sib.txt')") << dir + "/sib.txt";
        QTest::newRow("XHR through an escaped ..") << "tryXhr('" + dir + "/..%2fsecret.txt')" << dir + "/..%2Fsecret.txt";
        QTest::newRow("XHR of file://") << "tryXhr('file://" + path("secret.txt") + "')" << QString();
        QTest::newRow("fetch of a file beside") << QStringLiteral("tryFetch('sib.txt')") << dir + "/sib.txt";
        QTest::newRow("picture from above") << QStringLiteral("tryImg('../far.png')") << localUrl(path("far.png")).toString();
        QTest::newRow("picture through an escaped ..") << "tryImg('" + dir + "/..%2ffar.png')" << dir + "/..%2Ffar.png";
        QTest::newRow("picture through a link") << QStringLiteral("tryImg('link.png')") << dir + "/link.png";
        QTest::newRow("frame of a file above") << "tryFrame('" + secretUrl + "')" << secretUrl;
        QTest::newRow("frame of file://") << "tryFrame('file://" + path("secret.txt") + "')" << QString();
        QTest::newRow("WebSocket to 127.0.0.1") << "trySocket('ws://127.0.0.1:" + QString::number(m_server.port()) + "/socket')"
                                                << QString();
        QTest::newRow("picture from 127.0.0.1") << "tryImg('" + m_server.url(QStringLiteral("/pixel.png")).toString() + "')"
                                                << QString();
    }

    void readsNothingElse()
    {
        QFETCH(QString, call);
        QFETCH(QString, forbidden);
        m_factory->requested.clear();
        m_server.clearRequests();
        runJs(*m_page, QStringLiteral("window.result = null; ") + call);
        const QString result = waitForJs(*m_page, QStringLiteral("window.result")).toString();
        QVERIFY2(result == QLatin1String("error") || result == QLatin1String("blocked") || result == QLatin1String("closed"),
                 qPrintable(result));
        if (!forbidden.isEmpty())
            QVERIFY2(!m_factory->requested.contains(QUrl(forbidden)),
                     qPrintable(QUrl::toStringList(m_factory->requested).join(QLatin1Char(' '))));
        QVERIFY(m_server.requests().isEmpty());
    }

private:
    QString path(const char *relative) const { return m_root + '/' + QString::fromUtf8(relative); }

    QTemporaryDir m_dir;
    QString m_root;
    TestHttpServer m_server;
    QWebEngineProfile *m_profile = nullptr;
    CountingSchemeFactory *m_factory = nullptr;
    QWebEngineView *m_view = nullptr;
    QWebEnginePage *m_page = nullptr;
};

KAVELIN_WEBTEST_MAIN(TestLocalPageGuard)
#include "tst_localpageguard.moc"
