#include "scheme/tfilescheme.h"

#include "scheme/filebodydevice.h"
#include "scheme/listingpage.h"
#include "scheme/mimetype.h"
#include "scheme/urltopath.h"

#include <QBuffer>

#include <sys/stat.h>

namespace {
std::unique_ptr<QIODevice> pageBody(const QByteArray &page)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(page);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

// The first level under the root (local://home/ is /home/) is what a drive's root is elsewhere:
// its listing has no parent row.
bool isFirstLevel(const QByteArray &folderPath)
{
    return folderPath.count('/') <= 2;
}

QByteArray fileName(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}
} // namespace

TFileScheme::TFileScheme(QLocale locale)
    : m_locale(std::move(locale))
{
}

void TFileScheme::ProcessRequest(const QByteArray &url)
{
    m_path = urltopath::urlToNativePath(url);
    struct stat status {};
    const bool exists = !m_path.isEmpty() && ::stat(m_path.constData(), &status) == 0;
    if (exists && S_ISREG(status.st_mode) && !fileName(m_path).startsWith('.'))
        serveFile();
    else if (exists && S_ISDIR(status.st_mode))
        serveFolder();
    else
        serveNotFound();
}

void TFileScheme::serveFile()
{
    std::unique_ptr<FileBodyDevice> file = FileBodyDevice::open(m_path);
    if (!file) {
        // Found but not readable (or no longer a regular file): nothing to serve.
        serveNotFound();
        return;
    }
    m_status = 200;
    m_statusText = QByteArrayLiteral("OK");
    m_mimeType = mimetype::mimeTypeForFileName(QString::fromUtf8(fileName(m_path)));
    if (m_mimeType == "application/octet-stream") {
        // Of unknown type: text (which the check found to be UTF-8) is shown as text; anything
        // else stays a download.
        QByteArray head(4096, Qt::Uninitialized);
        const qint64 got = file->read(head.data(), head.size());
        if (got >= 0 && mimetype::looksLikeText(QByteArrayView(head.constData(), got)))
            m_mimeType = QByteArrayLiteral("text/plain;charset=utf-8");
        file->seek(0);
    }
    m_body = std::move(file);
}

void TFileScheme::serveFolder()
{
    m_status = 200;
    m_statusText = QByteArrayLiteral("OK");
    if (!m_path.endsWith('/'))
        m_path += '/';
    const QList<TFileInfo> entries = fileinfo::readFolder(m_path, !isFirstLevel(m_path));
    m_body = pageBody(listingpage::buildListingPage(listingpage::loadListingTemplate(), path(), entries, m_locale));
    m_mimeType = QByteArrayLiteral("text/html");
}

void TFileScheme::serveNotFound()
{
    m_status = 404;
    m_statusText = QByteArrayLiteral("Not found");
    m_body = pageBody(listingpage::notFoundPage(path()));
    m_mimeType = QByteArrayLiteral("text/html");
}

TFileScheme::ResponseHeaders TFileScheme::GetResponseHeaders() const
{
    return {m_status, m_statusText, m_mimeType, m_body ? m_body->size() : 0};
}

std::unique_ptr<QIODevice> TFileScheme::takeBody()
{
    return std::move(m_body);
}
