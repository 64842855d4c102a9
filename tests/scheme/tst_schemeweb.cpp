#include "openfiles.h"
#include "schemewebtest.h"

#include "app/browserruntime.h"
#include "common/timeformat.h"
#include "webtest.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineProfile>

using namespace schemewebtest;

namespace {
const QDateTime midnight(QDate(2024, 3, 5), QTime(0, 0), Qt::LocalTime);
const QDateTime afternoon(QDate(2024, 3, 5), QTime(14, 5, 33), Qt::LocalTime);

bool writeFileAt(const QString &path, const QByteArray &bytes, const QDateTime &modified)
{
    if (!writeFile(path, bytes))
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime);
}

// Each row of the listing table as the page shows it: link text, link class, the link's
// resolved address, size and date.
const char *rowsScript = R"(JSON.stringify(Array.from(document.querySelectorAll('#table tr')).slice(1).map(
    function (r) { var a = r.querySelector('a'); var c = r.querySelectorAll('td');
                   return [a.textContent, a.className, a.href, c[1].textContent, c[2].textContent]; })))";

QJsonArray rowsOf(QWebEnginePage &page)
{
    return QJsonDocument::fromJson(runJs(page, QString::fromLatin1(rowsScript)).toString().toUtf8()).array();
}

// Reads the given byte ranges of a file through XMLHttpRequest, one after another, keeping
// only the marks: the non-zero bytes at the ends of each range. Sets the title to
// "read <bytes read> <marks> <ranges read>" or to "read error".
const char *rangedReadScript = R"(window.result = null; (function () {
    var url = '%1', ranges = %2, i = 0, bytes = 0, marks = '';
    function next() {
        if (i >= ranges.length) { document.title = ['read', bytes, marks, i].join(' '); return; }
        var x = new XMLHttpRequest(); x.open('GET', url); x.responseType = 'arraybuffer';
        x.setRequestHeader('Range', 'bytes=' + ranges[i][0] + '-' + ranges[i][1]);
        x.onload = function () {
            var a = new Uint8Array(x.response);
            bytes += a.length; ++i;
            if (a.length && a[0]) marks += String.fromCharCode(a[0]);
            if (a.length > 1 && a[a.length - 1]) marks += String.fromCharCode(a[a.length - 1]);
            next(); };
        x.onerror = function () { document.title = 'read error'; };
        x.send(); }
    next(); })();)";

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

} // namespace

// The "local" scheme as the program serves it: the profile the program creates, the real web
// engine, pages checked through their DOM.
class TestSchemeWeb : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_cache.isValid());
        m_root = QFileInfo(m_dir.path()).canonicalFilePath();
        QVERIFY(m_root.startsWith('/'));
        const QDir root(m_root);
        QVERIFY(root.mkpath(QStringLiteral("dir/alpha")) && root.mkpath(QStringLiteral("dir/Sub")));
        QVERIFY(writeFileAt(path("dir/A.txt"), QByteArray(512, 'a'), afternoon));
        QVERIFY(writeFileAt(path("dir/b.txt"), QByteArray(1536, 'b'), midnight));
        QVERIFY(writeFileAt(path("dir/.hidden"), "hid", midnight));
        QVERIFY(root.mkpath(QStringLiteral("plus")));
        QVERIFY(writeFile(path("plus/a+b.txt"), "plus sign"));
        QVERIFY(writeFile(path("plus/a b.txt"), "space"));
        QVERIFY(writeFile(path("plus/100%.txt"), "one percent"));
        QVERIFY(writeFile(path("plus/100%%.txt"), "two percent"));
        QVERIFY(root.mkpath(QStringLiteral("marks/a</script>x")));
        for (const QString &name : markupNames())
            QVERIFY(writeFile(path("marks/") + name, "m"));

        m_profile = browserruntime::createProfile(m_cache.path());
        m_page = new QWebEnginePage(m_profile);
        // Pages of the program's profile read no file into script; the handler's streaming is
        // read through a profile that has the handler alone.
        m_bareProfile = new QWebEngineProfile;
        m_bareProfile->installUrlSchemeHandler(localscheme::name, new LocalSchemeFactory(m_bareProfile));
        m_readerPage = new QWebEnginePage(m_bareProfile);
    }

    void cleanupTestCase()
    {
        delete m_readerPage;
        delete m_bareProfile;
        delete m_page;
        delete m_profile;
    }

    void listingShowsRows()
    {
        QVERIFY(load(*m_page, localUrl(path("dir"))));
        const QString dirUrl = localUrl(path("dir")).toString() + '/';
        const QLocale locale = QLocale::system();
        const QString shortDate = locale.toString(QDate(2024, 3, 5), QLocale::ShortFormat);
        const QString folderDate = [&] {
            const QDateTime t = QFileInfo(path("dir/alpha")).lastModified();
            return locale.toString(t.date(), QLocale::ShortFormat) + ' ' + locale.toString(t.time(), longTimeFormat(locale));
        }();
        const QJsonArray expected = {
            QJsonArray{"[Parent directory]", "icon up", localUrl(m_root).toString() + '/', "", ""},
            QJsonArray{"alpha/", "icon dir", dirUrl + "alpha/", "", folderDate},
            QJsonArray{"Sub/", "icon dir", dirUrl + "Sub/", "", QJsonValue()},
            QJsonArray{".hidden", "icon file", dirUrl + ".hidden", "3 B", shortDate},
            QJsonArray{"A.txt", "icon file", dirUrl + "A.txt", "512 B",
                       shortDate + ' ' + locale.toString(QTime(14, 5, 33), longTimeFormat(locale))},
            QJsonArray{"b.txt", "icon file", dirUrl + "b.txt", QStringLiteral("1") + locale.decimalPoint() + QStringLiteral("5 kB"), shortDate},
        };
        QJsonArray rows = rowsOf(*m_page);
        QCOMPARE(rows.size(), expected.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QJsonArray row = rows[i].toArray();
            QJsonArray want = expected[i].toArray();
            if (want[4].isNull())  // that folder's time changes as the test writes into it
                row[4] = want[4];
            QCOMPARE(row, want);
        }
        const QString heading = QStringLiteral("Index of %1/").arg(path("dir"));
        QCOMPARE(m_page->title(), heading);
        QCOMPARE(runJs(*m_page, QStringLiteral("document.getElementById('header').textContent")).toString(), heading);
        QCOMPARE(runJs(*m_page, QStringLiteral("Array.from(document.querySelectorAll('tr.header td')).map(c => c.textContent).join('|')"))
                     .toString(),
                 QStringLiteral("Name|Size|Last Modified"));
        for (const char *kind : {"up", "dir", "file"})
            QVERIFY(runJs(*m_page, QStringLiteral("getComputedStyle(document.querySelector('a.%1')).backgroundImage")
                                       .arg(QLatin1String(kind)))
                        .toString()
                        .startsWith(QLatin1String("url(\"data:image/png;base64,")));
    }

    void trailingSlashGivesSameListing()
    {
        QVERIFY(load(*m_page, localUrl(path("dir"))));
        const QJsonArray withoutSlash = rowsOf(*m_page);
        QVERIFY(load(*m_page, QUrl(localUrl(path("dir")).toString() + '/')));
        const QJsonArray withSlash = rowsOf(*m_page);
        QCOMPARE(withSlash, withoutSlash);
        QCOMPARE(withSlash.size(), 6);
        QCOMPARE(withSlash[4].toArray()[2].toString(), localUrl(path("dir/A.txt")).toString());
    }

    void firstLevelFolderHasNoParentRow()
    {
        QVERIFY(load(*m_page, QUrl(QStringLiteral("local://proc/"))));
        const QJsonArray rows = rowsOf(*m_page);
        QVERIFY(rows.size() > 10);
        QVERIFY(rows[0].toArray()[1].toString() != QLatin1String("icon up"));
        QCOMPARE(m_page->title(), QStringLiteral("Index of /proc/"));
    }

    void fileIsServedWithItsTypeAndQueryIgnored()
    {
        QVERIFY(load(*m_page, QUrl(localUrl(path("dir/A.txt")).toString() + QStringLiteral("?x=1"))));
        QCOMPARE(runJs(*m_page, QStringLiteral("document.contentType")).toString(), QStringLiteral("text/plain"));
        QCOMPARE(runJs(*m_page, QStringLiteral("document.body.textContent")).toString(), QString(512, 'a'));
    }

    void plusAndPercentInAddress_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("content");
        QTest::newRow("literal plus is a space") << "a+b.txt" << "space";
        QTest::newRow("%2B is a plus") << "a%2Bb.txt" << "plus sign";
        QTest::newRow("%25 is a percent") << "100%25.txt" << "one percent";
        // The address is parsed into a QUrl before the handler sees it; a bare "%" is taken
        // literally there, so a typed "%%" names two percent signs.
        QTest::newRow("typed doubled percent") << "100%%.txt" << "two percent";
    }

    void plusAndPercentInAddress()
    {
        QFETCH(QString, name);
        QFETCH(QString, content);
        QVERIFY(load(*m_page, QUrl(localUrl(path("plus")).toString() + '/' + name)));
        QCOMPARE(runJs(*m_page, QStringLiteral("document.body.textContent")).toString(), content);
    }

    void notFoundPageShowsPathAsText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing.txt";
        QTest::newRow("markup") << "<b>bold</b>";
        QTest::newRow("script") << "<img src=x onerror=\"document.title='pwned'\">";
    }

    void notFoundPageShowsPathAsText()
    {
        QFETCH(QString, name);
        const QString missing = path("dir/") + name;
        QVERIFY(load(*m_page, localUrl(missing)));
        QCOMPARE(runJs(*m_page, QStringLiteral("document.querySelector('h1').textContent")).toString(), missing);
        QCOMPARE(runJs(*m_page, QStringLiteral("document.querySelector('h2').textContent")).toString(), QStringLiteral("not found"));
        QCOMPARE(runJs(*m_page, QStringLiteral("document.body.querySelectorAll('*').length")).toInt(), 2);
        // No element came out of a name: no image whose error handler could run later.
        QCOMPARE(runJs(*m_page, QStringLiteral("document.images.length")).toInt(), 0);
        QVERIFY(m_page->title() != QLatin1String("pwned"));
    }

    void markupInNamesShownAsText()
    {
        QVERIFY(load(*m_page, localUrl(path("marks"))));
        const QJsonArray rows = rowsOf(*m_page);
        QStringList shown;
        for (const QJsonValue &row : rows)
            shown << row.toArray()[0].toString();
        QStringList expected = markupNames();
        expected << QStringLiteral("a</");  // holding the folder "script>x"
        for (const QString &name : expected)
            QVERIFY2(shown.contains(name), qPrintable(name));
        QCOMPARE(rows.size(), expected.size() + 1);  // and the parent row
        // No element came out of a name: no image whose error handler could run later.
        QCOMPARE(runJs(*m_page, QStringLiteral("document.images.length")).toInt(), 0);
        QVERIFY(m_page->title() != QLatin1String("pwned"));

        // The folder's path itself carries "</script>" into the start() call.
        QVERIFY(load(*m_page, localUrl(path("marks/a</script>x"))));
        QCOMPARE(m_page->title(), QStringLiteral("Index of %1/").arg(path("marks/a</script>x")));
        QCOMPARE(rowsOf(*m_page).size(), 1);
    }

    // A 256 MiB sparse file read whole by a page of the scheme (in 64 MiB ranges, as a page cannot hold
    // it in one array buffer) is served from the open file in pieces: every byte arrives while
    // the program's own memory stays flat.
    void bigFileStreamsWithoutMemoryGrowth()
    {
        const QString big = path("big/big.bin");
        QVERIFY(QDir(m_root).mkpath(QStringLiteral("big")));
        const qint64 size = qint64(256) << 20;
        {
            QFile file(big);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(size));
            for (const auto &[offset, mark] : {std::pair<qint64, char>{0, 'K'}, {size / 2, 'M'}, {size - 1, 'Z'}}) {
                QVERIFY(file.seek(offset));
                QVERIFY(file.putChar(mark));
            }
        }
        QVERIFY(load(*m_readerPage, localUrl(path("big"))));
        const qint64 before = residentKiB();
        qint64 peak = before;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, this, [&peak] { peak = qMax(peak, residentKiB()); });
        sampler.start(20);
        const qint64 piece = 64 << 20;
        QStringList ranges;
        for (qint64 at = 0; at < size; at += piece)
            ranges << QStringLiteral("[%1,%2]").arg(at).arg(at + piece - 1);
        // Waiting on a signal keeps the event loop running freely; the engine moves the body
        // through this thread's loop, and polling with sleeps would slow it many times over.
        QSignalSpy title(m_readerPage, &QWebEnginePage::titleChanged);
        m_readerPage->runJavaScript(QString::fromLatin1(rangedReadScript).arg(localUrl(big).toString(), '[' + ranges.join(',') + ']'));
        while (title.isEmpty() || !title.last().first().toString().startsWith(QLatin1String("read ")))
            QVERIFY(title.wait(120000));
        sampler.stop();
        QCOMPARE(title.last().first().toString(), QStringLiteral("read %1 KMZ 4").arg(size));
        qInfo("resident memory: %lld KiB before, %lld KiB at most while streaming", before, peak);
        QVERIFY2(peak - before < 16 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(peak - before)));
        QTRY_COMPARE(openDescriptorsFor(big), 0);
    }

    // A request the page gives up half-way closes its file.
    void abandonedRequestClosesFile()
    {
        const QString big = path("big/big.bin");
        QVERIFY(QFileInfo(big).size() > 0);  // made by the test above
        QVERIFY(load(*m_readerPage, localUrl(path("big"))));
        int mostOpen = 0;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, this, [&] { mostOpen = qMax(mostOpen, openDescriptorsFor(big)); });
        sampler.start(5);
        // Told through the title, as above: polling the page would slow the body down.
        QSignalSpy title(m_readerPage, &QWebEnginePage::titleChanged);
        m_readerPage->runJavaScript(QStringLiteral(R"(var abandoned = false;
            var x = new XMLHttpRequest(); x.open('GET', '%1'); x.responseType = 'arraybuffer';
            x.onprogress = function (e) { if (e.loaded > 4 * 1024 * 1024 && !abandoned) {
                abandoned = true; x.abort(); document.title = 'abandoned ' + e.loaded; } };
            x.send();)")
                                        .arg(localUrl(big).toString()));
        while (title.isEmpty() || !title.last().first().toString().startsWith(QLatin1String("abandoned ")))
            QVERIFY(title.wait(pageTimeout));
        const qint64 abandonedAt = title.last().first().toString().mid(10).toLongLong();
        QVERIFY(abandonedAt > 0 && abandonedAt < QFileInfo(big).size());
        QCOMPARE(mostOpen, 1);
        QTRY_COMPARE(openDescriptorsFor(big), 0);
        sampler.stop();
    }

private:
    QString path(const char *relative) const { return m_root + '/' + QString::fromUtf8(relative); }

    static QStringList markupNames()
    {
        return {QStringLiteral("<img src=x onerror=\"document.title='pwned'\">"), QStringLiteral("<!--<script>"),
                QStringLiteral("line\nbreak"), QStringLiteral("q\"b\\s"), QStringLiteral("$&'"),
                QStringLiteral("\u0159 \u00e9 &amp;")};
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_cache;
    QString m_root;
    QWebEngineProfile *m_profile = nullptr;
    QWebEnginePage *m_page = nullptr;
    QWebEngineProfile *m_bareProfile = nullptr;
    QWebEnginePage *m_readerPage = nullptr;
};

KAVELIN_WEBTEST_MAIN(TestSchemeWeb)
#include "tst_schemeweb.moc"
