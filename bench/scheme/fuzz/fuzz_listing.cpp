// libFuzzer target: the listing builder. Names cut from the input (at byte 0x01) go into a
// listing page; whatever they hold, the appended part must be ASCII, one call per line inside
// script elements, with no markup or line break of a name's own, and every name must read back as itself
// with its link the name's bytes percent-encoded.
#include "scheme/listingpage.h"
#include "scheme/urltopath.h"

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

    // The split into tables' helper block comes before the rows of a long listing: skip it.
    QByteArray rows = page;
    const qsizetype helpers = rows.indexOf("<style>");
    if (helpers >= 0)
        rows.remove(helpers, rows.indexOf("</script>\r\n", helpers) + 11 - helpers);
    const QList<QByteArray> lines = rows.split('\n');
    if (!lines.last().isEmpty())
        std::abort();
    QStringList names;
    bool inScript = false;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        for (const char c : line)
            if (uchar(c) >= 0x80 || (uchar(c) < 0x20 && c != '\r'))
                std::abort();
        if (line == "<script>\r" || line == "</script>\r") {
            if (inScript == (line == "<script>\r"))
                std::abort();
            inScript = !inScript;
            continue;
        }
        const bool isStart = i == 0;
        const QByteArray head = isStart ? "<script>start(" : line.startsWith("startNextPart(") ? "startNextPart(" : "addRow(";
        const QByteArray tail = isStart ? ");</script>\r" : ");\r";
        if (!line.startsWith(head) || !line.endsWith(tail) || (!isStart && !inScript))
            std::abort();
        // Only the start line and the script element's own tags hold markup characters.
        const QByteArray arguments = line.mid(head.size(), line.size() - head.size() - tail.size());
        if (arguments.contains('<') || arguments.contains('>'))
            std::abort();
        // The arguments are valid JSON once the \uXXXX escapes are read: parse them back.
        const QJsonArray values = QJsonDocument::fromJson('[' + arguments + ']').array();
        if (values.isEmpty())
            std::abort();
        if (isStart && values[0].toString() != folder)
            std::abort();
        if (head == "addRow(") {
            if (values.size() != 5
                || values[1].toString().toLatin1() != urltopath::percentEncodeName(values[0].toString().toUtf8()))
                std::abort();
            names << values[0].toString();
        }
    }
    if (inScript || names.size() != expected.size())
        std::abort();
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    if (names != expected)
        std::abort();
    return 0;
}
