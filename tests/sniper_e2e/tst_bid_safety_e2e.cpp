#include "bide2eharness.h"

#include "sniper/journal.h"
#include "sniper/positions.h"
#include "xsession.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace xsession;

// What the program refuses to send: to a covered window, to a moved field, unarmed, closed.
class TestBidSafetyEndToEnd : public BidEndToEnd
{
    Q_OBJECT
private slots:
    void windowCoveredAtTheMomentSendsNothing()
    {
        // Another program's window, kept above Kavelin, over the browser; it reports every
        // event it receives.
        QProcess other;
        other.start(QStringLiteral("xev"), {QStringLiteral("-name"), QStringLiteral("Jiny program"),
                                            QStringLiteral("-geometry"), QStringLiteral("700x500+20+60")});
        QVERIFY(other.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Jiny program")).size() == 1, 10000);
        QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-r"), QStringLiteral("Jiny program"),
                                                    QStringLiteral("-b"), QStringLiteral("add,above")});
        armNowPlus15(QStringLiteral("555"), true, 9);
        const qsizetype before = other.readAllStandardOutput().count("ButtonPress");
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 2, 20000);
        QVERIFY(m_site.bids().isEmpty());
        const QByteArray seen = other.readAllStandardOutput();
        QCOMPARE(before + seen.count("ButtonPress") + seen.count("KeyPress"), 0);
        other.kill();
        other.waitForFinished();
        closeMessageBox();
        QVERIFY(m_site.bids().isEmpty());
        // The record says why.
        const Journal journal = readJournal(fileContent(QDir(newestRecord()).filePath(QStringLiteral("journal.jsonl"))));
        QVERIFY2(!journal.entries.isEmpty(), qPrintable(newestRecord()));
        QCOMPARE(journal.entries.last().event, QStringLiteral("outcome"));
        const QString reason = journal.entries.last().fields.value(QStringLiteral("reason")).toString();
        QVERIFY2(reason.contains(QStringLiteral("zakryté")), qPrintable(reason));
    }

    void amountFieldMovedAwayClicksNothing()
    {
        armNowPlus15(QStringLiteral("444"), true, 9, false);
        // The page shifts its layout after arming: a notice now lies at point 1.
        m_site.shiftLayout();
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 2, 20000);
        closeMessageBox();
        QVERIFY(m_site.bids().isEmpty());
        QVERIFY(m_site.confirmations().isEmpty());
    }

    void armingIsRefused_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("taught");
        QTest::newRow("amount abc") << "abc" << true;
        QTest::newRow("no points taught") << "150" << false;
    }
    void armingIsRefused()
    {
        QFETCH(QString, amount);
        QFETCH(bool, taught);
        const QString file = settingsPath(m_dir.path());
        if (!taught)
            QVERIFY(QFile::rename(file, file + QStringLiteral(".saved")));
        const QString previous = newestRecord();
        armNowPlus15(amount, true, 9, false);
        // At once: a box, and nothing armed.
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Kavelin")).size() == 2, 5000);
        closeMessageBox();
        if (!taught)
            QVERIFY(QFile::rename(file + QStringLiteral(".saved"), file));
        // Every arming is recorded at once. Once the program has loaded a page after the box
        // closed, arming is long over: no record means nothing was armed.
        navigate(m_site.itemUrl());
        QCOMPARE(newestRecord(), previous);
        QVERIFY(m_site.bids().isEmpty());
        QCOMPARE(windows(QStringLiteral("Kavelin")).size(), 1);
    }

    // Last: the program ends here.
    void closingTheMainWindowWithAPopUpOpenEndsTheProgram()
    {
        // A page opens the item page in a window of its own, titled by its page.
        navigate(m_site.server().url(QStringLiteral("/popup")));
        QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Aukce")).size() == 1, 10000);
        // Out of the way of the address box and the panel.
        QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-r"), QStringLiteral("Aukce"), QStringLiteral("-e"),
                                                    QStringLiteral("0,500,600,300,200")});
        activate(m_window);
        // A moment far enough ahead that the window is closed before it.
        armNowPlus15(QStringLiteral("999"), true, 5);
        QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), m_window});
        QVERIFY(m_process.waitForFinished(5000));
        QCOMPARE(m_process.exitStatus(), QProcess::NormalExit);
        QVERIFY(m_site.bids().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBidSafetyEndToEnd)
#include "tst_bid_safety_e2e.moc"
