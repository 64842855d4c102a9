#include "browser/linkrule.h"

#include <QTest>

// Which link targets the context menu may open or save for a page.
class TestLinkRule : public QObject
{
    Q_OBJECT
private slots:
    void mayOpenFromPage_data()
    {
        QTest::addColumn<QUrl>("page");
        QTest::addColumn<QUrl>("target");
        QTest::addColumn<bool>("allowed");
        const QUrl web(QStringLiteral("https://aukce.example/item/5"));
        const QUrl local(QStringLiteral("local://home/ann/"));
        QTest::newRow("web page, local link") << web << QUrl(QStringLiteral("local://etc/passwd")) << false;
        QTest::newRow("web page, file link") << web << QUrl(QStringLiteral("file:///etc/passwd")) << false;
        QTest::newRow("web page, scheme in capitals") << web << QUrl(QStringLiteral("LOCAL://etc/passwd")) << false;
        QTest::newRow("web page, web link") << web << QUrl(QStringLiteral("https://example.org/")) << true;
        QTest::newRow("local page, local link") << local << QUrl(QStringLiteral("local://home/ann/a.txt")) << true;
    }

    void mayOpenFromPage()
    {
        QFETCH(QUrl, page);
        QFETCH(QUrl, target);
        QFETCH(bool, allowed);
        QCOMPARE(linkrule::mayOpenFromPage(page, target), allowed);
    }
};

QTEST_GUILESS_MAIN(TestLinkRule)
#include "tst_linkrule.moc"
