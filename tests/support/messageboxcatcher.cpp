#include "messageboxcatcher.h"

#include <QApplication>

MessageBoxCatcher::MessageBoxCatcher(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCatcher::answer);
    m_timer.start();
}

QStringList MessageBoxCatcher::texts() const
{
    QStringList out;
    for (const Box &box : boxes)
        out << box.text;
    return out;
}

void MessageBoxCatcher::answer()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    boxes.append({box->windowTitle(), box->text(), box->icon()});
    box->accept();
}
