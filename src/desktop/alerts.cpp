#include "desktop/alerts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QVariantMap>
#include <QWidget>

void alertUser(QWidget *window, const QString &summary, const QString &body)
{
    if (window)
        QApplication::alert(window);
    QApplication::beep();
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QStringLiteral("Kavelin") << uint(0) << QString() << summary << body << QStringList() << QVariantMap()
           << int(-1);
    // No answer is awaited: a session without the service simply shows no notification.
    QDBusConnection::sessionBus().asyncCall(notify);
}
