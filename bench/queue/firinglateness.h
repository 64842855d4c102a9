#pragma once

#include "testhttpserver.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <optional>

class TMain_Form;

// The main window's firing tick, for a countdown armed by hand and for one the queue arms: how
// long after the moment the tick that fires runs. The input and the page behind the bid's checks
// are fakes, so that only the countdown's own timing is measured.
class FiringLateness : public QObject
{
public:
    FiringLateness();
    ~FiringLateness() override;

    // The window up with the item page of a site on loopback loaded; false when it is not.
    bool start();
    // Milliseconds from the moment to the firing tick; nothing when the bid did not fire.
    std::optional<double> armedByHand();
    std::optional<double> armedByQueue();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<double> awaitFiring();

    TestHttpServer m_server;
    QTemporaryDir m_dir;
    QWebEngineProfile m_profile;
    TMain_Form *m_form = nullptr;
    QStringList m_log;
    std::optional<double> m_late;
    int m_queued = 0;
};
