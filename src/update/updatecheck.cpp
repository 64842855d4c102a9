#include "updatecheck.h"

#include "versioncompare.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {
// What the network layer may hold unread for the check: it stops reading from the socket when
// this much waits, so the server cannot push more at us than the check takes.
constexpr qint64 readBufferBytes = 16 * 1024;

struct Fetched {
    bool timedOut = false;
    bool tooLarge = false;
    bool interrupted = false;
    int status = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
    qint64 peakHeld = 0;
};

Fetched fetch(const QUrl &url, std::chrono::milliseconds limit)
{
    Fetched result;
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = manager.get(request);
    reply->setReadBufferSize(readBufferBytes);

    const auto refuse = [&] {
        result.tooLarge = true;
        reply->abort();
    };
    // Takes what has arrived, never more than one byte over the limit, which is then refused.
    const auto take = [&] {
        result.peakHeld = qMax(result.peakHeld, result.body.size() + reply->bytesAvailable());
        while (!result.tooLarge && reply->bytesAvailable() > 0) {
            result.body += reply->read(maxAnswerBytes + 1 - result.body.size());
            if (result.body.size() > maxAnswerBytes)
                refuse();
        }
    };

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        result.timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        bool known = false;
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && announced > maxAnswerBytes)
            refuse();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(limit);
    if (!reply->isFinished())
        loop.exec();
    deadline.stop();

    if (!reply->isFinished()) {
        // The loop was told to end from outside (the application is quitting).
        result.interrupted = true;
        reply->abort();
    } else if (!result.tooLarge && !result.timedOut) {
        take();
    }
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.error = reply->error();
    reply->disconnect();
    delete reply;
    return result;
}

NetworkFailure classify(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return NetworkFailure::HostNotFound;
    case QNetworkReply::ConnectionRefusedError:
        return NetworkFailure::ConnectionRefused;
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::InsecureRedirectError:
        return NetworkFailure::Secure;
    default:
        return NetworkFailure::Other;
    }
}

bool readLocal(const QString &path, QString *line)
{
    // Only a regular file: opening a FIFO or a device could wait for ever.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(maxAnswerBytes);
    if (file.error() != QFileDevice::NoError)
        return false;
    *line = firstLineOf(head);
    return true;
}
} // namespace

QString firstLineOf(const QByteArray &text)
{
    QByteArrayView view(text);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    qsizetype end = 0;
    while (end < view.size() && view.at(end) != '\r' && view.at(end) != '\n')
        ++end;
    return QString::fromUtf8(view.first(end));
}

UpdateCheckResult checkForUpdate(const QUrl &remote, const QString &localPath,
                                 std::chrono::milliseconds limit)
{
    UpdateCheckResult result;
    result.localPath = localPath;
    result.limit = limit;
    result.host = remote.host();

    if (!readLocal(localPath, &result.localVersion)) {
        result.outcome = UpdateOutcome::LocalUnreadable;
        return result;
    }
    const std::optional<QStringList> local = parseVersion(result.localVersion);
    if (!local) {
        result.outcome = UpdateOutcome::LocalInvalid;
        return result;
    }
    if (!remote.isValid() || remote.scheme().isEmpty()) {
        result.outcome = UpdateOutcome::NoAddress;
        return result;
    }

    const Fetched answer = fetch(remote, limit);
    result.httpStatus = answer.status;
    result.peakBytesHeld = answer.peakHeld;
    if (answer.interrupted) {
        result.outcome = UpdateOutcome::Cancelled;
        return result;
    }
    if (answer.timedOut) {
        result.outcome = UpdateOutcome::Timeout;
        return result;
    }
    if (answer.status != 0 && (answer.status < 200 || answer.status > 299)) {
        result.outcome = UpdateOutcome::HttpError;
        return result;
    }
    if (answer.tooLarge) {
        result.outcome = UpdateOutcome::InvalidAnswer;
        result.answerTooLarge = true;
        return result;
    }
    if (answer.error != QNetworkReply::NoError) {
        result.outcome = UpdateOutcome::NetworkError;
        result.network = classify(answer.error);
        return result;
    }
    result.remoteVersion = firstLineOf(answer.body);
    const std::optional<QStringList> newest = parseVersion(result.remoteVersion);
    if (!newest) {
        result.outcome = UpdateOutcome::InvalidAnswer;
        return result;
    }
    result.remoteVersion = result.remoteVersion.trimmed();
    result.outcome = compareVersions(*newest, *local) > 0 ? UpdateOutcome::Newer : UpdateOutcome::Current;
    return result;
}
