#include "scheme/tfilescheme.h"

#include "scheme/filebodydevice.h"
#include "scheme/listingpage.h"
#include "scheme/mimetype.h"
#include "scheme/urltopath.h"

#include <QBuffer>
#include <QFileInfo>

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
bool isFirstLevel(const QString &folderPath)
{
    return folderPath.count(QLatin1Char('/')) <= 2;
}
} // namespace

TFileScheme::TFileScheme(QLocale locale)
    : m_locale(std::move(locale))
{
}

void TFileScheme::ProcessRequest(const QByteArray &url)
{
    m_path = urltopath::urlToPath(url);
    const QFileInfo info(m_path);
    if (!m_path.isEmpty() && info.isFile() && !info.fileName().startsWith(QLatin1Char('.')))
        serveFile();
    else if (!m_path.isEmpty() && info.isDir())
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
    m_mimeType = mimetype::mimeTypeForFileName(QFileInfo(m_path).fileName());
    m_body = std::move(file);
}

void TFileScheme::serveFolder()
{
    m_status = 200;
    m_statusText = QByteArrayLiteral("OK");
    if (!m_path.endsWith(QLatin1Char('/')))
        m_path += QLatin1Char('/');
    const QList<TFileInfo> entries = fileinfo::readFolder(m_path, !isFirstLevel(m_path));
    m_body = pageBody(listingpage::buildListingPage(listingpage::loadListingTemplate(), m_path, entries, m_locale));
    m_mimeType = QByteArrayLiteral("text/html");
}

void TFileScheme::serveNotFound()
{
    m_status = 404;
    m_statusText = QByteArrayLiteral("Not found");
    m_body = pageBody(listingpage::notFoundPage(m_path));
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
