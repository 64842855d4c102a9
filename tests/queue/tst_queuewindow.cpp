#include "messageboxanswerer.h"
#include "sniper/countdown.h"
#include "sniper/queuefile.h"
#include "ui/queuestore.h"
#include "ui/tqueue_form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDateTime startUp(QDate(2026, 12, 11), QTime(20, 0));

QueuedBid bid(const QString &title, int endInSeconds, qint32 seconds, const QString &amount)
{
    QueuedBid b;
    b.url = QStringLiteral("https://aukce.test/") + title;
    b.title = title;
    b.end = toDays(startUp.addSecs(endInSeconds));
    b.seconds = seconds;
    b.amount = amount;
    return b;
}

QStringList column(const QTableWidget *table, int c)
{
    QStringList out;
    for (int row = 0; row < table->rowCount(); ++row)
        out.append(table->item(row, c)->text());
    return out;
}
} // namespace

// The queue's window over a queue kept in a folder of the test's own.
class TestQueueWindow : public QObject
{
    Q_OBJECT
private slots:
    void addRefuseChangeRemove()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fronta.json"));
        const double now = toDays(startUp);
        QueueStore store(path);
        TQueue_Form window(&store, [now] { return now; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.Prazdna_Label->isVisible());

        QCOMPARE(store.add(bid(QStringLiteral("Lampa"), 3600, 10, QStringLiteral("250")), now), QString());
        QCOMPARE(store.add(bid(QStringLiteral("Kolo"), 600, 5, QStringLiteral("1200")), now), QString());
        const QString tooClose = store.add(bid(QStringLiteral("Budík"), 620, 5, QStringLiteral("99")), now);
        QVERIFY2(tooClose.contains(QStringLiteral("„Kolo“")) && tooClose.contains(QStringLiteral("nebyl zařazen")),
                 qPrintable(tooClose));
        QVERIFY(store.add(bid(QStringLiteral("Hodinky"), -5, 5, QStringLiteral("10")), now).startsWith(QStringLiteral("Konec aukce už minul.")));

        QTableWidget *table = window.Fronta_Table;
        QCOMPARE(column(table, 1), (QStringList{QStringLiteral("Kolo"), QStringLiteral("Lampa")}));
        QCOMPARE(column(table, 5), (QStringList{QStringLiteral("čeká"), QStringLiteral("čeká")}));
        QCOMPARE(column(table, 6), (QStringList{QStringLiteral("00:09:51"), QStringLiteral("00:59:46")}));
        QVERIFY(!window.Prazdna_Label->isVisible());
        QCOMPARE(loadQueueFile(path, now, startUp).bids.size(), 2);

        // A bad amount changes nothing.
        table->selectRow(1);
        QCOMPARE(window.Castka_Edit->text(), QStringLiteral("250"));
        window.Castka_Edit->setText(QStringLiteral("12,345"));
        {
            MessageBoxAnswerer answerer;
            window.Zmenit_BTT->click();
            QCOMPARE(answerer.texts().size(), 1);
            QVERIFY(answerer.texts().first().contains(QStringLiteral("12,345")));
        }
        QCOMPARE(column(table, 2), (QStringList{QStringLiteral("1200"), QStringLiteral("250")}));

        // Seconds that bring the lamp's moment before the bike's reorder the queue; seconds that
        // bring it within 30 s of it are refused.
        window.Castka_Edit->setText(QStringLiteral("300,50"));
        window.Sekund_Edit->setText(QStringLiteral("3010"));
        {
            MessageBoxAnswerer answerer;
            window.Zmenit_BTT->click();
            QCOMPARE(answerer.texts().size(), 1);
            QVERIFY2(answerer.texts().first().contains(QStringLiteral("„Kolo“")), qPrintable(answerer.texts().first()));
        }
        window.Sekund_Edit->setText(QStringLiteral("3100"));
        window.Mod_Combo->setCurrentIndex(1);
        window.Zmenit_BTT->click();
        QCOMPARE(column(table, 1), (QStringList{QStringLiteral("Lampa"), QStringLiteral("Kolo")}));
        QCOMPARE(column(table, 2), (QStringList{QStringLiteral("300,50"), QStringLiteral("1200")}));
        QCOMPARE(column(table, 4), (QStringList{QStringLiteral("ostrý"), QStringLiteral("testovací")}));
        QCOMPARE(table->currentRow(), 0);   // the changed bid stays selected where it went

        // Removed, and gone from the file too.
        table->selectRow(1);
        window.Odebrat_BTT->click();
        QCOMPARE(column(table, 1), QStringList{QStringLiteral("Lampa")});
        const LoadedQueue kept = loadQueueFile(path, now, startUp);
        QCOMPARE(kept.bids.size(), 1);
        QCOMPARE(kept.bids.first().seconds, 3100);
        QVERIFY(kept.bids.first().live);
    }
};

QTEST_MAIN(TestQueueWindow)
#include "tst_queuewindow.moc"
