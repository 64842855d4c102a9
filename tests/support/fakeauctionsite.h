#pragma once

#include "testhttpserver.h"

#include <QDateTime>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

// An auction site on 127.0.0.1 for the bid's tests: an item page with an amount field and a bid
// button, a confirmation page with its own bid button, each at fixed places of the page, and a
// record of every bid and confirmation with its amount and the moment it arrived.
//   /item                 the item page; the field holds "10" at first
//   /bid?amount=...       the item page's form goes here: the confirmation page
//   /confirm?amount=...   the confirmation page's form goes here: the bid is confirmed
//   /popup                a page that opens the item page in a window of its own
class FakeAuctionSite
{
public:
    struct Arrival
    {
        QString amount;
        QDateTime received;
    };

    // Places on the page, in CSS pixels from the page's top-left corner.
    static constexpr QRect amountField{100, 100, 200, 32};
    static constexpr QRect bidButton{100, 200, 160, 40};
    static constexpr QRect confirmButton{420, 320, 160, 40};

    bool start();
    QUrl itemUrl() const;
    QUrl confirmationUrl(const QString &amount) const;
    QList<Arrival> bids() const;
    QList<Arrival> confirmations() const;
    // Clears the record, and the layout stays as it is.
    void clear();
    // The item page moves its amount field down and shows a notice in its place.
    void shiftLayout();
    TestHttpServer &server() { return m_server; }

private:
    QList<Arrival> arrivals(const QByteArray &path) const;
    TestHttpServer m_server;
};
