#pragma once

#include "sniper/siteclock.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

// Measures how far the site's clock is from the computer's: short questions to the site's
// address, each answer's Date header against the moment it came, until the site's second has
// changed while it was asked (or the time is up). No cookies go with them.
class SiteClockMeter : public QObject
{
    Q_OBJECT
public:
    explicit SiteClockMeter(QObject *parent = nullptr);

    // Starts a measurement of the site at url; a running one is dropped.
    void measure(const QUrl &url);
    bool isMeasuring() const { return m_measuring; }

    int spacingMs = 20;     // between one answer and the next question
    int limitMs = 2500;     // for the whole measurement

signals:
    // The offset, or nothing when the site did not answer with a Date.
    void measured(std::optional<ClockOffset> offset);

private:
    void ask();
    void finish();

    QNetworkAccessManager m_network;
    QUrl m_url;
    QList<ClockSample> m_samples;
    QElapsedTimer m_elapsed;
    int m_afterChange = -1;   // answers since the site's second changed; -1 before
    bool m_measuring = false;
    quint64 m_run = 0;
};
