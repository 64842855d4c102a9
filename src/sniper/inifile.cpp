#include "sniper/inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace ini {

namespace {

struct Line
{
    qsizetype start;   // first byte of the line
    qsizetype end;     // one past its last byte, terminator excluded
    qsizetype next;    // first byte of the next line
};

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype nl = content.indexOf('\n', start);
        const qsizetype next = nl < 0 ? content.size() : nl + 1;
        qsizetype end = nl < 0 ? content.size() : nl;
        if (end > start && content[end - 1] == '\r')
            --end;
        lines.append({start, end, next});
        start = next;
    }
    return lines;
}

QString text(const QByteArray &content, const Line &line)
{
    return QString::fromUtf8(content.mid(line.start, line.end - line.start));
}

// The section named by a "[name]" line, or a null string for any other line.
QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return QString();
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    const QString name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
    return name.isNull() ? QStringLiteral("") : name;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool isKeyLine(const QString &line, const QString &key)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq >= 0 && sameName(line.left(eq).trimmed(), key);
}

// Index range [first, last) of the lines inside the first section named section; first is -1
// when there is no such section.
QPair<qsizetype, qsizetype> sectionRange(const QByteArray &content, const QList<Line> &lines, const QString &section)
{
    qsizetype first = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionName(text(content, lines[i]));
        if (name.isNull())
            continue;
        if (first >= 0)
            return {first, i};
        if (sameName(name, section))
            first = i + 1;
    }
    return {first, lines.size()};
}

QByteArray lineEnding(const QByteArray &content)
{
    return content.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
}

} // namespace

QString valueIn(const QByteArray &content, const QString &section, const QString &key)
{
    const QList<Line> lines = splitLines(content);
    const auto [first, last] = sectionRange(content, lines, section);
    if (first < 0)
        return QString();
    for (qsizetype i = first; i < last; ++i) {
        const QString line = text(content, lines[i]);
        if (isKeyLine(line, key))
            return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return QString();
}

QByteArray withValue(const QByteArray &content, const QString &section, const QString &key, const QString &value)
{
    const QList<Line> lines = splitLines(content);
    const QByteArray newline = lineEnding(content);
    const QByteArray keyLine = key.trimmed().toUtf8() + '=' + value.toUtf8();
    const auto [first, last] = sectionRange(content, lines, section);

    if (first < 0) {
        QByteArray out = content;
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += newline;
        return out + '[' + section.toUtf8() + ']' + newline + keyLine + newline;
    }
    for (qsizetype i = first; i < last; ++i) {
        if (isKeyLine(text(content, lines[i]), key)) {
            QByteArray out = content;
            return out.replace(lines[i].start, lines[i].end - lines[i].start, keyLine);
        }
    }
    // After the section's last non-blank line (the section line itself when it has none).
    qsizetype after = first - 1;
    for (qsizetype i = first; i < last; ++i) {
        if (!text(content, lines[i]).trimmed().isEmpty())
            after = i;
    }
    const Line &anchor = lines[after];
    QByteArray out = content;
    if (anchor.next == anchor.end)   // the last line, without a terminator
        return out.insert(anchor.end, newline + keyLine);
    return out.insert(anchor.next, keyLine + newline);
}

QString readString(const QString &path, const QString &section, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return valueIn(file.readAll(), section, key);
}

namespace {

// The file that a write replaces: the target of a symbolic link rather than the link.
QString finalPath(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString temporaryPath(const QString &path, qint64 pid)
{
    return path + QStringLiteral(".tmp-") + QString::number(pid);
}

bool writeStrings(const QString &path, const QString &section, const QList<Entry> &entries, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QString target = finalPath(path);
    const QFileInfo targetInfo(target);
    QByteArray content;
    if (targetInfo.exists()) {
        QFile existing(target);
        if (!existing.open(QIODevice::ReadOnly))
            return fail(existing.errorString());
        if (!targetInfo.isWritable())
            return fail(QStringLiteral("Soubor %1 je jen pro čtení").arg(QDir::toNativeSeparators(target)));
        content = existing.readAll();
    }
    for (const Entry &entry : entries)
        content = withValue(content, section, entry.first, entry.second);

    // Written whole and on the disk before it takes the file's place.
    const QString temporary = temporaryPath(target, QCoreApplication::applicationPid());
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(file.errorString());
    if (targetInfo.exists())
        file.setPermissions(targetInfo.permissions());
    const bool written = file.write(content) == content.size() && file.flush() && ::fsync(file.handle()) == 0;
    const QString writeError = file.errorString();
    file.close();
    if (!written) {
        QFile::remove(temporary);
        return fail(writeError);
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString reason = systemError();
        QFile::remove(temporary);
        return fail(reason);
    }
    return true;
}

QStringList removeStrayTemporaries(const QString &path, const std::function<bool(qint64 pid)> &processRunning)
{
    const QFileInfo file(finalPath(path));
    const QRegularExpression stray(QStringLiteral("^%1\\.tmp-([0-9]{1,10})$")
                                       .arg(QRegularExpression::escape(file.fileName())));
    QStringList removed;
    QDir folder = file.absoluteDir();
    const QStringList candidates =
        folder.entryList({file.fileName() + QStringLiteral(".tmp-*")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : candidates) {
        const QRegularExpressionMatch match = stray.match(name);
        if (match.hasMatch() && !processRunning(match.captured(1).toLongLong()) && folder.remove(name))
            removed.append(name);
    }
    return removed;
}

} // namespace ini
