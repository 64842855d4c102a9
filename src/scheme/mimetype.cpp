#include "scheme/mimetype.h"

#include <QMimeDatabase>
#include <QStringDecoder>

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
    for (const char c : head) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && u != 0x1B) || u == 0x7F)
            return false;
    }
    // A stateful decoder keeps a sequence cut off at the end pending instead of failing on it.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(head);  // decoding happens on the conversion
    Q_UNUSED(decoded);
    return !utf8.hasError();
}

} // namespace mimetype
