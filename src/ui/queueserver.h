#pragma once

#include "sniper/queuefile.h"

#include <QObject>
#include <QPointer>

class QPushButton;
class QTimer;
class QueueStore;
class SleepInhibitor;
class TMain_Form;
class TQueue_Form;

// The queue in the main window: "Přidat do fronty" adds the page in view with the panel's
// values, "Fronta příhozů" opens the queue's window. Shortly before a queued bid's moment its
// item page is loaded in the main browser and the panel's countdown armed for it, so that it
// is checked, watched, fired and recorded as any armed countdown is. While any bid waits, the
// computer is kept awake.
class QueueServer : public QObject
{
    Q_OBJECT
public:
    // The queue is kept in the file at path; read at once, and what went missing while the
    // program was closed is told once the window shows.
    QueueServer(TMain_Form *form, const QString &path);

    // fronta.json in the user's data folder.
    static QString defaultPath();

    // How long before a bid's moment the user is told that its page will be loaded, and when
    // it is loaded.
    struct Timings
    {
        int announceMs = 150000;
        int loadLeadMs = 100000;
        int pageLoadMs = 15000;
    } Timing;

    QueueStore *store() const { return m_store; }
    QPushButton *Pridat_BTT;
    QPushButton *Fronta_BTT;

    // Adds the page in view with the panel's values; refusals are shown.
    void add();
    void showQueue();

    // Whether the panel's countdown may be armed for this moment: not within the spacing of a
    // queued bid's (says why not), and, when a queued bid comes first, only if the user says so.
    bool allowsPanelMoment(double moment);

    // The queue's state looked at now: runs every second, and after every change.
    void serve();

private:
    void startServing(quint64 id);
    void armServed(quint64 id);
    void finishServing(QueueState state, const QString &text);
    void panelBidFinished(bool ok);
    void holdAwake();
    void tellAtStart(const LoadedQueue &loaded);
    void tell(const QString &text, bool alert);

    TMain_Form *m_form;
    QueueStore *m_store;
    QPointer<TQueue_Form> m_window;
    SleepInhibitor *m_inhibitor;
    QTimer *m_tick;
    quint64 m_serving = 0;       // the bid whose page is loaded and for which the panel is armed
    bool m_servedArmed = false;
    bool m_arming = false;
    bool m_holding = false;
    quint64 m_announced = 0;
    QMetaObject::Connection m_pageLoaded;   // the served bid's page finishing its load
};
