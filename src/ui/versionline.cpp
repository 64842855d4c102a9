#include "ui/versionline.h"

#include <QFile>
#include <QFileInfo>

namespace {
// A version file holds a short line; a longer first line is cut here.
constexpr qint64 maxLineBytes = 64 * 1024;
} // namespace

VersionFileLine readVersionFileLine(const QString &path)
{
    VersionFileLine result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QStringLiteral("File not found");
        return result;
    }
    // Only a regular file is opened: opening a FIFO would wait for a writer for ever, a
    // device could give bytes without end.
    if (!info.isDir() && !info.isFile()) {
        result.error = QStringLiteral("Nejde o obyčejný soubor");
        return result;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.error = file.error() == QFileDevice::PermissionsError || !info.isReadable()
                           ? QStringLiteral("Přístup k souboru byl odepřen")
                           : QStringLiteral("Soubor nelze přečíst");
        return result;
    }
    QByteArray line;
    while (line.size() < maxLineBytes) {
        char c;
        const qint64 got = file.read(&c, 1);
        if (got < 0) {
            result.error = QStringLiteral("Soubor nelze přečíst");
            return result;
        }
        if (got == 0 || c == '\r' || c == '\n')
            break;
        line += c;
    }
    if (line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    result.ok = true;
    result.line = QString::fromUtf8(line);
    return result;
}

QString versionLabelText(const QString &firstLine)
{
    QString version = firstLine;
    if (const qsizetype dot = version.indexOf(QLatin1Char('.')); dot >= 0)
        version.remove(dot, 1);
    return QStringLiteral("Verze programu: ") + version;
}
