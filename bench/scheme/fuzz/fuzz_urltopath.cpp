// libFuzzer target: URL to path. Any bytes as a URL give an empty path or an absolute one
// without a query or NUL; and any path, percent-encoded into a local:// URL, comes back whole.
#include "scheme/urltopath.h"

#include <QUrl>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString path = urltopath::urlToPath(bytes);
    if (!path.isEmpty() && (!path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('?'))
                            || path.contains(QChar(0)) || !bytes.contains("://")))
        std::abort();

    // Round trip: "/host/rest" with no "?" and no NUL, as valid UTF-8.
    const QString original = QString::fromUtf8(bytes);
    if (original.toUtf8() == bytes && original.startsWith(QLatin1Char('/')) && original.indexOf(QLatin1Char('/'), 1) > 1
        && !original.contains(QLatin1Char('?')) && !original.contains(QChar(0))) {
        const QByteArray url = "local:/" + QUrl::toPercentEncoding(original, "/");
        if (urltopath::urlToPath(url) != original)
            std::abort();
    }
    return 0;
}
