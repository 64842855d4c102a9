#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The program is bound to the update library when it is loaded, and finds it beside itself.
class TestProgramBinding : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_program;

    QProcessEnvironment environment(bool traceOnly) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LD_LIBRARY_PATH"));
        if (traceOnly)
            env.insert(QStringLiteral("LD_TRACE_LOADED_OBJECTS"), QStringLiteral("1"));
        return env;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_program = m_dir.filePath(QStringLiteral("kavelin"));
        QVERIFY(QFile::copy(QStringLiteral(KAVELIN_PROGRAM), m_program));
    }

    void doesNotStartWithoutTheLibrary()
    {
        QProcess run;
        run.setProcessEnvironment(environment(false));
        run.start(m_program, {});
        QVERIFY(run.waitForFinished(20000));
        QCOMPARE(run.exitCode(), 127);
        QVERIFY(run.readAllStandardError().contains("libzorvan.so"));
    }

    void findsTheLibraryBesideItself()
    {
        QVERIFY(QFile::copy(QStringLiteral(KAVELIN_UPDATE_LIBRARY), m_dir.filePath(QStringLiteral("libzorvan.so"))));
        QProcess trace;
        trace.setProcessEnvironment(environment(true));
        trace.start(m_program, {});
        QVERIFY(trace.waitForFinished(20000));
        const QByteArray loaded = trace.readAllStandardOutput();
        QVERIFY2(loaded.contains("libzorvan.so => " + QFile::encodeName(m_dir.filePath(QStringLiteral("libzorvan.so")))),
                 loaded.constData());
    }
};

QTEST_GUILESS_MAIN(TestProgramBinding)
#include "tst_programbinding.moc"
