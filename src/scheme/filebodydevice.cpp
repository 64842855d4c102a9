#include "scheme/filebodydevice.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<FileBodyDevice> FileBodyDevice::open(const QString &path)
{
    return open(QFile::encodeName(path));
}

std::unique_ptr<FileBodyDevice> FileBodyDevice::open(const QByteArray &native)
{
    // Non-blocking, so that a FIFO put in the file's place since it was looked at cannot hang
    // the open; it is turned away by the type check below.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<FileBodyDevice> device(new FileBodyDevice(fd, qint64(status.st_size)));
    device->QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return device;
}

FileBodyDevice::FileBodyDevice(int fd, qint64 size)
    : m_fd(fd), m_size(size)
{
}

FileBodyDevice::~FileBodyDevice()
{
    QMutexLocker lock(&m_mutex);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool FileBodyDevice::atEnd() const
{
    QMutexLocker lock(&m_mutex);
    return m_ended || m_fd < 0 || pos() >= m_size;
}

bool FileBodyDevice::seek(qint64 pos)
{
    QMutexLocker lock(&m_mutex);
    if (m_fd < 0 || pos < 0 || pos > m_size)
        return false;
    m_ended = false;
    return QIODevice::seek(pos);
}

void FileBodyDevice::close()
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    QIODevice::close();
}

qint64 FileBodyDevice::readData(char *data, qint64 maxSize)
{
    QMutexLocker lock(&m_mutex);
    if (m_fd < 0)
        return -1;
    const qint64 offset = pos();
    const qint64 wanted = qMin(maxSize, m_size - offset);
    if (wanted <= 0) {
        m_ended = true;
        return 0;
    }
    ssize_t got;
    do {
        got = ::pread(m_fd, data, size_t(wanted), off_t(offset));
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return -1;
    if (got == 0)  // the file is shorter than when it was opened: end here
        m_ended = true;
    return qint64(got);
}
