#include "sniper/inifile.h"
#include "common/integertext.h"
#include "sniper/positions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}
} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void integers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("value");
        QTest::newRow("decimal") << "231" << 231;
        QTest::newRow("negative") << "-17" << -17;
        QTest::newRow("plus sign") << "+5" << 5;
        QTest::newRow("hex lower") << "0x10" << 16;
        QTest::newRow("hex upper X and digits") << "0XfF" << 255;
        QTest::newRow("hex full pattern") << "0xFFFFFFFF" << -1;
        QTest::newRow("hex beyond 32 bits") << "0x100000000" << 0;
        QTest::newRow("bare 0x") << "0x" << 0;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("digits then letters") << "12ab" << 0;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << qint32(-2147483647 - 1);
        QTest::newRow("too large") << "2147483648" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign only") << "-" << 0;
    }
    void integers()
    {
        QFETCH(QString, text);
        QFETCH(qint32, value);
        QCOMPARE(parseInt32(text).value_or(0), value);
    }

    void editBoxIntegerOrConversionError()
    {
        QCOMPARE(textToInt(QStringLiteral(" 12")), 12);
        QCOMPARE(textToInt(QStringLiteral("-4")), -4);
        try {
            textToInt(QStringLiteral("abc"));
            QFAIL("no error");
        } catch (const ConversionError &error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("'abc' is not a valid integer value"));
        }
        QVERIFY_THROWS_EXCEPTION(ConversionError, textToInt(QStringLiteral("5 ")));
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QByteArray("[pozice]\nprihoz-x=12\n") << "12";
        QTest::newRow("names in other case, blanks") << QByteArray("  [ POZICE ] \r\n  Prihoz-X =  12  \r\n") << "12";
        QTest::newRow("other section only") << QByteArray("[jine]\nprihoz-x=12\n") << "";
        QTest::newRow("key of a later section") << QByteArray("[pozice]\na=1\n[jine]\nprihoz-x=12\n") << "";
        QTest::newRow("first of two keys") << QByteArray("[pozice]\nprihoz-x=1\nprihoz-x=2\n") << "1";
        QTest::newRow("prefix is not the key") << QByteArray("[pozice]\nprihoz-x-2=7\n") << "";
        QTest::newRow("value with equals sign") << QByteArray("[pozice]\nprihoz-x=a=b\n") << "a=b";
        QTest::newRow("no terminator") << QByteArray("[pozice]\nprihoz-x=9") << "9";
        QTest::newRow("empty file") << QByteArray() << "";
    }
    void reading()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, value);
        QCOMPARE(ini::valueIn(content, QStringLiteral("pozice"), QStringLiteral("prihoz-x")), value);
    }

    void writing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QByteArray("[pozice]\nprihoz-x=5\n");
        QTest::newRow("replaced where it stands, the rest byte for byte")
            << QByteArray("; mine\r\n[pozice]\r\n  PRIHOZ-X = 1 \r\nprihoz-y=2\r\n[jine]\r\nprihoz-x=3\r\n")
            << QByteArray("; mine\r\n[pozice]\r\nprihoz-x=5\r\nprihoz-y=2\r\n[jine]\r\nprihoz-x=3\r\n");
        QTest::newRow("missing key after the section's last line")
            << QByteArray("[pozice]\nprihoz-y=2\n\n[jine]\na=1\n")
            << QByteArray("[pozice]\nprihoz-y=2\nprihoz-x=5\n\n[jine]\na=1\n");
        QTest::newRow("empty section")
            << QByteArray("[pozice]\n[jine]\n") << QByteArray("[pozice]\nprihoz-x=5\n[jine]\n");
        QTest::newRow("missing section at the end, unterminated last line")
            << QByteArray("[jine]\na=1") << QByteArray("[jine]\na=1\n[pozice]\nprihoz-x=5\n");
        QTest::newRow("section as the unterminated last line")
            << QByteArray("[pozice]") << QByteArray("[pozice]\nprihoz-x=5");
        QTest::newRow("CRLF kept for new lines")
            << QByteArray("[jine]\r\na=1\r\n") << QByteArray("[jine]\r\na=1\r\n[pozice]\r\nprihoz-x=5\r\n");
    }
    void writing()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QCOMPARE(ini::withValue(before, QStringLiteral("pozice"), QStringLiteral("prihoz-x"), QStringLiteral("5")), after);
    }

    void firstCaptureCreatesTheFileWithItsTwoKeys()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path());
        QCOMPARE(path, dir.filePath(QStringLiteral("nastaveni.ini")));
        QCOMPARE(readPosition(path, 2), ScreenPoint{});
        QString error;
        QVERIFY(writePosition(path, 2, {100, 231}, &error));
        QCOMPARE(readAll(path), QByteArray("[pozice]\nprihoz-x-2=100\nprihoz-y-2=231\n"));
        QCOMPARE(readPosition(path, 2), (ScreenPoint{100, 231}));
        // Nothing but the file itself is left in the folder.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("nastaveni.ini")});
    }

    void recaptureReplacesOnlyItsPosition()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path());
        QVERIFY(writePosition(path, 1, {1, 2}, nullptr));
        QVERIFY(writePosition(path, 2, {3, 4}, nullptr));
        QVERIFY(writePosition(path, 3, {5, 6}, nullptr));
        QVERIFY(writePosition(path, 1, {-7, 80000}, nullptr));
        QCOMPARE(readPosition(path, 1), (ScreenPoint{-7, 80000}));
        QCOMPARE(readPosition(path, 2), (ScreenPoint{3, 4}));
        QCOMPARE(readPosition(path, 3), (ScreenPoint{5, 6}));
        QCOMPARE(readAll(path), QByteArray("[pozice]\nprihoz-x=-7\nprihoz-y=80000\nprihoz-x-2=3\nprihoz-y-2=4\n"
                                           "prihoz-x-3=5\nprihoz-y-3=6\n"));
    }

    void handEditedValues()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path());
        writeAll(path, "[Pozice]\nprihoz-x = 0x10\nprihoz-y=abc\n");
        QCOMPARE(readPosition(path, 1), (ScreenPoint{16, 0}));
        // Reading never writes.
        QCOMPARE(readAll(path), QByteArray("[Pozice]\nprihoz-x = 0x10\nprihoz-y=abc\n"));
    }

    void unwritableFolderFailsWithReasonAndNoFile()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.filePath(QStringLiteral("gone")));
        QString error;
        QVERIFY(!writePosition(path, 1, {1, 2}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void readOnlyFileStaysAsItWas()
    {
        if (geteuid() == 0)
            QSKIP("root writes read-only files");
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path());
        writeAll(path, "[pozice]\nprihoz-x=1\n");
        QFile::setPermissions(path, QFile::ReadOwner);
        QString error;
        QVERIFY(!writePosition(path, 1, {9, 9}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readAll(path), QByteArray("[pozice]\nprihoz-x=1\n"));
    }

    // A write ended by a kill before its rename leaves its temporary file; the next start
    // removes it unless its writer still runs.
    void strayTemporaries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("writerRunning");
        QTest::addColumn<bool>("removed");
        QTest::newRow("left by a writer that is gone") << "nastaveni.ini.tmp-4711" << false << true;
        QTest::newRow("of a writer at work") << "nastaveni.ini.tmp-4711" << true << false;
        QTest::newRow("the file itself") << "nastaveni.ini" << false << false;
        QTest::newRow("a backup of the user's") << "nastaveni.ini.zaloha" << false << false;
        QTest::newRow("a temporary of another file") << "jiny.ini.tmp-4711" << false << false;
        QTest::newRow("no process number") << "nastaveni.ini.tmp-47x1" << false << false;
    }
    void strayTemporaries()
    {
        QFETCH(QString, name);
        QFETCH(bool, writerRunning);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path());
        writeAll(dir.filePath(name), "[pozice]\nprihoz-x=2\n");
        writeAll(path, "[pozice]\nprihoz-x=1\n");
        QList<qint64> asked;
        const QStringList gone = ini::removeStrayTemporaries(path, [&](qint64 pid) {
            asked.append(pid);
            return writerRunning;
        });
        QCOMPARE(gone, removed ? QStringList{name} : QStringList{});
        QCOMPARE(QFile::exists(dir.filePath(name)), !removed);
        QCOMPARE(readAll(path), QByteArray("[pozice]\nprihoz-x=1\n"));
        if (removed || writerRunning)
            QCOMPARE(asked, QList<qint64>{4711});
    }

    void writeKeepsTheFilesPermissions()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path());
        writeAll(path, "[pozice]\n");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QFile::Permissions mode = QFile::permissions(path);
        QVERIFY(writePosition(path, 1, {1, 2}, nullptr));
        QCOMPARE(QFile::permissions(path), mode);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("nastaveni.ini")});
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
