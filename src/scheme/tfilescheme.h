#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QLocale>
#include <QString>

#include <memory>

// The answer to one request of the "local" scheme: a file's bytes, a folder's listing or the
// not-found page. One object per request; nothing survives it.
class TFileScheme
{
public:
    struct ResponseHeaders {
        int status = 0;            // as in HTTP: 200 or 404
        QByteArray statusText;     // "OK" or "Not found"
        QByteArray mimeType;
        qint64 length = 0;         // the body's total size in bytes
    };

    explicit TFileScheme(QLocale locale = QLocale::system());

    // Does all the work for the URL: maps it to a path, decides what it names and prepares the
    // body (an open file, or a page built in memory).
    void ProcessRequest(const QByteArray &url);

    ResponseHeaders GetResponseHeaders() const;
    // The path as shown (U+FFFD for bytes that are not UTF-8), and as the file system has it.
    QString path() const { return QString::fromUtf8(m_path); }
    QByteArray nativePath() const { return m_path; }

    // The body, positioned at its start; the caller owns it from here on.
    std::unique_ptr<QIODevice> takeBody();

private:
    void serveFile();
    void serveFolder();
    void serveNotFound();

    QLocale m_locale;
    QByteArray m_path;
    std::unique_ptr<QIODevice> m_body;
    int m_status = 0;
    QByteArray m_statusText;
    QByteArray m_mimeType;
};
