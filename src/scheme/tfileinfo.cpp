#include "scheme/tfileinfo.h"

#include <algorithm>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fileinfo {

namespace {
char foldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
} // namespace

QByteArray nameBytes(const TFileInfo &entry)
{
    return entry.rawName.isEmpty() ? entry.name.toUtf8() : entry.rawName;
}

int compareNames(QByteArrayView left, QByteArrayView right)
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

int compareNames(QStringView a, QStringView b)
{
    return compareNames(QByteArrayView(a.toUtf8()), QByteArrayView(b.toUtf8()));
}

void sortListing(QList<TFileInfo> &entries)
{
    struct Keyed {
        QByteArray key;
        TFileInfo entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(entries.size()));
    for (TFileInfo &entry : entries)
        keyed.push_back({nameBytes(entry), std::move(entry)});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        if (a.entry.isFolder != b.entry.isFolder)
            return a.entry.isFolder;
        return compareNames(QByteArrayView(a.key), QByteArrayView(b.key)) < 0;
    });
    for (qsizetype i = 0; i < entries.size(); ++i)
        entries[i] = std::move(keyed[size_t(i)].entry);
}

QList<TFileInfo> readFolder(const QByteArray &nativePath, bool withParent)
{
    QList<TFileInfo> entries;
    // Read through the raw directory entries: names are bytes, and a name that is not UTF-8
    // must still be listed and reachable.
    const int dirFd = ::open(nativePath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return entries;
    DIR *dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return entries;
    }
    while (const dirent *found = ::readdir(dir)) {
        const QByteArray raw(found->d_name);
        if (raw == "." || (raw == ".." && !withParent))
            continue;
        struct stat status {};
        if (::fstatat(dirFd, found->d_name, &status, 0) != 0 && ::fstatat(dirFd, found->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        TFileInfo entry;
        entry.rawName = raw;
        entry.name = QString::fromUtf8(raw);
        entry.isFolder = S_ISDIR(status.st_mode);
        entry.size = entry.isFolder ? 0 : qint64(status.st_size);
        entry.lastWrite = QDateTime::fromMSecsSinceEpoch(qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000,
                                                         Qt::UTC);
        entries.append(std::move(entry));
    }
    ::closedir(dir);
    return entries;
}

} // namespace fileinfo
