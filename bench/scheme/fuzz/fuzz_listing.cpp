// libFuzzer target: the listing builder. Names cut from the input (at byte 0x01) go into a
// listing page; whatever they hold, the appended part must be ASCII, one script element per
// line, with no markup or line break of a name's own, and every name must read back as itself.
#include "scheme/listingpage.h"

#include <QJsonDocument>
#include <QJsonArray>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> parts = bytes.split('\x01');
    QList<TFileInfo> entries;
    QStringList expected;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        TFileInfo entry{QString::fromUtf8(parts[i]), qint64(parts[i].size()) << (i % 50),
                        QDateTime::fromSecsSinceEpoch(qint64(i) * 86399), (parts[i].size() % 2) == 1};
        if (entry.name != QLatin1String("."))
            expected << entry.name;
        entries << entry;
    }
    const QString folder = QString::fromUtf8(parts.value(0));
    const QByteArray page = listingpage::buildListingPage(QByteArray(), folder, entries, QLocale(QLocale::Czech));

    const QList<QByteArray> lines = page.split('\n');
    if (!lines.last().isEmpty() || lines.size() != expected.size() + 2)
        std::abort();
    QStringList names;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        for (const char c : line)
            if (uchar(c) >= 0x80 || (uchar(c) < 0x20 && c != '\r'))
                std::abort();
        const QByteArray head = i == 0 ? "<script>start(" : "<script>addRow(";
        if (!line.startsWith(head) || !line.endsWith(");</script>\r") || line.count('<') != 2 || line.count('>') != 2)
            std::abort();
        // The arguments are valid JSON once the \uXXXX escapes are read: parse them back.
        const QByteArray arguments = line.mid(head.size(), line.size() - head.size() - 12);
        const QJsonArray values = QJsonDocument::fromJson('[' + arguments + ']').array();
        if (values.isEmpty())
            std::abort();
        if (i == 0 && values[0].toString() != folder)
            std::abort();
        if (i > 0) {
            if (values.size() != 5 || values[0] != values[1])
                std::abort();
            names << values[0].toString();
        }
    }
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    if (names != expected)
        std::abort();
    return 0;
}
