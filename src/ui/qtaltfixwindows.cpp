#include "ui/qtaltfixwindows.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

QList<AltFixWindow> QtAltFixWindows::forms() const
{
    QList<AltFixWindow> result;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->isWindow() && top->windowType() != Qt::Desktop)
            result.append(top);
    }
    return result;
}

QList<AltFixWindow> QtAltFixWindows::children(AltFixWindow control) const
{
    QList<AltFixWindow> result;
    if (QWidget *parent = widget(control)) {
        for (QObject *child : parent->children()) {
            if (auto *childWidget = qobject_cast<QWidget *>(child); childWidget && !childWidget->isWindow())
                result.append(childWidget);
        }
    }
    return result;
}

bool QtAltFixWindows::isWindowed(AltFixWindow control) const
{
    QWidget *w = widget(control);
    return w && !qobject_cast<QLabel *>(w);
}

void QtAltFixWindows::repaint(AltFixWindow control)
{
    if (QWidget *w = widget(control); w && w->isVisible())
        w->repaint();
}

QWidget *QtAltFixWindows::widget(AltFixWindow control)
{
    // Compared as an address only; the widget is used once it is found among the living.
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top == control)
            return top;
        const QList<QWidget *> below = top->findChildren<QWidget *>();
        for (QWidget *w : below) {
            if (w == control)
                return w;
        }
    }
    return nullptr;
}
