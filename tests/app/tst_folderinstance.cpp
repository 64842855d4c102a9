#include "app/folderinstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The folder's lock and socket name; a second copy meeting the first is tested with the built
// program (tst_program).
class TestFolderInstance : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("a/cache")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("b/cache")));
        QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("a")), m_dir.filePath(QStringLiteral("link"))));
    }

    void serverName_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("same");
        QTest::newRow("trailing slash") << "a/cache/" << true;
        QTest::newRow("dot segments") << "a/./x/../cache" << true;
        QTest::newRow("through a symbolic link") << "link/cache" << true;
        QTest::newRow("another folder") << "b/cache" << false;
    }
    void serverName()
    {
        QFETCH(QString, other);
        QFETCH(bool, same);
        const QString name = instanceServerName(m_dir.filePath(QStringLiteral("a/cache")));
        QCOMPARE(instanceServerName(m_dir.filePath(other)) == name, same);
        QVERIFY(name.size() < 64);
    }

    void noLockWhereNoFolderCanBe()
    {
        QFile file(m_dir.filePath(QStringLiteral("soubor")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        FolderInstance instance(m_dir.filePath(QStringLiteral("soubor/cache")));
        QCOMPARE(instance.claim(), FolderInstance::Claim::NotPossible);
    }
};

QTEST_GUILESS_MAIN(TestFolderInstance)
#include "tst_folderinstance.moc"
