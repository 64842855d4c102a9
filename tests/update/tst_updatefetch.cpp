#include "testhttpserver.h"
#include "updatecheck.h"
#include "updatemessages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;

// However the server frames an endless answer, the check reads no more than the limit of it.
class TestUpdateFetch : public QObject
{
    Q_OBJECT
private:
    TestHttpServer m_server;
    QTemporaryDir m_dir;
    QString m_local;

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        QVERIFY(m_dir.isValid());
        m_local = m_dir.filePath(QStringLiteral("kavelin.txt"));
        QFile file(m_local);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1.0\n");
    }

    void longAnswerIsCutOff_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("chunked") << QByteArray("Transfer-Encoding") << QByteArray("chunked");
        QTest::newRow("no length, up to the connection's end") << QByteArray("Connection") << QByteArray("close");
        QTest::newRow("announced length") << QByteArray("Content-Length") << QByteArray("1073741824");
    }
    void longAnswerIsCutOff()
    {
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, value);
        constexpr qint64 offered = qint64(1) << 30;
        TestHttpServer::Response endless;
        endless.contentType = "text/plain";
        endless.headers = {{header, value}};
        endless.streamBytes = offered;
        m_server.setRoute("/download/kavelin.txt", endless);
        const qint64 sentBefore = m_server.bytesStreamed();

        const UpdateCheckResult result =
            checkForUpdate(m_server.url(QStringLiteral("/download/kavelin.txt")), m_local, 60s);

        QCOMPARE(result.outcome, UpdateOutcome::InvalidAnswer);
        QVERIFY(result.answerTooLarge);
        QVERIFY2(result.peakBytesHeld <= 2 * maxAnswerBytes, qPrintable(QString::number(result.peakBytesHeld)));
        // The client stopped the server long before the end: what went out is what the
        // system's socket buffers took, not the answer.
        const qint64 sent = m_server.bytesStreamed() - sentBefore;
        QVERIFY2(sent < offered / 16, qPrintable(QString::number(sent)));
    }

    void shortAnswerIsReadWhole()
    {
        TestHttpServer::Response chunked;
        chunked.headers = {{"Transfer-Encoding", "chunked"}};
        chunked.streamBytes = maxAnswerBytes;   // 9999...: a version number of 65536 digits
        m_server.setRoute("/download/kavelin.txt", chunked);
        const UpdateCheckResult result =
            checkForUpdate(m_server.url(QStringLiteral("/download/kavelin.txt")), m_local, 60s);
        QCOMPARE(result.outcome, UpdateOutcome::Newer);
        QCOMPARE(result.remoteVersion.size(), maxAnswerBytes);
    }

    // A server that accepts the connection and never answers: the check gives up at its limit
    // (the library's is ten seconds; a short one here), says so, and the event loop runs meanwhile.
    void serverNeverAnswers()
    {
        TestHttpServer::Response silent;
        silent.delayMs = -1;
        m_server.setRoute("/download/kavelin.txt", silent);
        int ticks = 0;
        QTimer clock;
        connect(&clock, &QTimer::timeout, this, [&] { ++ticks; });
        clock.start(10);

        UpdateCheckResult result = checkForUpdate(m_server.url(QStringLiteral("/download/kavelin.txt")), m_local, 300ms);
        QCOMPARE(result.outcome, UpdateOutcome::Timeout);
        QVERIFY2(ticks > 10, "timers must keep running during the wait");
        result.limit = 10s;
        QCOMPARE(failureReason(result), QStringLiteral("server 127.0.0.1 neodpověděl do 10 sekund"));
    }
};

QTEST_GUILESS_MAIN(TestUpdateFetch)
#include "tst_updatefetch.moc"
