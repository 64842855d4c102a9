#include "scheme/urltopath.h"

namespace urltopath {

namespace {
int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isUnreserved(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~';
}
} // namespace

std::optional<QByteArray> percentDecode(QByteArrayView encoded)
{
    QByteArray decoded;
    decoded.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c != '%') {
            decoded += c;
        } else if (i + 1 < encoded.size() && encoded[i + 1] == '%') {
            decoded += '%';
            ++i;
        } else {
            if (i + 2 >= encoded.size())
                return std::nullopt;
            const int high = hexValue(encoded[i + 1]);
            const int low = hexValue(encoded[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            decoded += char(high * 16 + low);
            i += 2;
        }
    }
    return decoded;
}

QByteArray urlToNativePath(QByteArrayView url)
{
    const qsizetype colon = url.indexOf(':');
    if (colon < 0)
        return {};
    const QByteArrayView afterScheme = url.sliced(colon + 1);
    if (!afterScheme.startsWith("//"))
        return {};
    QByteArrayView hostAndRest = afterScheme.sliced(2);
    const qsizetype slash = hostAndRest.indexOf('/');
    if (slash <= 0)  // no "/" after the host, or no host at all
        return {};
    // The query and a fragment are not part of the path; an escaped "?" or "#" is.
    const qsizetype query = hostAndRest.indexOf('?');
    if (query >= 0)
        hostAndRest.truncate(query);
    const qsizetype fragment = hostAndRest.indexOf('#');
    if (fragment >= 0)
        hostAndRest.truncate(fragment);
    if (hostAndRest.size() <= slash)  // the host had no "/" before the query
        return {};

    const std::optional<QByteArray> bytes = percentDecode(hostAndRest);
    if (!bytes || bytes->contains('\0'))
        return {};
    return '/' + *bytes;
}

QString urlToPath(QByteArrayView url)
{
    return QString::fromUtf8(urlToNativePath(url));
}

QByteArray percentEncodeName(QByteArrayView raw)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(raw.size() * 3);
    for (const char c : raw) {
        if (isUnreserved(c)) {
            out += c;
        } else {
            const auto u = static_cast<unsigned char>(c);
            out += '%';
            out += hex[u >> 4];
            out += hex[u & 0xF];
        }
    }
    return out;
}

} // namespace urltopath
