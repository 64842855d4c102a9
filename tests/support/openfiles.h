#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// How many of this process's file descriptors are open on path.
inline int openDescriptorsFor(const QString &path)
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (QFile::symLinkTarget(fds.filePath(fd)) == path)
            ++count;
    return count;
}
