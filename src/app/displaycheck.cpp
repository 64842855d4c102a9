#include "app/displaycheck.h"

#include <QByteArray>
#include <QList>

#include <X11/Xlib.h>

QString windowSystemProblem()
{
    // "xcb", or "xcb:option=value" with the platform's options.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform.split(':').constFirst() != "xcb")
        return {};
    const QByteArray name = qgetenv("DISPLAY");
    if (name.isEmpty()) {
        return QStringLiteral("Kavelin nelze spustit: není nastaven žádný grafický displej (proměnná DISPLAY je "
                              "prázdná). Spusťte jej v grafickém prostředí.");
    }
    Display *display = XOpenDisplay(name.constData());
    if (!display) {
        return QStringLiteral("Kavelin nelze spustit: nepodařilo se připojit ke grafickému displeji „%1“. "
                              "Spusťte jej v grafickém prostředí.")
            .arg(QString::fromLocal8Bit(name));
    }
    XCloseDisplay(display);
    return {};
}
