// libFuzzer target: URL to path. Any bytes as a URL give an empty path or an absolute one
// without a NUL; any path, its names percent-encoded byte by byte into a local:// URL, comes
// back whole, whatever bytes it holds.
#include "scheme/urltopath.h"

#include <QList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QByteArray path = urltopath::urlToNativePath(bytes);
    if (!path.isEmpty() && (!path.startsWith('/') || path.contains('\0') || !bytes.contains("://")))
        std::abort();
    if (urltopath::urlToPath(bytes) != QString::fromUtf8(path))
        std::abort();

    // Round trip: "/host/rest" with no NUL, every name encoded as a listing encodes it.
    if (bytes.startsWith('/') && bytes.indexOf('/', 1) > 1 && !bytes.contains('\0')) {
        QByteArray url = "local:/";
        const QList<QByteArray> names = bytes.split('/');
        for (qsizetype i = 1; i < names.size(); ++i)
            url += '/' + urltopath::percentEncodeName(names[i]);
        if (urltopath::urlToNativePath(url) != bytes)
            std::abort();
    }
    return 0;
}
