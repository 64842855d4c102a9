#include "nativefile.h"
#include "schemewebtest.h"

#include "app/browserruntime.h"
#include "scheme/listingpage.h"
#include "webtest.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace schemewebtest;

// Listing pages as the user meets them on the program's profile: every link, clicked with the
// mouse, opens the entry it shows, and a large folder is listed whole in aligned columns.
class TestSchemeLinks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_cache.isValid());
        m_root = QFileInfo(m_dir.path()).canonicalFilePath();
        QVERIFY(QDir(m_root).mkpath(QStringLiteral("names/sub dir+%")));
        const QByteArray names = QFile::encodeName(m_root) + "/names/";
        for (const auto &[name, content] : std::initializer_list<std::pair<QByteArray, QByteArray>>{
                 {"plus+sign.txt", "plus"}, {"plus sign.txt", "space"},
                 {"a#b.txt", "hash"}, {"a?b.txt", "question"}, {"\xFF-raw.txt", "raw bytes"},
                 {"README", "P\xC5\x99" "e\xC4\x8D" "ti m\xC4\x9B"}, {"sub dir+%/inner.txt", "inner"}})
            QVERIFY(writeNativeFile(names + name, content));

        m_profile = browserruntime::createProfile(m_cache.path());
        m_view = new QWebEngineView;
        m_page = new QWebEnginePage(m_profile, m_view);
        m_view->setPage(m_page);
        m_view->resize(1000, 700);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }

    void cleanupTestCase()
    {
        delete m_view;
        delete m_profile;
    }

    void clickedLinkOpensItsEntry_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("content");  // the page's text after the click
        QTest::newRow("plus") << "plus+sign.txt" << "plus";
        QTest::newRow("hash") << "a#b.txt" << "hash";
        QTest::newRow("question mark") << "a?b.txt" << "question";
        QTest::newRow("not UTF-8") << QStringLiteral("\uFFFD-raw.txt") << "raw bytes";
        QTest::newRow("unknown type shown as text") << "README" << QStringLiteral("P\u0159e\u010Dti m\u011B");
        QTest::newRow("folder") << "sub dir+%/" << "Index of " + m_root + "/names/sub dir+%/";
    }

    void clickedLinkOpensItsEntry()
    {
        QFETCH(QString, shown);
        QFETCH(QString, content);
        QVERIFY(load(*m_page, localUrl(m_root + QStringLiteral("/names/"))));
        const QVariantList box = runJs(*m_page, QStringLiteral(
            "var a = Array.from(document.querySelectorAll('a')).find(l => l.textContent == %1);"
            "a.scrollIntoView(); var r = a.getBoundingClientRect(); [r.left + r.width / 2, r.top + r.height / 2]")
            .arg(QString::fromUtf8(QJsonDocument(QJsonArray{shown}).toJson(QJsonDocument::Compact)).mid(1).chopped(1))).toList();
        QCOMPARE(box.size(), 2);
        QSignalSpy finished(m_page, &QWebEnginePage::loadFinished);
        QTest::mouseClick(m_view->focusProxy(), Qt::LeftButton, {}, QPoint(box[0].toInt(), box[1].toInt()));
        QVERIFY(finished.wait(pageTimeout));
        QVERIFY(finished.last().first().toBool());
        const QString text = runJs(*m_page, QStringLiteral("document.title.startsWith('Index of') ? document.title"
                                                           " : document.body.textContent")).toString();
        QCOMPARE(text, content);
    }

    // Past one script element's rows the listing goes on in tables of its own: every entry is
    // there, once, and the columns of all tables line up.
    void largeFolderListedWholeInAlignedColumns()
    {
        const int files = listingpage::rowsPerScript * 2 + 10;
        const QString folder = m_root + QStringLiteral("/large");
        QVERIFY(QDir().mkpath(folder));
        for (int i = 0; i < files; ++i)
            QVERIFY(writeFile(folder + QStringLiteral("/f%1.txt").arg(i, 5, 10, QLatin1Char('0')), QByteArray(i % 3000, 'x')));
        QVERIFY(writeFile(folder + QStringLiteral("/a rather long name of one file.txt"), "x"));
        QVERIFY(load(*m_page, localUrl(folder)));
        const QVariantList shown = runJs(*m_page, QStringLiteral(R"(
            var rows = Array.from(document.querySelectorAll('table tr')).filter(r => r.style.visibility != 'collapse'
                                                                                    && r.className != 'header');
            var names = new Set(rows.map(r => r.querySelector('a').textContent));
            var tables = document.querySelectorAll('table');
            var lefts = new Set(Array.from(tables).map(t => { var r = t.querySelector('tr:last-child');
                                                             r.scrollIntoView(); return r.cells[2].getBoundingClientRect().left; }));
            [rows.length, names.size, tables.length, lefts.size])")).toList();
        QCOMPARE(shown.size(), 4);
        QCOMPARE(shown[0].toInt(), files + 2);  // and the parent row
        QCOMPARE(shown[1].toInt(), files + 2);
        QCOMPARE(shown[2].toInt(), 3);
        QCOMPARE(shown[3].toInt(), 1);
    }

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_cache;
    QString m_root;
    QWebEngineProfile *m_profile = nullptr;
    QWebEngineView *m_view = nullptr;
    QWebEnginePage *m_page = nullptr;
};

KAVELIN_WEBTEST_MAIN(TestSchemeLinks)
#include "tst_schemelinks.moc"
