#include "sniper/bidamount.h"
#include "sniper/pagetarget.h"
#include "sniper/positions.h"
#include "sniper/windowcover.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
PageElement element(const QString &tag, const QString &type = QString(), const QString &cursor = QStringLiteral("auto"))
{
    PageElement e;
    e.tag = tag;
    e.type = type;
    e.cursor = cursor;
    return e;
}
} // namespace

Q_DECLARE_METATYPE(PageTarget)

// The rules the bid's checks stand on: which amounts are amounts, what a text field and a button
// are, which window shows at a point, and what a taught point keeps.
class TestBidRules : public QObject
{
    Q_OBJECT
private slots:
    void amounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("amount");   // empty: refused
        QTest::newRow("whole") << "150" << "150";
        QTest::newRow("blanks around") << "  150\t" << "150";
        QTest::newRow("decimal comma") << "150,5" << "150,5";
        QTest::newRow("decimal point, two digits") << "0.25" << "0.25";
        QTest::newRow("three decimals") << "1,255" << "";
        QTest::newRow("two separators") << "1.000,50" << "";
        QTest::newRow("blank inside") << "2 480" << "";
        QTest::newRow("letters") << "abc" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("negative") << "-5" << "";
        QTest::newRow("zero") << "0" << "";
        QTest::newRow("zero with decimals") << "0,00" << "";
        QTest::newRow("comma alone") << "150," << "";
        QTest::newRow("plus sign") << "+5" << "";
    }
    void amounts()
    {
        QFETCH(QString, text);
        QFETCH(QString, amount);
        QCOMPARE(positiveAmount(text).value_or(QString()), amount);
    }

    void targets_data()
    {
        QTest::addColumn<PageTarget>("target");
        QTest::addColumn<bool>("textField");
        QTest::addColumn<bool>("clickable");
        PageElement disabled = element("input", "text");
        disabled.disabled = true;
        PageElement readOnly = element("input", "text");
        readOnly.readOnly = true;
        PageElement hidden = element("textarea");
        hidden.visible = false;
        PageElement editable = element("div");
        editable.editable = true;
        PageElement link = element("a");
        link.hasHref = true;
        PageElement roleButton = element("div");
        roleButton.role = "button";
        PageElement disabledButton = element("button");
        disabledButton.disabled = true;
        QTest::newRow("nothing") << PageTarget{} << false << false;
        QTest::newRow("input without type") << PageTarget{element("input")} << true << false;
        QTest::newRow("number input") << PageTarget{element("input", "number")} << true << false;
        QTest::newRow("checkbox") << PageTarget{element("input", "checkbox")} << false << false;
        QTest::newRow("disabled field") << PageTarget{disabled} << false << false;
        QTest::newRow("read-only field") << PageTarget{readOnly} << false << false;
        QTest::newRow("hidden textarea") << PageTarget{hidden} << false << false;
        QTest::newRow("editable div") << PageTarget{editable} << true << false;
        QTest::newRow("paragraph") << PageTarget{element("p"), element("body")} << false << false;
        QTest::newRow("button") << PageTarget{element("button")} << false << true;
        QTest::newRow("text inside a button") << PageTarget{element("span"), element("button")} << false << true;
        QTest::newRow("disabled button") << PageTarget{element("span"), disabledButton} << false << false;
        QTest::newRow("submit input") << PageTarget{element("input", "submit")} << false << true;
        QTest::newRow("image input") << PageTarget{element("input", "image")} << false << true;
        QTest::newRow("link") << PageTarget{link} << false << true;
        QTest::newRow("anchor without address") << PageTarget{element("a")} << false << false;
        QTest::newRow("role button") << PageTarget{roleButton} << false << true;
        QTest::newRow("pointer cursor") << PageTarget{element("div", "", "pointer")} << false << true;
    }
    void targets()
    {
        QFETCH(PageTarget, target);
        QFETCH(bool, textField);
        QFETCH(bool, clickable);
        QCOMPARE(isTextField(target), textField);
        QCOMPARE(isClickable(target), clickable);
    }

    void windowShowingAtAPoint_data()
    {
        QTest::addColumn<QList<StackedWindow>>("stack");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("covered");   // index of the first covered point, or -1
        const StackedWindow ours{1, QRect(0, 0, 1280, 1024)};
        const StackedWindow other{2, QRect(100, 100, 400, 300)};
        StackedWindow unmapped = other;
        unmapped.viewable = false;
        StackedWindow inputOnly = other;
        inputOnly.inputOnly = true;
        QTest::newRow("ours alone") << QList{ours} << QPoint(200, 200) << -1;
        QTest::newRow("another above, over the point") << QList{ours, other} << QPoint(200, 200) << 0;
        QTest::newRow("another above, beside the point") << QList{ours, other} << QPoint(600, 200) << -1;
        QTest::newRow("another below") << QList{other, ours} << QPoint(200, 200) << -1;
        QTest::newRow("another above, not mapped") << QList{ours, unmapped} << QPoint(200, 200) << -1;
        QTest::newRow("input-only above") << QList{ours, inputOnly} << QPoint(200, 200) << -1;
        QTest::newRow("off our window") << QList{ours} << QPoint(1300, 10) << 0;
        QTest::newRow("edge of the other is its own") << QList{ours, other} << QPoint(499, 399) << 0;
        QTest::newRow("just past the edge") << QList{ours, other} << QPoint(500, 400) << -1;
    }
    void windowShowingAtAPoint()
    {
        QFETCH(QList<StackedWindow>, stack);
        QFETCH(QPoint, point);
        QFETCH(int, covered);
        QCOMPARE(firstCoveredPoint(stack, 1, {QPoint(10, 10), point}), covered < 0 ? -1 : 1);
        // Without knowing our own window, every point counts as covered.
        QCOMPARE(firstCoveredPoint(stack, 0, {point}), 0);
    }

    void taughtPointKeepsItsPlaceAndTarget()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path());
        QVERIFY(!readTaughtPoint(path, 2).taught);
        PageElement button = element("button", "submit");
        button.id = "bid";
        button.text = QStringLiteral("Přihodit\nteď");
        QVERIFY(writeTaughtPoint(path, 2, {640, 480}, {QPoint(120, 220), QPoint(0, 350)}, button, nullptr));
        const TaughtPoint read = readTaughtPoint(path, 2);
        QVERIFY(read.taught);
        QCOMPARE(read.screen, (ScreenPoint{640, 480}));
        QCOMPARE(read.place, (std::optional<PagePlace>{{QPoint(120, 220), QPoint(0, 350)}}));
        QCOMPARE(read.element.id, QStringLiteral("bid"));
        QCOMPARE(read.element.text, QStringLiteral("Přihodit teď"));
        // The screen keys keep their meaning for whoever reads the file the old way.
        QCOMPARE(readPosition(path, 2), (ScreenPoint{640, 480}));
        QVERIFY(!readTaughtPoint(path, 1).taught);
        // A file from before places were kept: taught, without a place.
        QVERIFY(writePosition(path, 1, {5, 6}, nullptr));
        QVERIFY(readTaughtPoint(path, 1).taught);
        QVERIFY(!readTaughtPoint(path, 1).place);
    }
};

QTEST_GUILESS_MAIN(TestBidRules)
#include "tst_bidrules.moc"
