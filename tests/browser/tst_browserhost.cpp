#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "testhttpserver.h"
#include "webtest.h"
#include "webwait.h"

#include <QApplication>
#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineProfile>

namespace {
using webtest::pageTimeout;

bool loadAndWait(TChromium &host, const QUrl &url)
{
    return webtest::loadAndWait(*host.page(), [&] { host.NavigateTo(url.toString()); });
}

// A real key press through the X server, as a user's typing arrives.
void pressKeyThroughX(const QString &key)
{
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), key});
}
} // namespace

class TestBrowserHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_server.setRoute("/", QByteArray("<html><body><input id=f autofocus><p>home</p></body></html>"));
        m_server.setRoute("/second", QByteArray("<html><body><input id=f autofocus><p>second</p></body></html>"));
        m_server.setRoute("/frame", QByteArray("<html><body><iframe id=fr src='/inner'></iframe></body></html>"));
        m_server.setRoute("/inner", QByteArray("<html><body>inner</body></html>"));
        TestHttpServer::Response redirect;
        redirect.status = 302;
        redirect.headers = {{"Location", "/second"}};
        m_server.setRoute("/moved", redirect);
        m_server.setRoute("/dynamic", QByteArray("<html><body><div id=d>static</div>"
                                                 "<script>document.getElementById('d').textContent='written-by-script';</script>"
                                                 "</body></html>"));
        m_server.setRoute("/two", QByteArray("<html><body><input id=a autofocus><input id=b></body></html>"));
        m_server.setRoute("/opener", QByteArray("<html><body><a id=l href='/second' target=_blank>open</a></body></html>"));
    }

    void init()
    {
        m_profile = new QWebEngineProfile;
        m_host = new TChromium(m_profile);
        m_host->resize(800, 600);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host));
    }

    void cleanup()
    {
        delete m_host;
        delete m_profile;
    }

    void keyPressInPageRaisesKeyEvent()
    {
        QVERIFY(loadAndWait(*m_host, m_server.url()));
        m_host->activateWindow();
        m_host->setFocus();
        QTRY_VERIFY(m_host->view()->focusProxy()->hasFocus());
        int keyEvents = 0;
        connect(m_host, &TChromium::OnKeyEvent, this, [&keyEvents](TChromium *, QKeyEvent *, bool &result) {
            QCOMPARE(result, false);
            ++keyEvents;
        });
        pressKeyThroughX(QStringLiteral("a"));
        QTRY_VERIFY_WITH_TIMEOUT(keyEvents >= 2, 5000);  // press and release
    }

    void keyEventsSurviveCrossSiteNavigation()
    {
        // 127.0.0.1 and localhost are different sites: the page moves to another renderer and
        // the engine gives the view a new widget for its keys.
        QVERIFY(loadAndWait(*m_host, m_server.url()));
        const QWidget *before = m_host->view()->focusProxy();
        QUrl other = m_server.url(QStringLiteral("/second"));
        other.setHost(QStringLiteral("localhost"));
        QVERIFY(loadAndWait(*m_host, other));
        QVERIFY(m_host->view()->focusProxy() != before);
        m_host->activateWindow();
        m_host->setFocus();
        QTRY_VERIFY(m_host->view()->focusProxy()->hasFocus());
        int keyEvents = 0;
        connect(m_host, &TChromium::OnKeyEvent, this, [&keyEvents](TChromium *, QKeyEvent *, bool &) { ++keyEvents; });
        pressKeyThroughX(QStringLiteral("b"));
        QTRY_VERIFY_WITH_TIMEOUT(keyEvents >= 1, 5000);
    }

    void focusingTheHostFocusesThePageAndTabStaysInIt()
    {
        QVERIFY(loadAndWait(*m_host, m_server.url(QStringLiteral("/two"))));
        m_host->activateWindow();
        m_host->setFocus();
        QTRY_VERIFY(m_host->view()->focusProxy()->hasFocus());
        // A fresh page takes keys once it has been drawn: type until the first field shows one.
        const QString first = QStringLiteral("document.getElementById('a').value");
        for (int attempt = 0; attempt < 20 && runScript(first).toString().isEmpty(); ++attempt) {
            pressKeyThroughX(QStringLiteral("x"));
            QTest::qWait(250);
        }
        QVERIFY(runScript(first).toString().startsWith(QLatin1Char('x')));
        pressKeyThroughX(QStringLiteral("Tab"));
        pressKeyThroughX(QStringLiteral("y"));
        QTRY_COMPARE_WITH_TIMEOUT(runScript(QStringLiteral("document.activeElement.id + document.getElementById('b').value")),
                                  QVariant(QStringLiteral("by")), 5000);
        QVERIFY(m_host->view()->focusProxy()->hasFocus());
    }

    void handledKeyNeverReachesPage()
    {
        QVERIFY(loadAndWait(*m_host, m_server.url()));
        m_host->activateWindow();
        m_host->setFocus();
        QTRY_VERIFY(m_host->view()->focusProxy()->hasFocus());
        bool tabHandled = false;
        const QMetaObject::Connection handler =
            connect(m_host, &TChromium::OnKeyEvent, this, [&tabHandled](TChromium *, QKeyEvent *event, bool &result) {
                result = true;
                tabHandled = tabHandled || (event->key() == Qt::Key_Tab && event->type() == QEvent::KeyRelease);
            });
        pressKeyThroughX(QStringLiteral("x"));
        pressKeyThroughX(QStringLiteral("Tab"));
        QTRY_VERIFY(tabHandled);
        disconnect(handler);
        // Keys reach the page in order: once one let through shows in the field, the handled
        // ones before it would show too, and the handled Tab would have taken the focus away.
        const QString field = QStringLiteral("document.getElementById('f').value");
        for (int attempt = 0; attempt < 20 && runScript(field).toString().isEmpty(); ++attempt)
            pressKeyThroughX(QStringLiteral("z"));
        QVERIFY(!runScript(field).toString().isEmpty());
        QVERIFY2(!runScript(field).toString().contains(QLatin1Char('x')), qPrintable(runScript(field).toString()));
        QVERIFY(runScript(field).toString().startsWith(QLatin1Char('z')));
    }

    void navigationsInEveryFrameRaiseBeforeBrowse_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expectedUrlPath");
        QTest::addColumn<bool>("mainFrame");
        QTest::addColumn<bool>("redirect");
        QTest::newRow("sub-frame") << "/frame" << "/inner" << false << false;
        QTest::newRow("server redirect") << "/moved" << "/second" << true << true;
    }

    void navigationsInEveryFrameRaiseBeforeBrowse()
    {
        QFETCH(QString, path);
        QFETCH(QString, expectedUrlPath);
        QFETCH(bool, mainFrame);
        QFETCH(bool, redirect);
        QSignalSpy browse(m_host, &TChromium::OnBeforeBrowse);
        QVERIFY(loadAndWait(*m_host, m_server.url(path)));
        bool seen = false;
        for (const QList<QVariant> &args : browse) {
            if (args.at(1).toUrl().path() == expectedUrlPath && args.at(2).toBool() == mainFrame
                && args.at(3).toBool() == redirect)
                seen = true;
        }
        QVERIFY2(seen, qPrintable(QStringLiteral("%1 navigations seen").arg(browse.count())));
    }

    void scriptNavigationRaisesBeforeBrowse()
    {
        QVERIFY(loadAndWait(*m_host, m_server.url()));
        QSignalSpy browse(m_host, &TChromium::OnBeforeBrowse);
        m_host->page()->runJavaScript(QStringLiteral("location.href='/second'"));
        QTRY_VERIFY_WITH_TIMEOUT(browse.count() >= 1, pageTimeout);
        QCOMPARE(browse.first().at(1).toUrl().path(), QStringLiteral("/second"));
    }

    void cancelledNavigationDoesNotLoad()
    {
        QVERIFY(loadAndWait(*m_host, m_server.url()));
        connect(m_host, &TChromium::OnBeforeBrowse, this,
                [](TChromium *, const QUrl &url, bool, bool, bool &result) { result = url.path() == QLatin1String("/second"); });
        m_server.clearRequests();
        m_host->NavigateTo(m_server.url(QStringLiteral("/second")).toString());
        QTest::qWait(1000);
        QCOMPARE(m_server.requestsFor("/second").size(), 0);
        QCOMPARE(QUrl(m_host->CurrentUrl()).path(), QStringLiteral("/"));
    }

    void addressChangeFollowsNavigation()
    {
        QSignalSpy address(m_host, &TChromium::OnAddressChange);
        QVERIFY(loadAndWait(*m_host, m_server.url(QStringLiteral("/moved"))));
        QTRY_VERIFY(!address.isEmpty());
        QCOMPARE(address.last().at(1).toString(), m_server.url(QStringLiteral("/second")).toString());
        QCOMPARE(m_host->CurrentUrl(), m_server.url(QStringLiteral("/second")).toString());
    }

    void pageSourceIsTheLiveDocument()
    {
        QVERIFY(loadAndWait(*m_host, m_server.url(QStringLiteral("/dynamic"))));
        QString first;
        QString second;
        int order = 0;
        int firstAt = 0;
        int secondAt = 0;
        m_host->RequestSource([&](const QString &html) { first = html; firstAt = ++order; });
        m_host->RequestSource([&](const QString &html) { second = html; secondAt = ++order; });
        QTRY_VERIFY_WITH_TIMEOUT(firstAt && secondAt, pageTimeout);
        QVERIFY(first.contains(QStringLiteral("written-by-script")));
        QCOMPARE(second, first);
        QVERIFY(firstAt != secondAt);
    }

    void popupRaisesTheSameEvents()
    {
        QVERIFY(loadAndWait(*m_host, m_server.url(QStringLiteral("/opener"))));
        QSignalSpy browse(m_host, &TChromium::OnBeforeBrowse);
        QSignalSpy address(m_host, &TChromium::OnAddressChange);
        m_host->page()->runJavaScript(QStringLiteral("window.open('/second', '_blank')"));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->popups().size(), 1, pageTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requestsFor("/second").size() >= 1, pageTimeout);
        QTRY_VERIFY(!address.isEmpty());
        QCOMPARE(QUrl(address.last().at(1).toString()).path(), QStringLiteral("/second"));
        // The main browser stays where it was.
        QCOMPARE(QUrl(m_host->CurrentUrl()).path(), QStringLiteral("/opener"));
        bool popupNavigation = false;
        for (const QList<QVariant> &args : browse)
            popupNavigation |= args.at(1).toUrl().path() == QLatin1String("/second");
        QVERIFY(popupNavigation);
    }

    void contextMenuCommandsPassThroughTheHost()
    {
        QVERIFY(loadAndWait(*m_host, m_server.url()));
        ContextMenuParams opened;
        connect(m_host, &TChromium::OnBeforeContextMenu, this, [&opened](TChromium *, const ContextMenuParams &params, QMenu *model) {
            opened = params;
            model->addSeparator();
            model->addAction(QStringLiteral("mine"))->setData(101);
        });
        int command = 0;
        connect(m_host, &TChromium::OnContextMenuCommand, this,
                [&command](TChromium *, const ContextMenuParams &, int id, Qt::KeyboardModifiers, bool &result) {
                    command = id;
                    result = id == 101;
                });
        const QPoint at(120, 150);
        QMenu *menu = openContextMenu(at);
        QVERIFY(menu);
        QCOMPARE(opened.viewPos, at);
        QCOMPARE(opened.screenPixel, m_host->view()->mapToGlobal(at));
        QAction *mine = menu->actions().last();
        QCOMPARE(mine->text(), QStringLiteral("mine"));
        mine->trigger();
        QCOMPARE(command, 101);
        menu->close();
    }

    // The engine's items that would open or save a link's target are disabled for local
    // content on a web page; on other links they stay as the engine has them.
    void contextMenuKeepsWebPagesFromLocalContent_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("local link") << "local://etc/passwd" << false;
        QTest::newRow("web link") << "/second" << true;
    }

    void contextMenuKeepsWebPagesFromLocalContent()
    {
        QFETCH(QString, link);
        QFETCH(bool, enabled);
        m_server.setRoute("/link", "<html><body style='margin:0'><a href='" + link.toUtf8()
                                       + "' style='display:block;font-size:40px;height:80px'>link</a></body></html>");
        QVERIFY(loadAndWait(*m_host, m_server.url(QStringLiteral("/link"))));
        QMenu *menu = openContextMenu(QPoint(60, 40));
        QVERIFY(menu);
        QStringList checked;
        for (QAction *item : menu->actions()) {
            const int action = item->data().toInt() - BrowserView::engineCommandBase;
            if (action == QWebEnginePage::OpenLinkInNewWindow || action == QWebEnginePage::OpenLinkInNewTab
                || action == QWebEnginePage::DownloadLinkToDisk) {
                QCOMPARE(item->isEnabled(), enabled);
                checked << item->text();
            }
        }
        menu->close();
        QVERIFY2(checked.size() >= 2, qPrintable(checked.join(QLatin1Char(','))));
    }

    void popupIsTitledByItsPage()
    {
        m_server.setRoute("/titled", QByteArray("<html><head><title>Aukce \xC4\x8D. 5</title></head><body></body></html>"));
        QVERIFY(loadAndWait(*m_host, m_server.url(QStringLiteral("/opener"))));
        m_host->page()->runJavaScript(QStringLiteral("window.open('/titled', '_blank')"));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->popups().size(), 1, pageTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(m_host->popups().first()->windowTitle(), QStringLiteral("Aukce \u010D. 5"), pageTimeout);
    }

    // A file the browser does not show is offered as a download, in a box that blocks nothing.
    void downloadIsOffered_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("saved");
        QTest::newRow("download") << QStringLiteral("Stáhnout") << true;
        QTest::newRow("cancel") << QStringLiteral("Zrušit") << false;
    }

    void downloadIsOffered()
    {
        QFETCH(QString, button);
        QFETCH(bool, saved);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        m_host->DownloadFolder = folder.path();
        TestHttpServer::Response blob;
        blob.body = QByteArray("\x00\x01binary\x02", 9);
        blob.contentType = "application/octet-stream";
        blob.headers = {{"Content-Disposition", "attachment; filename=\"data.bin\""}};
        m_server.setRoute("/blob", blob);
        m_host->NavigateTo(m_server.url(QStringLiteral("/blob")).toString());
        QMessageBox *box = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((box = visibleMessageBox()) != nullptr, pageTimeout);
        QVERIFY(box->text().contains(QStringLiteral("data.bin")));
        QCOMPARE(box->windowModality(), Qt::NonModal);
        QAbstractButton *choice = nullptr;
        for (QAbstractButton *b : box->buttons())
            if (b->text() == button)
                choice = b;
        QVERIFY(choice);
        choice->click();
        const QString path = folder.filePath(QStringLiteral("data.bin"));
        if (saved) {
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() == 9, pageTimeout);
        } else {
            QTRY_VERIFY(visibleMessageBox() == nullptr);
            QTRY_VERIFY(!QFileInfo::exists(path));
            QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
        }
    }

private:
    static QMessageBox *visibleMessageBox()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
                return box;
        return nullptr;
    }

    QMenu *openContextMenu(const QPoint &at)
    {
        return webtest::openContextMenu(m_host->view()->focusProxy(), at);
    }

    QVariant runScript(const QString &script)
    {
        return webtest::runJs(*m_host->page(), script);
    }

    TestHttpServer m_server;
    QWebEngineProfile *m_profile = nullptr;
    TChromium *m_host = nullptr;
};

KAVELIN_WEBTEST_MAIN(TestBrowserHost)
#include "tst_browserhost.moc"
