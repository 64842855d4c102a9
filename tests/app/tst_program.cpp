#include "programrunner.h"
#include "testhttpserver.h"
#include "xsession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The built program, started as a user starts it, in a fresh working directory.
class TestProgram : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        TestHttpServer::Response setter;
        setter.body = "<html><body>nastaveno</body></html>";
        setter.headers = {{"Set-Cookie", "kavelin_test=ja; Max-Age=86400; Path=/"}};
        m_server.setRoute("/set", setter);
        m_server.setRoute("/check", QByteArray("<html><body>kontrola</body></html>"));
    }

    void profileAndCookiesSurviveARestart()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());

        {
            ProgramRunner program(QStringLiteral(KAVELIN_PROGRAM), work.path());
            program.start();
            const QString window = program.waitForWindow(QStringLiteral("Kavelin"));
            QVERIFY2(!window.isEmpty(), "the main window did not appear");
            QVERIFY(QDir(work.filePath(QStringLiteral("cache"))).exists());
            program.typeAddress(window, m_server.url(QStringLiteral("/set")).toString());
            QTRY_COMPARE_WITH_TIMEOUT(m_server.requestsFor("/set").size(), 1, 20000);
            QTest::qWait(500);
            program.closeWindow(window);
            QCOMPARE(program.waitForExit(), 0);
        }
        {
            ProgramRunner program(QStringLiteral(KAVELIN_PROGRAM), work.path());
            program.start();
            const QString window = program.waitForWindow(QStringLiteral("Kavelin"));
            QVERIFY(!window.isEmpty());
            program.typeAddress(window, m_server.url(QStringLiteral("/check")).toString());
            QTRY_COMPARE_WITH_TIMEOUT(m_server.requestsFor("/check").size(), 1, 20000);
            const QByteArray cookie = m_server.requestsFor("/check").first().headers.value("cookie");
            QVERIFY2(cookie.contains("kavelin_test=ja"), cookie.constData());
            program.closeWindow(window);
            QCOMPARE(program.waitForExit(), 0);
        }
    }

    void engineThatCannotStartGivesOneErrorBoxAndExitCodeOne()
    {
        QTemporaryDir work;
        ProgramRunner program(QStringLiteral(KAVELIN_PROGRAM), work.path());
        program.environment().insert(QStringLiteral("QTWEBENGINE_PROCESS_PATH"),
                                     QStringLiteral("/nonexistent/QtWebEngineProcess"));
        program.start();
        const QString box = program.waitForWindow(QStringLiteral("Kavelin"));
        QVERIFY2(!box.isEmpty(), "no error box");
        QTest::qWait(300);
        QCOMPARE(program.windowCount(QStringLiteral("Kavelin")), 1);
        xsession::activate(box);
        xsession::keys({QStringLiteral("Return")});
        QCOMPARE(program.waitForExit(), 1);
        QVERIFY(!QDir(work.filePath(QStringLiteral("cache"))).exists());
    }

private:
    TestHttpServer m_server;
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
