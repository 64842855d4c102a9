#include "app/kavelinapplication.h"

#include "ui/messages.h"

#include <QFileInfo>
#include <QIcon>

#include <exception>

namespace {
// The program's icon, built into the program; the desktop's icon theme has it too once the
// program is installed.
QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/kavelin-%1.png").arg(size);
        if (QFileInfo::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon.isNull() ? QIcon::fromTheme(QStringLiteral("cz.kavelin.Kavelin")) : icon;
}
} // namespace

KavelinApplication::KavelinApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kavelin"));
    setApplicationVersion(QStringLiteral(KAVELIN_VERSION));
    // Every window shows the icon; the desktop matches the windows to the menu entry.
    setWindowIcon(programIcon());
    setDesktopFileName(QStringLiteral("cz.kavelin.Kavelin"));
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
