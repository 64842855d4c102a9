#include "ui/messages.h"

#include <QMessageBox>

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

namespace {
void showBox(QMessageBox::Icon icon, const QString &text, QWidget *parent)
{
    QMessageBox box(icon, QStringLiteral("Kavelin"), text, QMessageBox::Ok, parent);
    box.exec();
}
}

void showErrorBox(const QString &message, QWidget *parent)
{
    showBox(QMessageBox::Critical, errorBoxText(message), parent);
}

void showMessage(const QString &message, QWidget *parent)
{
    showBox(QMessageBox::NoIcon, message, parent);
}
