#include "programrunner.h"
#include "testhttpserver.h"
#include "xsession.h"

#include <QDir>
#include <QFile>
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

    // A second copy started in the same folder says so, brings the first one's window back
    // and ends; the first one runs on.
    void secondCopyInTheSameFolder()
    {
        QTemporaryDir work;
        ProgramRunner first(QStringLiteral(KAVELIN_PROGRAM), work.path());
        first.start();
        const QString window = first.waitForWindow(QStringLiteral("Kavelin"));
        QVERIFY2(!window.isEmpty(), "the main window did not appear");
        xsession::xdotool({QStringLiteral("windowminimize"), QStringLiteral("--sync"), window});
        QTRY_COMPARE(first.windowCount(QStringLiteral("Kavelin")), 0);

        ProgramRunner second(QStringLiteral(KAVELIN_PROGRAM), work.path());
        second.process().setProcessChannelMode(QProcess::SeparateChannels);
        second.start();
        // The first copy's window again, and the second's box.
        QTRY_COMPARE_WITH_TIMEOUT(first.windowCount(QStringLiteral("Kavelin")), 2, 20000);
        QStringList shown = xsession::windows(QStringLiteral("Kavelin"));
        QVERIFY(shown.removeOne(window));
        xsession::activate(shown.first());
        xsession::keys({QStringLiteral("Return")});
        QCOMPARE(second.waitForExit(), 0);
        QVERIFY(QString::fromUtf8(second.process().readAllStandardError())
                    .contains(QStringLiteral("Kavelin už v této složce běží (%1).").arg(work.path())));

        QCOMPARE(first.process().state(), QProcess::Running);
        QCOMPARE(xsession::windows(QStringLiteral("Kavelin")), QStringList{window});
        first.closeWindow(window);
        QCOMPARE(first.waitForExit(), 0);
    }

    // A copy killed leaves its lock and, when killed at the settings file's rename, a temporary
    // file: the next start takes the lock over and removes the temporary.
    void startAfterAKill()
    {
        QTemporaryDir work;
        QTemporaryDir programDir;
        const QString program = ProgramRunner::copyProgram(QStringLiteral(KAVELIN_PROGRAM), programDir.path());
        QVERIFY(!program.isEmpty());
        qint64 killedPid = 0;
        {
            ProgramRunner killed(program, work.path());
            killed.start();
            QVERIFY(!killed.waitForWindow(QStringLiteral("Kavelin")).isEmpty());
            killedPid = killed.process().processId();
            killed.process().kill();
            QVERIFY(killed.process().waitForFinished(10000));
        }
        QVERIFY(QFile::exists(work.filePath(QStringLiteral("cache/kavelin.lock"))));
        const QString stray = programDir.filePath(QStringLiteral("nastaveni.ini.tmp-%1").arg(killedPid));
        QFile file(stray);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        ProgramRunner next(program, work.path());
        next.start();
        const QString window = next.waitForWindow(QStringLiteral("Kavelin"));
        QVERIFY2(!window.isEmpty(), "no window after the kill");
        QVERIFY2(xsession::geometry(window).width() > 668, "a box, not the main window");
        QVERIFY(!QFile::exists(stray));
        next.closeWindow(window);
        QCOMPARE(next.waitForExit(), 0);
    }

    void noDisplay_data()
    {
        QTest::addColumn<QString>("display");
        QTest::newRow("DISPLAY not set") << QString();
        QTest::newRow("no X server there") << QStringLiteral(":4711");
    }
    void noDisplay()
    {
        QFETCH(QString, display);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), display);
        QTemporaryDir work;
        QProcess run;
        run.setProcessEnvironment(environment);
        run.setWorkingDirectory(work.path());
        run.start(QStringLiteral(KAVELIN_PROGRAM), {});
        QVERIFY(run.waitForFinished(20000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 1);
        const QString said = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(said.startsWith(QStringLiteral("Kavelin nelze spustit: ")), qPrintable(said));
        QVERIFY(!QDir(work.filePath(QStringLiteral("cache"))).exists());
    }

private:
    TestHttpServer m_server;
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
