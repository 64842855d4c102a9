#include "desktop/sleepinhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const QString screenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString screenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
}

SleepInhibitor::SleepInhibitor(QObject *parent)
    : QObject(parent)
{
}

SleepInhibitor::~SleepInhibitor()
{
    release();
}

void SleepInhibitor::acquire(const QString &reason)
{
    release();
    const quint64 generation = ++m_generation;
    m_pending = 2;

    QDBusMessage login = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    login << QStringLiteral("sleep:idle") << QStringLiteral("Kavelin") << reason << QStringLiteral("block");
    auto *loginCall = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(login, 2000), this);
    connect(loginCall, &QDBusPendingCallWatcher::finished, this, [this, generation](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *call;
        if (generation != m_generation)
            return;   // released or asked again meanwhile: the descriptor closes with the reply
        if (!reply.isError())
            m_lock = reply.value();
        answered(generation);
    });

    QDBusMessage saver = QDBusMessage::createMethodCall(screenSaverService, screenSaverPath, screenSaverService,
                                                        QStringLiteral("Inhibit"));
    saver << QStringLiteral("Kavelin") << reason;
    auto *saverCall = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(saver, 2000), this);
    connect(saverCall, &QDBusPendingCallWatcher::finished, this, [this, generation](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError())
            return answered(generation);
        if (generation != m_generation) {
            // Released before the answer came: give the inhibition back at once.
            QDBusMessage un = QDBusMessage::createMethodCall(screenSaverService, screenSaverPath, screenSaverService,
                                                             QStringLiteral("UnInhibit"));
            un << reply.value();
            QDBusConnection::sessionBus().asyncCall(un);
            return;
        }
        m_cookie = reply.value();
        answered(generation);
    });
}

void SleepInhibitor::answered(quint64 generation)
{
    if (generation != m_generation || --m_pending > 0)
        return;
    emit held(isHeld());
}

void SleepInhibitor::release()
{
    ++m_generation;
    m_pending = 0;
    m_lock = QDBusUnixFileDescriptor();   // closing the descriptor ends the block
    if (m_cookie != 0) {
        QDBusMessage un = QDBusMessage::createMethodCall(screenSaverService, screenSaverPath, screenSaverService,
                                                         QStringLiteral("UnInhibit"));
        un << m_cookie;
        QDBusConnection::sessionBus().asyncCall(un);
        m_cookie = 0;
    }
}
