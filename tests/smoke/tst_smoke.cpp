#include "testhttpserver.h"
#include "webtest.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

class TestSmoke : public QObject
{
    Q_OBJECT
private slots:
    void loadsPageFromLoopback()
    {
        TestHttpServer server;
        QVERIFY(server.start());
        server.setRoute("/", QByteArray("<html><body><p id=x>ahoj</p></body></html>"));
        QWebEngineView view;
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        view.load(server.url());
        view.show();
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
        QCOMPARE(loaded.first().first().toBool(), true);
        QCOMPARE(server.requestsFor("/").size(), 1);
    }
};

KAVELIN_WEBTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"
