#include "sniper/journal.h"
#include "ui/thistory_form.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

// The history window over a folder with a good record, a failed one, a damaged journal and none.
class TestHistory : public QObject
{
    Q_OBJECT
private slots:
    void listsWhatItCanReadNewestFirst()
    {
        QTemporaryDir dir;
        const QDateTime t(QDate(2026, 12, 11), QTime(20, 0));
        write(dir.path(), "2026-12-11_20-00-00_a.cz",
              journalLine(t, std::nullopt, "armed", {{"title", "Budík"}, {"url", "https://a.cz/1"}, {"amount", "150"},
                                                     {"mode", "ostrý"}})
                  + journalLine(t.addSecs(60), std::nullopt, "outcome", {{"ok", true}, {"status", "HOTOVO"}}));
        write(dir.path(), "2026-12-11_21-00-00_a.cz",
              journalLine(t.addSecs(3600), std::nullopt, "armed", {{"amount", "99"}})
                  + journalLine(t.addSecs(3660), std::nullopt, "outcome",
                                {{"ok", false}, {"status", "NEPŘIHOZENO"}, {"reason", "Okno je zakryté."}}));
        write(dir.path(), "2026-12-11_22-00-00_a.cz", "{\"event\":\"armed\",\"amount\":\"5\"\n");
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("2026-12-11_23-00-00_a.cz")));

        THistory_Form history(dir.path());
        history.refresh();
        QTableWidget *table = history.Zaznamy_Table;
        QCOMPARE(table->rowCount(), 4);
        QVERIFY(table->item(0, 4)->text().contains(QStringLiteral("poškozený záznam")));   // no journal
        QVERIFY(table->item(1, 4)->text().contains(QStringLiteral("poškozený záznam")));   // broken line
        QCOMPARE(table->item(2, 4)->text(), QStringLiteral("NEPŘIHOZENO: Okno je zakryté."));
        QCOMPARE(table->item(2, 4)->foreground().color(), QColor(200, 0, 0));
        QCOMPARE(table->item(3, 1)->text(), QStringLiteral("Budík — https://a.cz/1"));
        QCOMPARE(table->item(3, 4)->text(), QStringLiteral("HOTOVO"));
        QVERIFY(table->item(3, 4)->foreground().color() != QColor(200, 0, 0));

        table->setCurrentCell(3, 0);
        QVERIFY(history.Denik_Memo->toPlainText().contains(QStringLiteral("\"event\":\"outcome\"")));
        QCOMPARE(history.Obrazek_Label->text(), QStringLiteral("Bez obrázku stránky."));
    }

private:
    static void write(const QString &root, const char *name, const QByteArray &journal)
    {
        QVERIFY(QDir(root).mkpath(QLatin1String(name)));
        QFile file(QDir(root).filePath(QLatin1String(name) + QStringLiteral("/journal.jsonl")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(journal);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
