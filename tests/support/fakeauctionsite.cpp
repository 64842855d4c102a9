#include "fakeauctionsite.h"

#include "sniper/endtime.h"

#include <QUrlQuery>

namespace {

QByteArray box(const QRect &r)
{
    return QStringLiteral("position:absolute;left:%1px;top:%2px;width:%3px;height:%4px;font-size:18px;")
        .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toUtf8();
}

// Every page tells the site when its first frame has been drawn (two animation frames after
// the script runs), so that a test acting on the screen waits for that and not for a guess.
QByteArray pageStart(const QString &title = QStringLiteral("Aukce"))
{
    return "<!doctype html><html><head><meta charset=utf-8><title>" + title.toHtmlEscaped().toUtf8()
        + "</title><script>requestAnimationFrame(function () { requestAnimationFrame(function () {"
          " fetch('/painted?' + location.pathname); }); });</script></head>"
          "<body style='margin:0'>";
}

// The item page is taller than the window, so that it can be scrolled. It asks the site every
// 200 ms whether to shift its layout: "shift" moves the amount field down and puts a notice
// where it stood, as a banner of the site would. An added item's page says which item its bid
// is for, and shows its end above the field.
QByteArray itemPage(const QString &title, const QByteArray &item, const QTime &end)
{
    QByteArray page = pageStart(title) + "<form action='/bid' method='get'>";
    if (!item.isEmpty())
        page += "<input type=hidden name=item value='" + QString::fromUtf8(item).toHtmlEscaped().toUtf8() + "'>";
    page += "<input id=amount name=amount value='10' autocomplete=off style='" + box(FakeAuctionSite::amountField) + "'>"
            "<button id=bid type=submit style='" + box(FakeAuctionSite::bidButton) + "'>Přihodit</button>"
            "</form><p id=notice style='display:none;margin:0;" + box(FakeAuctionSite::amountField)
        + "'>Aukce byla prodloužena</p>";
    if (end.isValid())
        page += "<p style='position:absolute;left:100px;top:40px;margin:0;font-size:18px'>Končí: "
            + endTimeMarker.toString().toUtf8() + end.toString(QStringLiteral("HH:mm:ss")).toUtf8() + "</span></p>";
    return page + "<div style='position:absolute;top:0;left:0;width:1px;height:3000px'></div>"
                  "<script>setInterval(function () { fetch('/layout').then(function (r) { return r.text(); })"
                  ".then(function (t) { if (t !== 'shift') return;"
                  " document.getElementById('amount').style.top = '"
        + QByteArray::number(FakeAuctionSite::amountField.y() + 160) + "px';"
          " document.getElementById('notice').style.display = 'block'; }); }, 200);</script>"
          "</body></html>";
}

} // namespace

bool FakeAuctionSite::start()
{
    if (!m_server.start())
        return false;
    m_server.setRoute("/layout", "stay");
    m_server.setRoute("/painted", "");
    m_server.setRoute("/item", itemPage(QStringLiteral("Aukce"), QByteArray(), QTime()));
    m_server.setRoute("/popup", pageStart() + "<p>Okno</p><script>window.open('/item', '_blank', "
                                            "'width=400,height=300');</script></body></html>");
    // The confirmation page carries the amount and the item on to the confirmation through
    // hidden fields, written into the page by script so that any text is safe.
    m_server.setRoute("/bid", pageStart()
        + "<form action='/confirm' method='get'><input type=hidden id=amount name=amount>"
          "<input type=hidden id=item name=item><p>Potvrďte příhoz</p>"
          "<button id=confirm type=submit style='" + box(confirmButton) + "'>Přihodit</button></form>"
          "<script>var q = new URLSearchParams(location.search);"
          " document.getElementById('amount').value = q.get('amount') || '';"
          " document.getElementById('item').value = q.get('item') || '';</script></body></html>");
    m_server.setRoute("/confirm", pageStart() + "<p>Příhoz potvrzen</p></body></html>");
    return true;
}

QUrl FakeAuctionSite::itemUrl() const
{
    return m_server.url(QStringLiteral("/item"));
}

QUrl FakeAuctionSite::confirmationUrl(const QString &amount) const
{
    return m_server.url(QStringLiteral("/bid?amount=") + QString::fromUtf8(QUrl::toPercentEncoding(amount)));
}

QList<FakeAuctionSite::Arrival> FakeAuctionSite::arrivals(const QByteArray &path) const
{
    QList<Arrival> out;
    for (const TestHttpServer::Request &request : m_server.requestsFor(path)) {
        // Forms write a blank as "+".
        const QUrlQuery query(QString::fromUtf8(QByteArray(request.query).replace('+', "%20")));
        out.append({query.queryItemValue(QStringLiteral("amount"), QUrl::FullyDecoded), request.received,
                    query.queryItemValue(QStringLiteral("item"), QUrl::FullyDecoded)});
    }
    return out;
}

QList<FakeAuctionSite::Arrival> FakeAuctionSite::bids() const
{
    return arrivals("/bid");
}

QList<FakeAuctionSite::Arrival> FakeAuctionSite::confirmations() const
{
    return arrivals("/confirm");
}

void FakeAuctionSite::addItem(const QByteArray &path, const QString &title, const QTime &end)
{
    m_server.setRoute(path, itemPage(title, path, end));
}

QUrl FakeAuctionSite::url(const QByteArray &path) const
{
    return m_server.url(QString::fromUtf8(path));
}

QList<FakeAuctionSite::Arrival> FakeAuctionSite::bidsFor(const QByteArray &path) const
{
    QList<Arrival> out = bids();
    out.removeIf([&path](const Arrival &a) { return a.item != QString::fromUtf8(path); });
    return out;
}

QList<FakeAuctionSite::Arrival> FakeAuctionSite::confirmationsFor(const QByteArray &path) const
{
    QList<Arrival> out = confirmations();
    out.removeIf([&path](const Arrival &a) { return a.item != QString::fromUtf8(path); });
    return out;
}

void FakeAuctionSite::clear()
{
    m_server.clearRequests();
    m_server.setRoute("/layout", "stay");
    m_server.setRoute("/painted", "");
}

void FakeAuctionSite::shiftLayout()
{
    m_server.setRoute("/layout", "shift");
}
