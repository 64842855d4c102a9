#include "scheme/tfileinfo.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace fileinfo {

namespace {
char foldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

int compareUtf8(const QByteArray &left, const QByteArray &right)
{
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        const auto l = static_cast<unsigned char>(foldAscii(left[i]));
        const auto r = static_cast<unsigned char>(foldAscii(right[i]));
        if (l != r)
            return l < r ? -1 : 1;
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}
} // namespace

int compareNames(QStringView a, QStringView b)
{
    return compareUtf8(a.toUtf8(), b.toUtf8());
}

void sortListing(QList<TFileInfo> &entries)
{
    struct Keyed {
        QByteArray key;
        TFileInfo entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (TFileInfo &entry : entries)
        keyed.push_back({entry.name.toUtf8(), std::move(entry)});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        if (a.entry.isFolder != b.entry.isFolder)
            return a.entry.isFolder;
        return compareUtf8(a.key, b.key) < 0;
    });
    for (qsizetype i = 0; i < entries.size(); ++i)
        entries[i] = std::move(keyed[size_t(i)].entry);
}

QList<TFileInfo> readFolder(const QString &path, bool withParent)
{
    const QDir dir(path);
    const QFileInfoList found =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDot, QDir::Unsorted);
    QList<TFileInfo> entries;
    entries.reserve(found.size());
    for (const QFileInfo &info : found) {
        const QString name = info.fileName();
        if (name == QLatin1String("..") && !withParent)
            continue;
        TFileInfo entry;
        entry.name = name;
        entry.isFolder = info.isDir();
        entry.size = entry.isFolder ? 0 : info.size();
        entry.lastWrite = info.lastModified();
        entries.append(entry);
    }
    return entries;
}

} // namespace fileinfo
