#pragma once

#include <QString>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// Creates a FIFO at path; false when it cannot.
inline bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Runs call on a thread of its own and tells whether it returned within timeoutMs. When it did
// not (it waits for a writer of the FIFO at fifoPath), the FIFO's writing end is opened and
// closed once, which lets a waiting reader go, so that the test fails instead of hanging.
inline bool returnsWithoutWriter(const QString &fifoPath, const std::function<void()> &call, int timeoutMs = 5000)
{
    std::atomic<bool> done = false;
    std::thread worker([&] {
        call();
        done = true;
    });
    const bool returned = QTest::qWaitFor([&] { return done.load(); }, timeoutMs);
    while (!done) {
        const int fd = ::open(QFile::encodeName(fifoPath).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        QTest::qWait(10);
    }
    worker.join();
    return returned;
}
