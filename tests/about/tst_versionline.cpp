#include "fifo.h"
#include "ui/messages.h"
#include "ui/versionline.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestVersionLine : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private slots:
    void label_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("label");
        QTest::newRow("1.2.3: only the first dot goes") << QByteArray("1.2.3\n") << "Verze programu: 12.3";
        QTest::newRow("2.05") << QByteArray("2.05") << "Verze programu: 205";
        QTest::newRow("7: no dot") << QByteArray("7") << "Verze programu: 7";
        QTest::newRow("only the first line") << QByteArray("3.1\n4.2 beta\n") << "Verze programu: 31";
        QTest::newRow("CRLF") << QByteArray("3.1\r\n4.2") << "Verze programu: 31";
        QTest::newRow("empty file") << QByteArray() << "Verze programu: ";
        QTest::newRow("blanks are kept") << QByteArray(" 1.0 \n") << "Verze programu:  10 ";
        QTest::newRow("UTF-8") << QByteArray("1.0 šťastná\n") << "Verze programu: 10 šťastná";
    }
    void label()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, label);
        const QString path = m_dir.filePath(QStringLiteral("kavelin.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        const VersionFileLine line = readVersionFileLine(path);
        QVERIFY(line.ok);
        QCOMPARE(versionLabelText(line.line), label);
    }

    void missingFile()
    {
        const VersionFileLine line = readVersionFileLine(m_dir.filePath(QStringLiteral("none.txt")));
        QVERIFY(!line.ok);
        QCOMPARE(errorBoxText(line.error), QStringLiteral("File not found."));
    }

    void unreadable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a directory of that name") << "directory";
        QTest::newRow("no read permission") << "locked";
        QTest::newRow("a FIFO does not hold start-up") << "fifo";
    }
    void unreadable()
    {
        QFETCH(QString, kind);
        const QString path = m_dir.filePath(kind + QStringLiteral(".txt"));
        if (kind == QStringLiteral("directory")) {
            QVERIFY(QDir(m_dir.path()).mkdir(kind + QStringLiteral(".txt")));
        } else if (kind == QStringLiteral("fifo")) {
            QVERIFY(makeFifo(path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("1.0");
            file.close();
            QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("running with rights that ignore file permissions");
        }
        VersionFileLine line;
        QVERIFY(returnsWithoutWriter(path, [&] { line = readVersionFileLine(path); }));
        QVERIFY(!line.ok);
        QVERIFY(!line.error.isEmpty());
        QVERIFY(line.error != QStringLiteral("File not found"));
    }
};

QTEST_GUILESS_MAIN(TestVersionLine)
#include "tst_versionline.moc"
