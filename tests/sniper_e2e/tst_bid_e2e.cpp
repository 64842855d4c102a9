#include "bide2eharness.h"
#include "sniper/journal.h"
#include "sniper/positions.h"
#include "xsession.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace xsession;

// The bid as it reaches the site: the amount, the clicks, and when.
class TestBidEndToEnd : public BidEndToEnd
{
    Q_OBJECT
private slots:
    void testModeBidsTheAmountAndConfirmsNothing()
    {
        const QString previous = newestRecord();
        const QDateTime pressed = armNowPlus15(QStringLiteral("150"), false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_site.bids().isEmpty(), 20000);
        const FakeAuctionSite::Arrival bid = m_site.bids().first();
        QCOMPARE(bid.amount, QStringLiteral("150"));
        // The moment is about 2 s after the press (15 - 9 - 4, less the picker's fraction of a
        // second), and the bid button is clicked a second after it.
        QVERIFY2(pressed.msecsTo(bid.received) >= 2000, qPrintable(QString::number(pressed.msecsTo(bid.received))));
        // In live mode the confirming click would have followed before the outcome.
        QTRY_VERIFY_WITH_TIMEOUT(!outcomeAfter(previous).entries.isEmpty(), 10000);
        QCOMPARE(m_site.bids().size(), 1);
        QVERIFY(m_site.confirmations().isEmpty());
    }

    void liveModeConfirmsTheBid()
    {
        const QString previous = newestRecord();
        const QDateTime pressed = armNowPlus15(QStringLiteral("2480,50"), true);
        QTRY_VERIFY_WITH_TIMEOUT(!m_site.confirmations().isEmpty(), 20000);
        QCOMPARE(m_site.bids().size(), 1);
        const FakeAuctionSite::Arrival bid = m_site.bids().first();
        const FakeAuctionSite::Arrival confirmation = m_site.confirmations().first();
        QCOMPARE(bid.amount, QStringLiteral("2480,50"));
        QCOMPARE(confirmation.amount, QStringLiteral("2480,50"));
        QVERIFY2(pressed.msecsTo(bid.received) >= 2000, qPrintable(QString::number(pressed.msecsTo(bid.received))));
        // The confirming click comes about a second after the click on the bid button.
        QVERIFY2(bid.received < confirmation.received, qPrintable(QString::number(bid.received.msecsTo(confirmation.received))));
        qInfo("bid %lld ms after the press, confirmation %lld ms after the bid", pressed.msecsTo(bid.received),
              bid.received.msecsTo(confirmation.received));

        // The record: the page as the site answered, the events in order, the firing within a
        // tick of the moment, the amount as typed. The page after is kept seconds after the
        // last click: no second confirmation came meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(!outcomeAfter(previous).entries.isEmpty(), 10000);
        const QDir record(newestRecord());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record.filePath(QStringLiteral("after.html"))), 10000);
        QCOMPARE(m_site.confirmations().size(), 1);
        QVERIFY(fileContent(record.filePath(QStringLiteral("after.html"))).contains("Příhoz potvrzen"));
        QVERIFY(fileContent(record.filePath(QStringLiteral("item.html"))).contains("id=\"amount\""));
        QVERIFY(QFile::exists(record.filePath(QStringLiteral("after.png"))));
        const Journal journal = readJournal(fileContent(record.filePath(QStringLiteral("journal.jsonl"))));
        QVERIFY(!journal.damaged);
        QStringList events;
        for (qsizetype i = 0; i < journal.entries.size(); ++i) {
            events.append(journal.entries[i].event);
            if (i > 0)
                QVERIFY(journal.entries[i - 1].local <= journal.entries[i].local);
        }
        QCOMPARE(events.first(), QStringLiteral("armed"));
        QCOMPARE(events.last(), QStringLiteral("outcome"));
        QVERIFY(events.contains(QStringLiteral("pasted")) && events.contains(QStringLiteral("click")));
        QCOMPARE(journal.entries.first().fields.value(QStringLiteral("amount")).toString(), QStringLiteral("2480,50"));
        const JournalEntry fired = journal.entries[events.indexOf(QStringLiteral("fired"))];
        const QDateTime moment = QDateTime::fromString(fired.fields.value(QStringLiteral("moment")).toString(), Qt::ISODateWithMs);
        QVERIFY2(moment.msecsTo(fired.local) >= 0 && moment.msecsTo(fired.local) <= 100,
                 qPrintable(QString::number(moment.msecsTo(fired.local))));
        QVERIFY(journal.entries.last().fields.value(QStringLiteral("ok")).toBool());
    }

    void pageScrolledAfterTeachingStillBids()
    {
        navigate(m_site.itemUrl());
        // The wheel over the page: the amount field goes out of sight.
        click(inView(QPoint(600, 500)), 5, 10);
        const QDateTime pressed = armNowPlus15(QStringLiteral("321"), false, 9, false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_site.bids().isEmpty(), 20000);
        QCOMPARE(m_site.bids().first().amount, QStringLiteral("321"));
        qInfo("bid %lld ms after the press", pressed.msecsTo(m_site.bids().first().received));
    }
};

QTEST_GUILESS_MAIN(TestBidEndToEnd)
#include "tst_bid_e2e.moc"
