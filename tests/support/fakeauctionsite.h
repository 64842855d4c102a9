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
// Further items, each with its own title and end time, are added with addItem(); their pages
// are laid out as /item is, and their bids and confirmations carry the item's path.
class FakeAuctionSite
{
public:
    struct Arrival
    {
        QString amount;
        QDateTime received;
        QString item;   // the path of an item added with addItem(); empty for /item
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
    // An item page at path (such as "/item/2") titled title, showing its end as the site's
    // markup does; added again, the page shows the new title and end.
    void addItem(const QByteArray &path, const QString &title, const QTime &end);
    QUrl url(const QByteArray &path) const;
    // The bids and confirmations that came from the page at path.
    QList<Arrival> bidsFor(const QByteArray &path) const;
    QList<Arrival> confirmationsFor(const QByteArray &path) const;
    // Clears the record, and the layout stays as it is.
    void clear();
    // The item page moves its amount field down and shows a notice in its place.
    void shiftLayout();
    TestHttpServer &server() { return m_server; }

private:
    QList<Arrival> arrivals(const QByteArray &path) const;
    TestHttpServer m_server;
};
