#pragma once

#include "fakeauctionsite.h"
#include "filecontent.h"
#include "sniper/journal.h"

#include <QDateTime>
#include <QObject>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

// The built program, started once as a user starts it, with the three points taught through
// the X server on the fake auction site; the cases act on it as the user would.
class BidEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

protected:
    QPoint inView(const QPoint &pagePoint) const;
    QPoint inPanel(const QPoint &contentPoint) const;
    // Loads the page through the address box and waits until it has been drawn.
    void navigate(const QUrl &url);
    void capture(const QRect &onPage, int position);
    void closeMessageBox();
    // Loads the item page (unless told not to), presses "Nyní + 15 sekund", types the seconds
    // and the amount, picks the mode and arms; returns the moment just before the press. With
    // 9 seconds the moment comes about 2 s after the press (15 - 9 - 4).
    QDateTime armNowPlus15(const QString &amount, bool live, int seconds = 9, bool load = true);
    // The folder of the newest record of a bid, in the program's data folder; empty when none.
    QString newestRecord() const;
    // The journal of the newest record once it tells an outcome, when that record is not
    // previousRecord; empty until then. After the outcome nothing more is sent.
    Journal outcomeAfter(const QString &previousRecord) const;

    FakeAuctionSite m_site;
    QTemporaryDir m_dir;
    QString m_program;
    QProcess m_process;
    QString m_window;
    QRect m_client;
};
