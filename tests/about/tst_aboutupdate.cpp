#include "urlcatcher.h"
#include "messageboxanswerer.h"
#include "testhttpserver.h"
#include "ui/tabout_form.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The about window's update check with the real update library against a loopback server.
class TestAboutUpdate : public QObject
{
    Q_OBJECT
private:
    TestHttpServer m_server;
    QTemporaryDir m_dir;
    UrlCatcher m_catcher;

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        QVERIFY(m_dir.isValid());
        QFile file(m_dir.filePath(QStringLiteral("kavelin.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1.0.4\n");
        file.close();
        qputenv("KAVELIN_MAKER_SITE", m_server.url(QStringLiteral("/")).toString().toUtf8());
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Kavelin"));
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_catcher, "open");
    }

    void pressingTheButton_data()
    {
        QTest::addColumn<QByteArray>("remote");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("opened");
        QTest::newRow("newer, take it") << QByteArray("1.1.0") << "Ano"
            << "Je k dispozici nová verze programu: 1.1.0 (nainstalovaná verze: 1.0.4).\n\nChcete otevřít stránku ke stažení?"
            << true;
        QTest::newRow("same") << QByteArray("1.0.4") << "" << "Používáte nejnovější verzi programu (1.0.4)." << false;
    }
    void pressingTheButton()
    {
        QFETCH(QByteArray, remote);
        QFETCH(QString, answer);
        QFETCH(QString, text);
        QFETCH(bool, opened);
        m_server.clearRequests();
        m_catcher.opened.clear();
        m_server.setRoute("/download/kavelin.txt", remote);

        TAbout_Form form(m_dir.filePath(QStringLiteral("kavelin.txt")), QString());
        MessageBoxAnswerer answerer(answer);
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QCOMPARE(m_server.requestsFor("/download/kavelin.txt").size(), 1);
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen.first().text, text);
        QCOMPARE(m_catcher.opened,
                 opened ? QList<QUrl>{m_server.url(QStringLiteral("/stazeni.php"))} : QList<QUrl>{});
    }
};

QTEST_MAIN(TestAboutUpdate)
#include "tst_aboutupdate.moc"
