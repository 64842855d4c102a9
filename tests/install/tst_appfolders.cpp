#include "app/appfolders.h"
#include "sniper/positions.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(FolderFacts)

// Where the program keeps its files: beside itself when it can write there, in the user's
// folders when it is installed.
class TestAppFolders : public QObject
{
    Q_OBJECT
private:
    static FolderFacts installed()
    {
        FolderFacts facts;
        facts.programDir = QStringLiteral("/usr/bin");
        facts.programDirWritable = false;
        facts.currentDir = QStringLiteral("/home/ann");
        facts.configLocation = QStringLiteral("/home/ann/.config/Kavelin");
        facts.dataLocation = QStringLiteral("/home/ann/.local/share/Kavelin");
        facts.installedDataDir = QStringLiteral("/usr/bin/../share/kavelin");
        return facts;
    }

    static FolderFacts portable(const QString &programDir)
    {
        FolderFacts facts = installed();
        facts.programDir = programDir;
        facts.programDirWritable = true;
        facts.currentDir = QStringLiteral("/home/ann/work");
        facts.installedDataDir = programDir + QStringLiteral("/../share/kavelin");
        facts.versionBesideProgram = true;
        return facts;
    }

private slots:
    void chooseFolders_data()
    {
        QTest::addColumn<FolderFacts>("facts");
        QTest::addColumn<bool>("portable");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("bidRecords");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("adopt");

        QTest::newRow("build folder") << portable(QStringLiteral("/src/kavelin/build/bin")) << true
            << "/src/kavelin/build/bin" << "/home/ann/work/cache" << "/home/ann/.local/share/Kavelin/prihozy"
            << "/src/kavelin/build/bin/kavelin.txt" << "";

        QTest::newRow("installed") << installed() << false
            << "/home/ann/.config/Kavelin" << "/home/ann/.local/share/Kavelin/cache"
            << "/home/ann/.local/share/Kavelin/prihozy" << "/usr/share/kavelin/kavelin.txt" << "";

        FolderFacts firstStart = installed();
        firstStart.settingsBesideProgram = true;
        QTest::newRow("installed over settings beside the program") << firstStart << false
            << "/home/ann/.config/Kavelin" << "/home/ann/.local/share/Kavelin/cache"
            << "/home/ann/.local/share/Kavelin/prihozy" << "/usr/share/kavelin/kavelin.txt"
            << "/usr/bin/nastaveni.ini";

        FolderFacts both = firstStart;
        both.settingsInConfig = true;
        QTest::newRow("installed, the user's settings already there") << both << false
            << "/home/ann/.config/Kavelin" << "/home/ann/.local/share/Kavelin/cache"
            << "/home/ann/.local/share/Kavelin/prihozy" << "/usr/share/kavelin/kavelin.txt" << "";

        FolderFacts unpacked = installed();
        unpacked.programDir = QStringLiteral("/tmp/look/usr/bin");
        unpacked.installedDataDir = QStringLiteral("/tmp/look/usr/bin/../share/kavelin");
        QTest::newRow("package unpacked elsewhere") << unpacked << false
            << "/home/ann/.config/Kavelin" << "/home/ann/.local/share/Kavelin/cache"
            << "/home/ann/.local/share/Kavelin/prihozy" << "/tmp/look/usr/share/kavelin/kavelin.txt" << "";
    }

    void chooseFolders()
    {
        QFETCH(FolderFacts, facts);
        const AppFolders folders = ::chooseFolders(facts);
        QTEST(folders.portable, "portable");
        QTEST(folders.settingsFolder, "settings");
        QTEST(folders.profileFolder, "profile");
        QTEST(folders.bidRecordsFolder, "bidRecords");
        QTEST(folders.versionFile, "version");
        QTEST(folders.settingsToAdopt, "adopt");
    }

    // The settings beside an installed program, which the user may not write, become the
    // user's own; an older copy never overwrites them.
    void prepareFolders_data()
    {
        QTest::addColumn<bool>("alreadyThere");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("first start") << false << QByteArray("[pozice]\nprihoz-x=10\n");
        QTest::newRow("user's settings already there") << true << QByteArray("[pozice]\nprihoz-x=99\n");
    }

    void prepareFolders()
    {
        QFETCH(bool, alreadyThere);
        QFETCH(QByteArray, expected);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString programDir = root.filePath(QStringLiteral("usr/bin"));
        QVERIFY(QDir().mkpath(programDir));
        QFile old(settingsPath(programDir));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[pozice]\nprihoz-x=10\n");
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

        FolderFacts facts = installed();
        facts.programDir = programDir;
        facts.configLocation = root.filePath(QStringLiteral("config/Kavelin"));
        facts.dataLocation = root.filePath(QStringLiteral("data/Kavelin"));
        facts.settingsBesideProgram = true;
        if (alreadyThere) {
            QVERIFY(QDir().mkpath(facts.configLocation));
            QFile mine(settingsPath(facts.configLocation));
            QVERIFY(mine.open(QIODevice::WriteOnly));
            mine.write("[pozice]\nprihoz-x=99\n");
        }
        facts.settingsInConfig = alreadyThere;
        const AppFolders folders = ::chooseFolders(facts);

        QCOMPARE(::prepareFolders(folders), QString());
        QVERIFY(QFileInfo(folders.profileFolder).isDir());
        QFile settings(settingsPath(folders.settingsFolder));
        QVERIFY(settings.permissions() & QFile::WriteOwner);
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), expected);
    }
};

QTEST_GUILESS_MAIN(TestAppFolders)
#include "tst_appfolders.moc"
