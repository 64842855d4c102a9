#include "scheme/listingtext.h"

#include "common/timeformat.h"

#include <array>

namespace listingtext {

QString sizeText(qint64 size, const QLocale &locale)
{
    if (size < 1024)
        return QString::number(size) + QStringLiteral(" B");

    static constexpr std::array<const char *, 5> units{"kB", "MB", "GB", "TB", "PB"};
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    int shift = 10;
    for (const char *name : units) {
        if (size < (qint64(1) << (shift + 10))) {
            const double value = double(size) / double(qint64(1) << shift);
            return plain.toString(value, 'f', 1) + QLatin1Char(' ') + QLatin1String(name);
        }
        shift += 10;
    }
    return QStringLiteral("big");
}

QString dateText(const QDateTime &lastWrite, const QLocale &locale)
{
    if (!lastWrite.isValid())
        return {};
    const QDateTime local = lastWrite.toLocalTime();
    const QString date = locale.toString(local.date(), QLocale::ShortFormat);
    const QTime time = local.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + QLatin1Char(' ')
        + locale.toString(time, longTimeFormat(locale));
}

QByteArray escapeScriptString(QStringView text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += '\\';
            out += char(u);
        } else if (u < 0x20 || u >= 0x7F || u == u'<' || u == u'>' || u == u'&') {
            out += "\\u";
            out += hex[(u >> 12) & 0xF];
            out += hex[(u >> 8) & 0xF];
            out += hex[(u >> 4) & 0xF];
            out += hex[u & 0xF];
        } else {
            out += char(u);
        }
    }
    return out;
}

} // namespace listingtext
