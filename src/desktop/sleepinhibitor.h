#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>

// Keeps the computer awake and its screen on while held: the login manager's "sleep:idle"
// block on the system bus (held as long as its file descriptor is open) and the screen saver's
// inhibition on the session bus. Either may be missing; the answer says which held.
class SleepInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit SleepInhibitor(QObject *parent = nullptr);
    ~SleepInhibitor() override;

    // Asks both; held() follows with whether at least one of them took it.
    void acquire(const QString &reason);
    void release();
    bool isHeld() const { return m_lock.isValid() || m_cookie != 0; }

signals:
    void held(bool anyHeld);

private:
    void answered(quint64 generation);

    QDBusUnixFileDescriptor m_lock;
    uint m_cookie = 0;
    int m_pending = 0;
    quint64 m_generation = 0;
};
