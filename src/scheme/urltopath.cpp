#include "scheme/urltopath.h"

#include <QStringDecoder>

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

QString urlToPath(QByteArrayView url)
{
    const qsizetype colon = url.indexOf(':');
    if (colon < 0)
        return {};
    const QByteArrayView afterScheme = url.sliced(colon + 1);
    if (!afterScheme.startsWith("//"))
        return {};
    const QByteArrayView hostAndRest = afterScheme.sliced(2);
    const qsizetype slash = hostAndRest.indexOf('/');
    if (slash <= 0)  // no "/" after the host, or no host at all
        return {};

    const std::optional<QByteArray> bytes = percentDecode(hostAndRest);
    if (!bytes || bytes->contains('\0'))
        return {};

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString path = QLatin1Char('/') + utf8.decode(*bytes);
    if (utf8.hasError())
        return {};

    const qsizetype query = path.indexOf(QLatin1Char('?'));
    if (query >= 0)
        path.truncate(query);
    return path;
}

} // namespace urltopath
