#include "testhttpserver.h"

#include <QHostAddress>
#include <QLocale>
#include <QMetaObject>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimeZone>
#include <QTimer>

#include <memory>

TestHttpServer::TestHttpServer()
{
    m_thread.setObjectName(QStringLiteral("TestHttpServer"));
    m_thread.start();
    moveToThread(&m_thread);
}

TestHttpServer::~TestHttpServer()
{
    QMetaObject::invokeMethod(this, [this] {
        delete m_server;
        m_server = nullptr;
        moveToThread(QThread::currentThread()->thread());
    }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool TestHttpServer::start()
{
    bool ok = false;
    QMetaObject::invokeMethod(this, [this, &ok] {
        m_server = new QTcpServer;
        connect(m_server, &QTcpServer::newConnection, this, &TestHttpServer::onNewConnection);
        ok = m_server->listen(QHostAddress::LocalHost, 0);
        m_port = m_server->serverPort();
    }, Qt::BlockingQueuedConnection);
    return ok;
}

QUrl TestHttpServer::url(const QString &pathAndQuery) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(pathAndQuery));
}

void TestHttpServer::setRoute(const QByteArray &path, const Response &response)
{
    QMutexLocker lock(&m_mutex);
    m_routes.insert(path, response);
}

void TestHttpServer::setRoute(const QByteArray &path, const QByteArray &html)
{
    Response r;
    r.body = html;
    setRoute(path, r);
}

QList<TestHttpServer::Request> TestHttpServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

QList<TestHttpServer::Request> TestHttpServer::requestsFor(const QByteArray &path) const
{
    QList<Request> out;
    for (const Request &r : requests()) {
        if (r.path == path)
            out.append(r);
    }
    return out;
}

void TestHttpServer::clearRequests()
{
    QMutexLocker lock(&m_mutex);
    m_requests.clear();
}

void TestHttpServer::dropConnections()
{
    QMetaObject::invokeMethod(this, [this] {
        const QList<QTcpSocket *> open = m_buffers.keys();
        for (QTcpSocket *socket : open)
            socket->abort();
    }, Qt::BlockingQueuedConnection);
}

void TestHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void TestHttpServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    for (;;) {
        const int headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        Request request;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        const QByteArray target = first.value(1);
        const int q = target.indexOf('?');
        request.path = q < 0 ? target : target.left(q);
        request.query = q < 0 ? QByteArray() : target.mid(q + 1);
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
        }
        const int length = request.headers.value("content-length").toInt();
        if (buffer.size() < headerEnd + 4 + length)
            return;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        request.received = QDateTime::currentDateTime();
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append(request);
        }
        answer(socket, request);
    }
}

namespace {
// The Date header of a moment in milliseconds since the epoch, whole seconds as servers write it.
QByteArray httpDate(qint64 ms)
{
    return QLocale::c().toString(QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()),
                                 QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'")).toLatin1();
}
} // namespace

void TestHttpServer::answer(QTcpSocket *socket, const Request &request)
{
    Response response;
    bool found = false;
    {
        QMutexLocker lock(&m_mutex);
        found = m_routes.contains(request.path);
        if (found)
            response = m_routes.value(request.path);
    }
    if (!found) {
        response.status = 404;
        response.body = "not here";
        response.contentType = "text/plain";
    }
    if (response.delayMs < 0)
        return;
    if (response.streamBytes > 0) {
        stream(socket, response);
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + (response.status == 200 ? " OK" : " Status")
        + "\r\nContent-Type: " + response.contentType
        + "\r\nContent-Length: " + QByteArray::number(response.body.size())
        + "\r\nCache-Control: no-store\r\nDate: " + httpDate(QDateTime::currentMSecsSinceEpoch() + m_clockOffsetMs.loadRelaxed())
        + "\r\n";
    for (const auto &h : response.headers)
        head += h.first + ": " + h.second + "\r\n";
    const QByteArray reply = head + "\r\n" + (request.method == "HEAD" ? QByteArray() : response.body);
    if (response.delayMs > 0) {
        QTimer::singleShot(response.delayMs, socket, [socket, reply] { socket->write(reply); });
    } else {
        socket->write(reply);
    }
}

void TestHttpServer::stream(QTcpSocket *socket, const Response &response)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " OK\r\nContent-Type: " + response.contentType + "\r\n";
    bool chunked = false;
    for (const auto &h : response.headers) {
        head += h.first + ": " + h.second + "\r\n";
        chunked = chunked || (h.first.toLower() == "transfer-encoding" && h.second.toLower() == "chunked");
    }
    socket->write(head + "\r\n");

    // Keeps about two pieces queued in the socket, so the body goes out only as fast as the
    // client reads it.
    static constexpr qint64 piece = 16 * 1024;
    auto remaining = std::make_shared<qint64>(response.streamBytes);
    auto pump = [socket, remaining, chunked] {
        while (*remaining > 0 && socket->bytesToWrite() < 2 * piece) {
            const qint64 size = qMin(piece, *remaining);
            const QByteArray data(size, '9');
            socket->write(chunked ? QByteArray::number(size, 16) + "\r\n" + data + "\r\n" : data);
            *remaining -= size;
        }
        if (*remaining == 0) {
            *remaining = -1;
            if (chunked)
                socket->write("0\r\n\r\n");
            else
                socket->disconnectFromHost();
        }
    };
    connect(socket, &QTcpSocket::bytesWritten, this, [this, pump](qint64 written) {
        m_streamed.fetchAndAddRelaxed(written);
        pump();
    });
    pump();
}
