#pragma once

#include <QAtomicInteger>
#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 for tests. It runs on a thread of its own, so it
// keeps answering while the test's main thread sleeps or spins a nested event loop.
class TestHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Response {
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        int status = 200;
        QList<QPair<QByteArray, QByteArray>> headers;
        int delayMs = 0;  // answer late; -1 never answers
        // When above 0: instead of body, this many bytes are sent as fast as the client takes
        // them, with only the headers above (no Content-Length of the server's own). With a
        // "Transfer-Encoding: chunked" header they go as chunks, otherwise plain until the
        // connection closes.
        qint64 streamBytes = 0;
    };
    struct Request {
        QByteArray method;
        QByteArray path;   // without the query
        QByteArray query;
        QHash<QByteArray, QByteArray> headers;  // lower-case names
        QByteArray body;
        QDateTime received;
    };

    TestHttpServer();
    ~TestHttpServer() override;

    // Starts listening on a free port of 127.0.0.1; false when it cannot.
    bool start();
    quint16 port() const { return m_port; }
    QUrl url(const QString &pathAndQuery = QStringLiteral("/")) const;

    void setRoute(const QByteArray &path, const Response &response);
    void setRoute(const QByteArray &path, const QByteArray &html);
    QList<Request> requests() const;
    QList<Request> requestsFor(const QByteArray &path) const;
    void clearRequests();
    // Closes every open connection, answered or not.
    void dropConnections();
    // The server's clock, as its Date headers give it, runs this far ahead of the computer's.
    void setClockOffset(qint64 ms) { m_clockOffsetMs.storeRelaxed(ms); }
    // Bytes that streamed answers handed to the system so far, headers and framing included.
    qint64 bytesStreamed() const { return m_streamed.loadRelaxed(); }

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Request &request);
    void stream(QTcpSocket *socket, const Response &response);

    QThread m_thread;
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
    mutable QMutex m_mutex;
    QHash<QByteArray, Response> m_routes;
    QList<Request> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QAtomicInteger<qint64> m_streamed = 0;
    QAtomicInteger<qint64> m_clockOffsetMs = 0;
};
