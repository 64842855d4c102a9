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
    Cancelled = 10,     // the wait was ended from outside, as when the application quits
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
    bool answerTooLarge = false;  // the answer went over the limit and was cut off
    qint64 peakBytesHeld = 0;     // most bytes of the answer held in memory at one time
};

// The most of an answer that is read; a longer one is no version file.
inline constexpr qint64 maxAnswerBytes = 64 * 1024;

// Fetches the remote version file and compares its first line with the local file's first
// line. Waits at most `limit` for the whole answer in a local event loop that processes every
// event, user input included, so the caller's windows stay usable; the caller keeps itself from
// being entered again meanwhile. Reads at most maxAnswerBytes of the answer, whatever its
// framing. Needs a QCoreApplication.
UpdateCheckResult checkForUpdate(const QUrl &remote, const QString &localPath,
                                 std::chrono::milliseconds limit);

// The first line of a text: everything before the first CR or LF, with a leading UTF-8 byte
// order mark dropped.
QString firstLineOf(const QByteArray &text);
