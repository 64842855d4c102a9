#include "fifo.h"
#include "urlcatcher.h"
#include "messageboxanswerer.h"
#include "testhttpserver.h"
#include "zjistiverzi.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

class TestUpdateLibrary : public QObject
{
    Q_OBJECT
private:
    TestHttpServer m_server;
    QTemporaryDir m_dir;
    UrlCatcher m_catcher;

    QByteArray localFile(const QByteArray &content)
    {
        const QString path = m_dir.filePath(QStringLiteral("kavelin.txt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write the local version file");
        file.write(content);
        return QFile::encodeName(path);
    }
    QByteArray remote() const { return m_server.url(QStringLiteral("/download/kavelin.txt")).toEncoded(); }
    QByteArray downloadPage() const { return m_server.url(QStringLiteral("/stazeni.php")).toEncoded(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        QVERIFY(m_dir.isValid());
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Kavelin"));
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_catcher, "open");
    }
    void init()
    {
        m_server.clearRequests();
        m_catcher.opened.clear();
    }

    void comparesWithTheServer_data()
    {
        QTest::addColumn<QByteArray>("local");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("flag");
        QTest::newRow("newer") << QByteArray("1.0.0\n") << 200 << QByteArray("1.1.0\n") << ZV_NEWER << 1;
        QTest::newRow("same") << QByteArray("1.0.0") << 200 << QByteArray("1.0.0\r\n") << ZV_CURRENT << 0;
        QTest::newRow("older") << QByteArray("1.0.0") << 200 << QByteArray("0.9.9") << ZV_CURRENT << 0;
        QTest::newRow("1.10 after 1.9") << QByteArray("1.9") << 200 << QByteArray("1.10") << ZV_NEWER << 1;
        QTest::newRow("second line ignored") << QByteArray("1.0\n9.0") << 200 << QByteArray("1.0\n2.0") << ZV_CURRENT << 0;
        QTest::newRow("404") << QByteArray("1.0") << 404 << QByteArray("Not found") << ZV_HTTP_ERROR << 0;
        QTest::newRow("500 with a version") << QByteArray("1.0") << 500 << QByteArray("9.9") << ZV_HTTP_ERROR << 0;
        QTest::newRow("garbage") << QByteArray("1.0") << 200 << QByteArray("<html><body>Nic</body></html>")
                                 << ZV_INVALID_ANSWER << 0;
        QTest::newRow("empty answer") << QByteArray("1.0") << 200 << QByteArray() << ZV_INVALID_ANSWER << 0;
        QTest::newRow("oversized answer") << QByteArray("1.0") << 200 << QByteArray(200000, '9') << ZV_INVALID_ANSWER << 0;
    }
    void comparesWithTheServer()
    {
        QFETCH(QByteArray, local);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(int, result);
        QFETCH(int, flag);
        TestHttpServer::Response response;
        response.status = status;
        response.body = body;
        response.contentType = "text/plain";
        m_server.setRoute("/download/kavelin.txt", response);

        MessageBoxAnswerer answerer;
        unsigned char newer = 0;
        QCOMPARE(ZjistiVerzi(remote(), localFile(local), downloadPage(), "/tmp", 0, &newer), result);
        QCOMPARE(int(newer), flag);
        QCOMPARE(m_server.requestsFor("/download/kavelin.txt").size(), 1);
        QTest::qWait(60);
        QVERIFY2(answerer.seen.isEmpty(), "argument 5 other than 1 must not talk to the user");
    }

    void localFileProblemsStopBeforeTheNetwork()
    {
        m_server.setRoute("/download/kavelin.txt", QByteArray("2.0"));
        unsigned char newer = 1;
        const QByteArray missing = QFile::encodeName(m_dir.filePath(QStringLiteral("missing.txt")));
        QCOMPARE(ZjistiVerzi(remote(), missing, downloadPage(), nullptr, 0, &newer), ZV_LOCAL_UNREADABLE);
        QCOMPARE(int(newer), 0);
        QCOMPARE(ZjistiVerzi(remote(), localFile("verze jedna"), downloadPage(), nullptr, 0, &newer), ZV_LOCAL_INVALID);
        const QString fifo = m_dir.filePath(QStringLiteral("fifo.txt"));
        QVERIFY(makeFifo(fifo));
        int code = -1;
        QVERIFY(returnsWithoutWriter(fifo, [&] {
            code = ZjistiVerzi(remote(), QFile::encodeName(fifo), downloadPage(), nullptr, 0, &newer);
        }));
        QCOMPARE(code, ZV_LOCAL_UNREADABLE);
        QVERIFY(m_server.requests().isEmpty());
    }

    void serverNotListening()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port) + "/download/kavelin.txt";
        unsigned char newer = 0;
        QCOMPARE(ZjistiVerzi(url, localFile("1.0"), downloadPage(), nullptr, 0, &newer), ZV_NETWORK_ERROR);
    }

    void nullArgumentsAreEmptyTexts()
    {
        QCOMPARE(ZjistiVerzi(nullptr, nullptr, nullptr, nullptr, 0, nullptr), ZV_LOCAL_UNREADABLE);
        QCOMPARE(ZjistiVerzi(nullptr, localFile("1.0"), nullptr, nullptr, 0, nullptr), ZV_NO_ADDRESS);
    }

    void tellsTheUser_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("withDownloadPage");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<bool>("opened");
        const QStringList ok{QStringLiteral("OK")};
        const QStringList yesNo{QStringLiteral("Ano"), QStringLiteral("Ne")};
        const QString newer = QStringLiteral("Je k dispozici nová verze programu: 1.1 (nainstalovaná verze: 1.0).");
        const QString offer = newer + QStringLiteral("\n\nChcete otevřít stránku ke stažení?");
        QTest::newRow("newer, opens the download page") << QByteArray("1.1") << 200 << true << "Ano" << offer << yesNo << true;
        QTest::newRow("newer, declined") << QByteArray("1.1") << 200 << true << "Ne" << offer << yesNo << false;
        QTest::newRow("newer, no download page") << QByteArray("1.1") << 200 << false << "" << newer << ok << false;
        QTest::newRow("up to date") << QByteArray("1.0") << 200 << true << ""
                                    << "Používáte nejnovější verzi programu (1.0)." << ok << false;
        QTest::newRow("404") << QByteArray() << 404 << true << ""
                             << "Kontrola aktualizací se nezdařila: server 127.0.0.1 odpověděl chybou HTTP 404." << ok << false;
        QTest::newRow("garbage") << QByteArray("<html>") << 200 << true << ""
                                 << "Kontrola aktualizací se nezdařila: odpověď serveru neobsahuje číslo verze." << ok << false;
        QTest::newRow("too long") << QByteArray(200000, '9') << 200 << true << ""
                                  << "Kontrola aktualizací se nezdařila: odpověď serveru je delší než 64 KB, nejde o soubor s verzí."
                                  << ok << false;
    }
    void tellsTheUser()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(bool, withDownloadPage);
        QFETCH(QString, answer);
        QFETCH(QString, text);
        QFETCH(QStringList, buttons);
        QFETCH(bool, opened);
        TestHttpServer::Response response;
        response.status = status;
        response.body = body;
        m_server.setRoute("/download/kavelin.txt", response);

        MessageBoxAnswerer answerer(answer);
        unsigned char newer = 0;
        const QByteArray page = downloadPage();
        ZjistiVerzi(remote(), localFile("1.0"), withDownloadPage ? page.constData() : nullptr, nullptr, 1, &newer);
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen.first().title, QStringLiteral("Kavelin"));
        QCOMPARE(answerer.seen.first().text, text);
        QCOMPARE(answerer.seen.first().buttons, buttons);
        QCOMPARE(m_catcher.opened, opened ? QList<QUrl>{QUrl(QString::fromUtf8(page))} : QList<QUrl>{});
    }
};

QTEST_MAIN(TestUpdateLibrary)
#include "tst_updatelibrary.moc"
