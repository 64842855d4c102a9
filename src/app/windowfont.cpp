#include "app/windowfont.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

int loadTahoma(const QString &folder)
{
    int added = 0;
    for (const QString &name : {QStringLiteral("tahoma.ttf"), QStringLiteral("tahomabd.ttf")}) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            ++added;
    }
    return added;
}
