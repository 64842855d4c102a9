#include "nativefile.h"
#include "openfiles.h"
#include "scheme/filebodydevice.h"
#include "scheme/listingpage.h"
#include "scheme/tfilescheme.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// The local:// URL of an absolute path, as the browser sends it (percent-encoded).
QByteArray localUrl(const QString &path)
{
    return "local:/" + QUrl::toPercentEncoding(path, "/");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readAll(QIODevice &device, qint64 piece = 64 * 1024)
{
    QByteArray all;
    QByteArray buffer(piece, Qt::Uninitialized);
    while (!device.atEnd()) {
        const qint64 got = device.read(buffer.data(), piece);
        if (got <= 0)
            break;
        all.append(buffer.constData(), got);
    }
    return all;
}

int addRowCount(const QByteArray &page)
{
    return int(page.count("\naddRow("));
}
} // namespace

// One request of the "local" scheme against the real file system, without the web engine.
class TestSchemeRequest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("sub/inner")));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("notes.txt")), "hello notes"));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("manual.pdf")), "%PDF-1.4"));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("data.zzqx")), "x"));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("README")), "P\xC5\x99" "e\xC4\x8D" "ti m\xC4\x9B\n"));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("blob.zzqx")), QByteArray("\x89PNG\r\n\x1A\n\0\0", 10)));
        QVERIFY(writeNativeFile(QFile::encodeName(m_dir.path()) + "/caf\xE9.txt", "latin"));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral(".hidden")), "secret"));
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("sub/a.txt")), "a"));
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
    }

    void fileIsServedWithItsType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("mime");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << "notes.txt" << QByteArray("text/plain") << QByteArray("hello notes");
        QTest::newRow("pdf") << "manual.pdf" << QByteArray("application/pdf") << QByteArray("%PDF-1.4");
        QTest::newRow("unknown extension, text") << "data.zzqx" << QByteArray("text/plain;charset=utf-8") << QByteArray("x");
        QTest::newRow("no extension, text") << "README" << QByteArray("text/plain;charset=utf-8")
                                             << QByteArray("P\xC5\x99" "e\xC4\x8D" "ti m\xC4\x9B\n");
        QTest::newRow("unknown extension, binary") << "blob.zzqx" << QByteArray("application/octet-stream")
                                                   << QByteArray("\x89PNG\r\n\x1A\n\0\0", 10);
    }

    void fileIsServedWithItsType()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, mime);
        QFETCH(QByteArray, content);
        TFileScheme scheme;
        scheme.ProcessRequest(localUrl(m_dir.filePath(name)) + "?x=1");
        const TFileScheme::ResponseHeaders headers = scheme.GetResponseHeaders();
        QCOMPARE(headers.status, 200);
        QCOMPARE(headers.statusText, QByteArray("OK"));
        QCOMPARE(headers.mimeType, mime);
        QCOMPARE(headers.length, content.size());
        std::unique_ptr<QIODevice> body = scheme.takeBody();
        QVERIFY(body && body->isOpen());
        QCOMPARE(readAll(*body), content);
    }

    // A name that is not UTF-8 is listed with its raw bytes as the link, and that link opens it.
    void nameThatIsNotUtf8()
    {
        const QByteArray folder = QFile::encodeName(m_dir.path());
        TFileScheme listing;
        listing.ProcessRequest("local:/" + QUrl::toPercentEncoding(m_dir.path(), "/"));
        const QByteArray page = readAll(*listing.takeBody());
        QVERIFY2(page.contains("addRow(\"caf\\uFFFD.txt\",\"caf%E9.txt\",0,"), page.right(600).constData());

        TFileScheme file;
        file.ProcessRequest("local:/" + QUrl::toPercentEncoding(m_dir.path(), "/") + "/caf%E9.txt");
        QCOMPARE(file.GetResponseHeaders().status, 200);
        QCOMPARE(file.nativePath(), folder + "/caf\xE9.txt");
        QCOMPARE(readAll(*file.takeBody()), QByteArray("latin"));
    }

    void notFound_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QString>("heading");
        const QString missing = m_dir.filePath(QStringLiteral("missing.txt"));
        QTest::newRow("missing") << localUrl(missing) << missing;
        QTest::newRow("hidden file") << localUrl(m_dir.filePath(QStringLiteral(".hidden")))
                                     << m_dir.filePath(QStringLiteral(".hidden"));
        QTest::newRow("named pipe") << localUrl(m_dir.filePath(QStringLiteral("pipe")))
                                    << m_dir.filePath(QStringLiteral("pipe"));
        QTest::newRow("character device") << QByteArray("local://dev/zero") << "/dev/zero";
        QTest::newRow("malformed URL") << QByteArray("local:c/x") << "";
    }

    void notFound()
    {
        QFETCH(QByteArray, url);
        QFETCH(QString, heading);
        TFileScheme scheme;
        scheme.ProcessRequest(url);
        const TFileScheme::ResponseHeaders headers = scheme.GetResponseHeaders();
        QCOMPARE(headers.status, 404);
        QCOMPARE(headers.statusText, QByteArray("Not found"));
        QCOMPARE(headers.mimeType, QByteArray("text/html"));
        std::unique_ptr<QIODevice> body = scheme.takeBody();
        const QByteArray page = readAll(*body);
        QCOMPARE(page, listingpage::notFoundPage(heading));
        QCOMPARE(headers.length, page.size());
    }

    void folderWithAndWithoutSlash_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("without slash") << "";
        QTest::newRow("with slash") << "/";
    }

    void folderWithAndWithoutSlash()
    {
        QFETCH(QString, suffix);
        const QString folder = m_dir.filePath(QStringLiteral("sub"));
        TFileScheme scheme;
        scheme.ProcessRequest(localUrl(folder + suffix));
        const TFileScheme::ResponseHeaders headers = scheme.GetResponseHeaders();
        QCOMPARE(headers.status, 200);
        QCOMPARE(headers.mimeType, QByteArray("text/html"));
        QCOMPARE(scheme.path(), folder + '/');
        const QByteArray page = readAll(*scheme.takeBody());
        QVERIFY(page.startsWith(listingpage::loadListingTemplate()));
        QVERIFY(page.contains("<script>start(\"" + QFile::encodeName(folder) + "/\");</script>\r\n"));
        QCOMPARE(addRowCount(page), 3);  // "..", "inner", "a.txt"
        QVERIFY(page.contains("<script>\r\naddRow(\"..\",\"..\",1,"));
        QVERIFY(page.indexOf("addRow(\"inner\"") < page.indexOf("addRow(\"a.txt\""));
        QVERIFY(!page.contains("addRow(\".\""));
    }

    void listingShowsHiddenAndSpecialEntries()
    {
        TFileScheme scheme;
        scheme.ProcessRequest(localUrl(m_dir.path()));
        const QByteArray page = readAll(*scheme.takeBody());
        QVERIFY(page.contains("addRow(\".hidden\",\".hidden\",0,\"6 B\""));
        QVERIFY(page.contains("addRow(\"pipe\",\"pipe\",0,\"0 B\""));
    }

    void firstLevelFolderHasNoParentRow()
    {
        TFileScheme scheme;
        scheme.ProcessRequest("local://dev/");
        QCOMPARE(scheme.GetResponseHeaders().status, 200);
        const QByteArray page = readAll(*scheme.takeBody());
        QVERIFY(page.contains("<script>start(\"/dev/\");</script>"));
        QVERIFY(addRowCount(page) > 0);
        QVERIFY(!page.contains("addRow(\"..\""));
    }

    void unreadableFolderGivesEmptyListing()
    {
        if (geteuid() == 0)
            QSKIP("root reads every folder");
        const QString locked = m_dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkdir(locked));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        TFileScheme scheme;
        scheme.ProcessRequest(localUrl(locked));
        QCOMPARE(scheme.GetResponseHeaders().status, 200);
        QCOMPARE(addRowCount(readAll(*scheme.takeBody())), 0);
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void unreadableFileIsNotFound()
    {
        if (geteuid() == 0)
            QSKIP("root opens every file");
        const QString locked = m_dir.filePath(QStringLiteral("locked.txt"));
        QVERIFY(writeFile(locked, "locked"));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        TFileScheme scheme;
        scheme.ProcessRequest(localUrl(locked));
        QCOMPARE(scheme.GetResponseHeaders().status, 404);
    }

    void bodyReadInPiecesAndSeeks()
    {
        const QString path = m_dir.filePath(QStringLiteral("pieces.bin"));
        QByteArray bytes(300 * 1024 + 17, Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 7) & 0xFF);
        QVERIFY(writeFile(path, bytes));
        std::unique_ptr<FileBodyDevice> device = FileBodyDevice::open(path);
        QVERIFY(device);
        QCOMPARE(device->size(), bytes.size());
        QCOMPARE(readAll(*device), bytes);
        QVERIFY(device->atEnd());
        QVERIFY(device->seek(100000));  // a range request starts there
        QCOMPARE(readAll(*device, 4096), bytes.mid(100000));
        QVERIFY(!device->seek(bytes.size() + 1));
    }

    // A file that shrinks after its length was announced ends the body early instead of
    // leaving the reader waiting for bytes that never come.
    void shrunkFileEndsBody()
    {
        const QString path = m_dir.filePath(QStringLiteral("shrinks.bin"));
        QVERIFY(writeFile(path, QByteArray(200000, 'a')));
        std::unique_ptr<FileBodyDevice> device = FileBodyDevice::open(path);
        QVERIFY(device);
        QByteArray piece(65536, Qt::Uninitialized);
        QCOMPARE(device->read(piece.data(), piece.size()), 65536);
        QVERIFY(QFile::resize(path, 70000));
        QCOMPARE(device->read(piece.data(), piece.size()), 70000 - 65536);
        QCOMPARE(device->read(piece.data(), piece.size()), 0);
        QVERIFY(device->atEnd());
        QCOMPARE(device->size(), 200000);
    }

    void closedBodyReleasesFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("notes.txt"));
        std::unique_ptr<FileBodyDevice> device = FileBodyDevice::open(path);
        QVERIFY(device);
        QCOMPARE(openDescriptorsFor(path), 1);
        device->close();
        QCOMPARE(openDescriptorsFor(path), 0);
        QVERIFY(device->atEnd());
    }

    void onlyRegularFilesOpen_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("pipe") << m_dir.filePath(QStringLiteral("pipe"));
        QTest::newRow("device") << "/dev/zero";
        QTest::newRow("folder") << m_dir.path();
        QTest::newRow("missing") << m_dir.filePath(QStringLiteral("nope"));
    }

    void onlyRegularFilesOpen()
    {
        QFETCH(QString, path);
        QVERIFY(!FileBodyDevice::open(path));
        QCOMPARE(openDescriptorsFor(path), 0);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSchemeRequest)
#include "tst_schemerequest.moc"
