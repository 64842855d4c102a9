#include "scheme/localpagerules.h"

#include <QTest>

using localpagerules::RequestKind;
using localpagerules::Verdict;

Q_DECLARE_METATYPE(RequestKind)
Q_DECLARE_METATYPE(Verdict)

// What pages of the "local" scheme may request, as plain rules.
class TestLocalPageRules : public QObject
{
    Q_OBJECT
private slots:
    void judge_data()
    {
        QTest::addColumn<RequestKind>("kind");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("initiator");
        QTest::addColumn<QString>("target");
        QTest::addColumn<Verdict>("verdict");
        // A local page's own origin is opaque: the engine reports no initiator for it.
        QTest::newRow("typed address") << RequestKind::MainFrame << "http" << "" << "local" << Verdict::Allow;
        QTest::newRow("listing link") << RequestKind::MainFrame << "local" << "" << "local" << Verdict::Allow;
        QTest::newRow("picture of a local page") << RequestKind::Embedded << "local" << "" << "local" << Verdict::AllowInPageFolder;
        QTest::newRow("frame of a local page") << RequestKind::Frame << "local" << "local" << "local" << Verdict::AllowInPageFolder;
        QTest::newRow("XHR of a local file") << RequestKind::Read << "local" << "" << "local" << Verdict::Block;
        QTest::newRow("picture from file://") << RequestKind::Embedded << "local" << "" << "file" << Verdict::Block;
        QTest::newRow("WebSocket of a local page") << RequestKind::Socket << "local" << "local" << "ws" << Verdict::Block;
        QTest::newRow("picture from the web") << RequestKind::Embedded << "local" << "" << "http" << Verdict::Block;
        QTest::newRow("local page while a typed address loads") << RequestKind::Read << "https" << "" << "local" << Verdict::Block;
        QTest::newRow("web page's sandboxed frame") << RequestKind::Read << "https" << "" << "https" << Verdict::Allow;
        QTest::newRow("web page under a local top page") << RequestKind::Read << "local" << "https" << "https" << Verdict::Allow;
    }

    void judge()
    {
        QFETCH(RequestKind, kind);
        QFETCH(QString, page);
        QFETCH(QString, initiator);
        QFETCH(QString, target);
        QFETCH(Verdict, verdict);
        QCOMPARE(localpagerules::judge(kind, page, initiator, target), verdict);
    }

    void isInFolderTree_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("inside");
        QTest::newRow("same folder") << QByteArray("/home/ann/d") << QByteArray("/home/ann/d/a.png") << true;
        QTest::newRow("below") << QByteArray("/home/ann/d") << QByteArray("/home/ann/d/x_files/a.css") << true;
        QTest::newRow("beside") << QByteArray("/home/ann/d") << QByteArray("/home/ann/e/a.png") << false;
        QTest::newRow("name that starts alike") << QByteArray("/home/ann/d") << QByteArray("/home/ann/dd/a.png") << false;
        QTest::newRow("above") << QByteArray("/home/ann/d") << QByteArray("/home/ann/secret.txt") << false;
        QTest::newRow("root holds all") << QByteArray("/") << QByteArray("/etc/passwd") << true;
        QTest::newRow("missing target") << QByteArray("/home/ann/d") << QByteArray() << false;
    }

    void isInFolderTree()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, path);
        QFETCH(bool, inside);
        QCOMPARE(localpagerules::isInFolderTree(folder, path), inside);
    }
};

QTEST_GUILESS_MAIN(TestLocalPageRules)
#include "tst_localpagerules.moc"
