#include "scheme/listingpage.h"
#include "scheme/listingtext.h"
#include "scheme/mimetype.h"
#include "scheme/tfileinfo.h"
#include "scheme/urltopath.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

#include <limits>

// The rules of the "local" scheme as plain functions: no display, no web engine.
class TestSchemeText : public QObject
{
    Q_OBJECT
private slots:
    void urlToPath_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QString>("path");
        QTest::newRow("host is the first folder") << QByteArray("local://home/ann/x") << "/home/ann/x";
        QTest::newRow("one-letter host") << QByteArray("local://c/x") << "/c/x";
        QTest::newRow("host alone") << QByteArray("local://c/") << "/c/";
        QTest::newRow("escaped space") << QByteArray("local://tmp/a%20b/") << "/tmp/a b/";
        QTest::newRow("plus is a space") << QByteArray("local://tmp/a+b.txt") << "/tmp/a b.txt";
        QTest::newRow("%2B is a plus") << QByteArray("local://tmp/a%2Bb.txt") << "/tmp/a+b.txt";
        QTest::newRow("doubled percent") << QByteArray("local://tmp/100%%.txt") << "/tmp/100%.txt";
        QTest::newRow("doubled percent before hex digits") << QByteArray("local://tmp/%%41") << "/tmp/%41";
        QTest::newRow("query dropped") << QByteArray("local://tmp/f.txt?x=1&y=%41") << "/tmp/f.txt";
        QTest::newRow("escaped question mark is part of the name") << QByteArray("local://tmp/a%3Fb") << "/tmp/a?b";
        QTest::newRow("escaped hash is part of the name") << QByteArray("local://tmp/a%23b") << "/tmp/a#b";
        QTest::newRow("fragment dropped") << QByteArray("local://tmp/a.html#top") << "/tmp/a.html";
        QTest::newRow("two-byte UTF-8") << QByteArray("local://tmp/%C5%99ada") << QStringLiteral("/tmp/\u0159ada");
        QTest::newRow("lower-case hex") << QByteArray("local://tmp/%c5%99") << QStringLiteral("/tmp/\u0159");
        QTest::newRow("host escaped") << QByteArray("local://%74mp/x") << "/tmp/x";
        QTest::newRow("no // after the colon") << QByteArray("local:c/x") << "";
        QTest::newRow("single slash") << QByteArray("local:/c/x") << "";
        QTest::newRow("no / after the host") << QByteArray("local://c") << "";
        QTest::newRow("query before any /") << QByteArray("local://c?x/y") << "";
        QTest::newRow("empty host") << QByteArray("local:///x") << "";
        QTest::newRow("no scheme") << QByteArray("//c/x") << "";
        QTest::newRow("percent at the end") << QByteArray("local://tmp/a%") << "";
        QTest::newRow("percent and one digit at the end") << QByteArray("local://tmp/a%4") << "";
        QTest::newRow("percent and non-hex") << QByteArray("local://tmp/%zz/x") << "";
        QTest::newRow("percent and one non-hex") << QByteArray("local://tmp/%4g") << "";
        QTest::newRow("malformed escape in the query is no matter") << QByteArray("local://tmp/f?q=%") << "/tmp/f";
        QTest::newRow("byte FF shown as U+FFFD") << QByteArray("local://tmp/%FF") << QStringLiteral("/tmp/\uFFFD");
        QTest::newRow("NUL byte") << QByteArray("local://tmp/secret%00.txt") << "";
        QTest::newRow("byte-order mark kept") << QByteArray("local://tmp/%EF%BB%BFx") << QStringLiteral("/tmp/\uFEFFx");
    }

    void urlToPath()
    {
        QFETCH(QByteArray, url);
        QFETCH(QString, path);
        QCOMPARE(urltopath::urlToPath(url), path);
    }

    // Bytes that are not UTF-8 reach the file system unchanged: a name is its bytes there.
    void urlToNativePath_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("byte FF") << QByteArray("local://tmp/%FF.txt") << QByteArray("/tmp/\xFF.txt");
        QTest::newRow("overlong slash is no slash") << QByteArray("local://tmp/%C0%AF") << QByteArray("/tmp/\xC0\xAF");
        QTest::newRow("escaped slash and dots stay for the file system")
            << QByteArray("local://tmp/..%2fetc%2fpasswd") << QByteArray("/tmp/../etc/passwd");
        QTest::newRow("NUL byte") << QByteArray("local://tmp/a%00") << QByteArray();
    }

    void urlToNativePath()
    {
        QFETCH(QByteArray, url);
        QFETCH(QByteArray, path);
        QCOMPARE(urltopath::urlToNativePath(url), path);
    }

    // A listing's link is the name encoded; the link read back is the name, whatever it holds.
    void nameEncodingRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("plus") << QByteArray("plus+sign.txt") << QByteArray("plus%2Bsign.txt");
        QTest::newRow("percent") << QByteArray("100%.txt") << QByteArray("100%25.txt");
        QTest::newRow("hash") << QByteArray("a#b") << QByteArray("a%23b");
        QTest::newRow("question mark") << QByteArray("a?b") << QByteArray("a%3Fb");
        QTest::newRow("quote and backslash") << QByteArray("q\"b\\") << QByteArray("q%22b%5C");
        QTest::newRow("markup") << QByteArray("</script>") << QByteArray("%3C%2Fscript%3E");
        QTest::newRow("not UTF-8") << QByteArray("\xFF\xFE") << QByteArray("%FF%FE");
    }

    void nameEncodingRoundTrip()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, encoded);
        QCOMPARE(urltopath::percentEncodeName(name), encoded);
        QCOMPARE(urltopath::urlToNativePath("local://tmp/" + encoded), "/tmp/" + name);
    }

    void sizeText_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("czech");
        QTest::addColumn<QString>("english");
        const qint64 kB = 1024;
        QTest::newRow("zero") << qint64(0) << "0 B" << "0 B";
        QTest::newRow("512") << qint64(512) << "512 B" << "512 B";
        QTest::newRow("1023") << qint64(1023) << "1023 B" << "1023 B";
        QTest::newRow("1024") << kB << "1,0 kB" << "1.0 kB";
        QTest::newRow("1536") << qint64(1536) << "1,5 kB" << "1.5 kB";
        QTest::newRow("1048575, no group separator") << kB * kB - 1 << "1024,0 kB" << "1024.0 kB";
        QTest::newRow("1048576") << kB * kB << "1,0 MB" << "1.0 MB";
        QTest::newRow("below a GB") << kB * kB * kB - 1 << "1024,0 MB" << "1024.0 MB";
        QTest::newRow("GB") << kB * kB * kB << "1,0 GB" << "1.0 GB";
        QTest::newRow("2.25 GB") << kB * kB * kB * 9 / 4 << "2,3 GB" << "2.3 GB";
        QTest::newRow("TB") << kB * kB * kB * kB << "1,0 TB" << "1.0 TB";
        QTest::newRow("PB") << kB * kB * kB * kB * kB << "1,0 PB" << "1.0 PB";
        QTest::newRow("just below 1024^6") << (qint64(1) << 60) - 1 << "1024,0 PB" << "1024.0 PB";
        QTest::newRow("1024^6") << (qint64(1) << 60) << "big" << "big";
        QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "big" << "big";
        QTest::newRow("negative") << qint64(-1) << "-1 B" << "-1 B";
    }

    void sizeText()
    {
        QFETCH(qint64, size);
        QFETCH(QString, czech);
        QFETCH(QString, english);
        QCOMPARE(listingtext::sizeText(size, QLocale(QLocale::Czech, QLocale::Czechia)), czech);
        QCOMPARE(listingtext::sizeText(size, QLocale(QLocale::English, QLocale::UnitedStates)), english);
    }

    void dateText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("timeText");  // empty: the date alone
        QTest::newRow("Czech midnight") << "cs_CZ" << QTime(0, 0) << "";
        QTest::newRow("Czech afternoon") << "cs_CZ" << QTime(14, 5, 33) << "14:05:33";
        QTest::newRow("Czech one second past midnight") << "cs_CZ" << QTime(0, 0, 1) << "0:00:01";
        QTest::newRow("Czech midnight and milliseconds") << "cs_CZ" << QTime(0, 0, 0, 500) << "";
        QTest::newRow("English afternoon") << "en_US" << QTime(14, 5, 33) << "2:05:33 PM";
        QTest::newRow("English midnight") << "en_US" << QTime(0, 0) << "";
    }

    void dateText()
    {
        QFETCH(QString, locale);
        QFETCH(QTime, time);
        QFETCH(QString, timeText);
        const QLocale l(locale);
        const QDate date(2024, 3, 5);
        // Given in UTC, as the file system keeps it; shown in local time.
        const QDateTime written = QDateTime(date, time, Qt::LocalTime).toUTC();
        const QString dateOnly = l.toString(date, QLocale::ShortFormat);
        QCOMPARE(listingtext::dateText(written, l), timeText.isEmpty() ? dateOnly : dateOnly + ' ' + timeText);
    }

    void dateTextOfUnknownTimeIsEmpty()
    {
        QCOMPARE(listingtext::dateText(QDateTime(), QLocale(QLocale::Czech)), QString());
    }

    void scriptStringEscaping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("escaped");
        QTest::newRow("plain") << "report-2024_v1.txt" << QByteArray("report-2024_v1.txt");
        QTest::newRow("r with caron") << QStringLiteral("\u0159ada") << QByteArray("\\u0159ada");
        QTest::newRow("Latin-1 letter") << QStringLiteral("caf\u00e9") << QByteArray("caf\\u00E9");
        QTest::newRow("double quote") << "a\"b" << QByteArray("a\\\"b");
        QTest::newRow("backslash") << "a\\b" << QByteArray("a\\\\b");
        QTest::newRow("single quote stays") << "it's" << QByteArray("it's");
        QTest::newRow("end of script element") << "</script>" << QByteArray("\\u003C/script\\u003E");
        QTest::newRow("comment opener") << "<!--<script>" << QByteArray("\\u003C!--\\u003Cscript\\u003E");
        QTest::newRow("ampersand") << "a&b" << QByteArray("a\\u0026b");
        QTest::newRow("line feed") << "a\nb" << QByteArray("a\\u000Ab");
        QTest::newRow("carriage return") << "a\rb" << QByteArray("a\\u000Db");
        QTest::newRow("tab") << "a\tb" << QByteArray("a\\u0009b");
        QTest::newRow("delete") << QStringLiteral("a\u007fb") << QByteArray("a\\u007Fb");
        QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QByteArray("a\\u2028b");
        QTest::newRow("outside the BMP") << QStringLiteral("\U0001F600") << QByteArray("\\uD83D\\uDE00");
    }

    void scriptStringEscaping()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, escaped);
        QCOMPARE(listingtext::escapeScriptString(text), escaped);
    }

    void sorting()
    {
        QList<TFileInfo> entries;
        for (const QString &name : {QStringLiteral("b.txt"), QStringLiteral("_x"), QStringLiteral("B2"),
                                    QStringLiteral("apple"), QStringLiteral("\u00e4"), QStringLiteral("\u00c4"),
                                    QStringLiteral("z"), QStringLiteral("\u0159")})
            entries.append({name, 1, {}, false});
        for (const QString &name : {QStringLiteral("Zeta"), QStringLiteral(".."), QStringLiteral("alpha")})
            entries.append({name, 0, {}, true});
        fileinfo::sortListing(entries);
        QStringList order;
        for (const TFileInfo &e : entries)
            order << e.name;
        // Folders first. ASCII letters compare as upper case, so "_" (0x5F) follows the
        // letters and "." (0x2E) comes before "2"; other characters compare by their UTF-8 bytes.
        const QStringList expected = {QStringLiteral(".."), QStringLiteral("alpha"), QStringLiteral("Zeta"),
                                      QStringLiteral("apple"), QStringLiteral("b.txt"), QStringLiteral("B2"),
                                      QStringLiteral("z"), QStringLiteral("_x"), QStringLiteral("\u00c4"),
                                      QStringLiteral("\u00e4"), QStringLiteral("\u0159")};
        QCOMPARE(order, expected);
    }

    void listingPageLines()
    {
        const QLocale czech(QLocale::Czech, QLocale::Czechia);
        const QDateTime midnight(QDate(2024, 3, 5), QTime(0, 0), Qt::LocalTime);
        const QList<TFileInfo> entries = {
            {QStringLiteral("b+c.txt"), 1536, midnight, false},
            {QStringLiteral("."), 0, midnight, true},
            {QStringLiteral("\u0159\n\"x\""), 5, midnight, false},
            {QStringLiteral(".."), 0, midnight, true},
            {QStringLiteral("Docs"), 0, midnight, true},
            {QStringLiteral("\uFFFD.txt"), 2, midnight, false, QByteArray("\xFF.txt")},
        };
        const QByteArray date = czech.toString(midnight.date(), QLocale::ShortFormat).toLatin1();
        const QByteArray page = listingpage::buildListingPage("TEMPLATE\r\n", QStringLiteral("/tmp/a\"b/"), entries, czech);
        const QByteArray expected = "TEMPLATE\r\n"
                                    "<script>start(\"/tmp/a\\\"b/\");</script>\r\n"
                                    "<script>\r\n"
                                    "addRow(\"..\",\"..\",1,\"0 B\",\"" + date + "\");\r\n"
                                    "addRow(\"Docs\",\"Docs\",1,\"0 B\",\"" + date + "\");\r\n"
                                    "addRow(\"b+c.txt\",\"b%2Bc.txt\",0,\"1,5 kB\",\"" + date + "\");\r\n"
                                    "addRow(\"\\u0159\\u000A\\\"x\\\"\",\"%C5%99%0A%22x%22\",0,\"5 B\",\"" + date + "\");\r\n"
                                    "addRow(\"\\uFFFD.txt\",\"%FF.txt\",0,\"2 B\",\"" + date + "\");\r\n"
                                    "</script>\r\n";
        QCOMPARE(page, expected);
    }

    // Rows go to the page a few thousand to a script element, not one element each.
    void listingRowsShareScriptElements_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("elements");
        QTest::newRow("one row") << 1 << 1;
        QTest::newRow("one row more") << listingpage::rowsPerScript + 1 << 2;
        QTest::newRow("100,000 rows") << 100000 << (100000 + listingpage::rowsPerScript - 1) / listingpage::rowsPerScript;
    }

    void listingRowsShareScriptElements()
    {
        QFETCH(int, rows);
        QFETCH(int, elements);
        QList<TFileInfo> entries;
        for (int i = 0; i < rows; ++i)
            entries.append({QStringLiteral("f%1").arg(i), 1, {}, false});
        const QByteArray page = listingpage::buildListingPage({}, QStringLiteral("/tmp/"), entries, QLocale::c());
        // Besides, the start() element, and past one element's rows the one that splits tables.
        const qsizetype others = rows > listingpage::rowsPerScript ? 2 : 1;
        QCOMPARE(page.count("<script>"), elements + others);
        QCOMPARE(page.count("</script>"), elements + others);
        QCOMPARE(page.count("startNextPart(\""), qsizetype(qMax(0, elements - 1)));
        QCOMPARE(page.count("addRow("), qsizetype(rows));
    }

    void notFoundPageShowsPathAsText()
    {
        QCOMPARE(listingpage::notFoundPage(QStringLiteral("/tmp/<img src=x onerror=\"alert(1)\">&\u0159")),
                 QByteArray("<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\"/>"
                            "</head><body><h1>/tmp/&lt;img src=x onerror=&quot;alert(1)&quot;&gt;&amp;\xC5\x99"
                            "</h1><h2>not found</h2></body></html>"));
    }

    void looksLikeText_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("text");
        QTest::newRow("ASCII with line breaks and tabs") << QByteArray("Read me\r\n\tfirst\f\n") << true;
        QTest::newRow("Czech UTF-8") << QByteArray("P\xC5\x99" "e\xC4\x8D" "ti") << true;
        QTest::newRow("sequence cut at the end") << QByteArray("ab\xC5") << true;
        QTest::newRow("NUL") << QByteArray("ab\0cd", 5) << false;
        QTest::newRow("other control") << QByteArray("a\x01" "b") << false;
        QTest::newRow("Latin-1") << QByteArray("caf\xE9 au lait") << false;
        QTest::newRow("PNG signature") << QByteArray("\x89PNG\r\n\x1A\n") << false;
    }

    void looksLikeText()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, text);
        QCOMPARE(mimetype::looksLikeText(head), text);
    }

    void mimeTypes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("mime");
        QTest::newRow("text") << "notes.txt" << QByteArray("text/plain");
        QTest::newRow("html") << "page.html" << QByteArray("text/html");
        QTest::newRow("png") << "icon.PNG" << QByteArray("image/png");
        QTest::newRow("pdf") << "manual.pdf" << QByteArray("application/pdf");
        QTest::newRow("PDF upper case") << "MANUAL.PDF" << QByteArray("application/pdf");
        QTest::newRow("last extension decides") << "archive.pdf.zzqx" << QByteArray("application/octet-stream");
        QTest::newRow("unknown extension") << "data.zzqx" << QByteArray("application/octet-stream");
        QTest::newRow("no extension") << "README" << QByteArray("application/octet-stream");
        QTest::newRow("whole-name pattern ignored") << "Makefile" << QByteArray("application/octet-stream");
        QTest::newRow("trailing dot") << "name." << QByteArray("application/octet-stream");
    }

    void mimeTypes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, mime);
        QCOMPARE(mimetype::mimeTypeForFileName(name), mime);
    }

    // The template in the program is ASCII with CR LF line ends, has the elements and
    // functions the appended lines rely on, and carries the committed icons.
    void listingTemplate()
    {
        const QByteArray page = listingpage::loadListingTemplate();
        QVERIFY(!page.isEmpty());
        for (const char c : page)
            QVERIFY(uchar(c) < 0x80);
        QCOMPARE(page.count("\r\n"), page.count('\n'));
        for (const char *needle : {"function addRow(name, url, isdir, size, date_modified)", "function createCell(text)",
                                   "function start(location)", "id=\"title\"", "id=\"header\"", "id=\"table\"",
                                   "id=\"parentDirText\"", "i18nTemplate.process(document, templateData)"})
            QVERIFY2(page.contains(needle), needle);
        for (const char *kind : {"file", "dir", "up"}) {
            const QString png = QStringLiteral(KAVELIN_RESOURCES_DIR "/icon-%1.png").arg(QLatin1String(kind));
            QFile icon(png);
            QVERIFY(icon.open(QIODevice::ReadOnly));
            const QByteArray bytes = icon.readAll();
            QCOMPARE(QImage::fromData(bytes).size(), QSize(16, 16));
            const QByteArray css = "/* icon-" + QByteArray(kind) + " */ background-image: url(\"data:image/png;base64,"
                + bytes.toBase64() + "\")";
            QVERIFY2(page.contains(css), kind);
        }
    }
};

QTEST_GUILESS_MAIN(TestSchemeText)
#include "tst_schemetext.moc"
