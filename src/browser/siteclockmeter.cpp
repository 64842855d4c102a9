#include "browser/siteclockmeter.h"

#include <QDateTime>
#include <QNetworkReply>
#include <QTimer>

SiteClockMeter::SiteClockMeter(QObject *parent)
    : QObject(parent)
{
}

void SiteClockMeter::measure(const QUrl &url)
{
    ++m_run;
    m_url = url;
    m_samples.clear();
    m_afterChange = -1;
    m_measuring = true;
    m_elapsed.start();
    ask();
}

void SiteClockMeter::ask()
{
    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setTransferTimeout(qMax(100, limitMs - int(m_elapsed.elapsed())));
    const qint64 sent = QDateTime::currentMSecsSinceEpoch();
    QNetworkReply *reply = m_network.head(request);
    const quint64 run = m_run;
    connect(reply, &QNetworkReply::finished, this, [this, reply, sent, run] {
        reply->deleteLater();
        if (run != m_run)
            return;
        const qint64 received = QDateTime::currentMSecsSinceEpoch();
        const std::optional<qint64> date = httpDateMs(reply->rawHeader("Date"));
        if (!date) {
            finish();
            return;
        }
        if (m_afterChange < 0 && !m_samples.isEmpty() && *date != m_samples.first().dateMs)
            m_afterChange = 0;
        else if (m_afterChange >= 0)
            ++m_afterChange;
        m_samples.append({sent, received, *date});
        // Two answers after the change pin the moment it happened; the time is up anyway.
        if (m_afterChange >= 2 || m_elapsed.elapsed() + spacingMs >= limitMs) {
            finish();
            return;
        }
        QTimer::singleShot(spacingMs, this, [this, run] {
            if (run == m_run)
                ask();
        });
    });
}

void SiteClockMeter::finish()
{
    ++m_run;
    m_measuring = false;
    emit measured(siteClockOffset(m_samples));
}
