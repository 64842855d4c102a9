#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QMutex>
#include <QString>

#include <memory>

// A regular file as a response body. The web engine reads it on a thread of its own, in the
// pieces it asks for; the file descriptor is guarded by a lock, so a close from another thread
// never pulls the file out from under a read that is under way. The length is the file's size when opened:
// the body never runs past it, and ends early, rather than waiting, when the file shrank.
class FileBodyDevice : public QIODevice
{
    Q_OBJECT
public:
    // Opens path for reading when it is a regular file (never a pipe, socket or device, whose
    // opening or reading could block); null otherwise.
    static std::unique_ptr<FileBodyDevice> open(const QString &path);
    // The same for a path in the file system's bytes (which need not be UTF-8).
    static std::unique_ptr<FileBodyDevice> open(const QByteArray &nativePath);
    ~FileBodyDevice() override;

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_size; }
    bool atEnd() const override;
    bool seek(qint64 pos) override;
    void close() override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    FileBodyDevice(int fd, qint64 size);

    mutable QMutex m_mutex;
    int m_fd = -1;
    qint64 m_size = 0;
    bool m_ended = false;
};
