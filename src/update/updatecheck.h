#pragma once

#include <QString>
#include <QUrl>

#include <chrono>

// How one update check ended; the numbers are the library's ZV_ codes.
enum class UpdateOutcome {
    Current = 0,
    Newer = 1,
    LocalUnreadable = 2,
    LocalInvalid = 3,
    NoAddress = 4,
    NetworkError = 5,
    Timeout = 6,
    HttpError = 7,
    InvalidAnswer = 8,
};

enum class NetworkFailure { Other, HostNotFound, ConnectionRefused, Secure };

struct UpdateCheckResult {
    UpdateOutcome outcome = UpdateOutcome::NetworkError;
    QString localVersion;     // first line of the local file, when it was read
    QString remoteVersion;    // first line of the answer, when one came
    QString localPath;
    QString host;
    int httpStatus = 0;
    NetworkFailure network = NetworkFailure::Other;
    std::chrono::milliseconds limit{0};
};

// Fetches the remote version file and compares its first line with the local file's first
// line. Waits at most `limit` for the whole answer, processing events meanwhile except user
// input. Needs a QCoreApplication.
UpdateCheckResult checkForUpdate(const QUrl &remote, const QString &localPath,
                                 std::chrono::milliseconds limit);

// The first line of a text: everything before the first CR or LF, with a leading UTF-8 byte
// order mark dropped.
QString firstLineOf(const QByteArray &text);
