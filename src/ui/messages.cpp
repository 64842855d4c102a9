#include "ui/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

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
    // Texts may quote the page ("<input>"): never read as markup.
    box.setTextFormat(Qt::PlainText);
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

bool askYesNo(const QString &question, QWidget *parent)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kavelin"), question, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *yes = box.addButton(QStringLiteral("Ano"), QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(QStringLiteral("Ne"), QMessageBox::NoRole));
    box.exec();
    return box.clickedButton() == yes;
}

void closeProgramDialogs()
{
    while (QWidget *popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
}
