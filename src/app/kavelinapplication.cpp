#include "app/kavelinapplication.h"

#include "ui/messages.h"

#include <exception>

KavelinApplication::KavelinApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kavelin"));
    setApplicationVersion(QStringLiteral(KAVELIN_VERSION));
}

bool KavelinApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        showErrorBox(QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorBox(QStringLiteral("Neznámá chyba"));
    }
    return false;
}
