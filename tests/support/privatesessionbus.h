#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A session bus of the test's own. A test makes one at namespace scope, so that it is started
// before anything in the process looks for a session bus; it ends with the test.
struct PrivateSessionBus
{
    long pid = 0;
    PrivateSessionBus()
    {
        FILE *out = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
        char address[512] = {}, pidText[32] = {};
        if (!out || !fgets(address, sizeof address, out) || !fgets(pidText, sizeof pidText, out))
            return;
        pclose(out);
        address[strcspn(address, "\n")] = 0;
        setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
        pid = std::atol(pidText);
    }
    ~PrivateSessionBus()
    {
        if (pid > 0)
            kill(pid_t(pid), SIGTERM);
    }
};

// Offers object's slots on the session bus as service at path.
inline bool offerOnSessionBus(const QString &service, const QString &path, QObject *object)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.registerService(service) && bus.registerObject(path, object, QDBusConnection::ExportAllSlots);
}

// What the desktop session would offer: the screen saver's inhibition.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QList<uint> held;
    uint next = 1;
public slots:
    uint Inhibit(const QString &, const QString &) { held.append(next); return next++; }
    void UnInhibit(uint cookie) { held.removeAll(cookie); }
};

// ... and its notifications.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList bodies;
public slots:
    uint Notify(const QString &, uint, const QString &, const QString &, const QString &body, const QStringList &,
                const QVariantMap &, int)
    {
        bodies.append(body);
        return uint(bodies.size());
    }
};
