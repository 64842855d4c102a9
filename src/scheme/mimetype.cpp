#include "scheme/mimetype.h"

#include <QMimeDatabase>

namespace mimetype {

QByteArray mimeTypeForFileName(const QString &fileName)
{
    static const QByteArray fallback = QByteArrayLiteral("application/octet-stream");
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return fallback;
    const QString extension = fileName.sliced(dot);
    if (extension.compare(QLatin1String(".pdf"), Qt::CaseInsensitive) == 0)
        return QByteArrayLiteral("application/pdf");
    if (extension.size() == 1)
        return fallback;
    // Only the extension decides: the database is asked about a bare name carrying it, so that
    // whole-name patterns (such as "Makefile") and file contents play no part.
    const QMimeDatabase db;
    const QMimeType type = db.mimeTypeForFile(QLatin1Char('x') + extension, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return fallback;
    return type.name().toLatin1();
}

bool looksLikeText(QByteArrayView head)
{
    qsizetype i = 0;
    while (i < head.size()) {
        const auto c = static_cast<unsigned char>(head[i]);
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1B)
                return false;
            if (c == 0x7F)
                return false;
            ++i;
            continue;
        }
        int length = 0;
        char32_t value = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            value = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            value = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            value = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            if (i + k >= head.size())
                return true;  // cut off by the end of the sample
            const auto next = static_cast<unsigned char>(head[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (next & 0x3F);
        }
        const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace mimetype
