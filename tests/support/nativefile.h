#pragma once

#include <QByteArray>

#include <fcntl.h>
#include <unistd.h>

// Writes a file whose path is given as the file system's bytes, so that a test can make names
// that are not UTF-8 (which no QString path can name).
inline bool writeNativeFile(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}
