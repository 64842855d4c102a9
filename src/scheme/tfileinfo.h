#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>

// One entry of a folder listing.
struct TFileInfo {
    QString name;          // as shown: the name read as UTF-8, U+FFFD for bytes that are not
    qint64 size = 0;       // bytes; 0 for folders
    QDateTime lastWrite;   // last modification
    bool isFolder = false;
    QByteArray rawName{};  // the name's bytes as the folder holds them; empty: name's UTF-8
};

namespace fileinfo {

// The bytes an entry's link leads to: its raw name, or its shown name in UTF-8 without one.
QByteArray nameBytes(const TFileInfo &entry);

// Name order of the listing: byte by byte, with the ASCII letters compared without regard to
// case (every other byte by its value). Negative, zero or positive.
int compareNames(QByteArrayView a, QByteArrayView b);
int compareNames(QStringView a, QStringView b);

// Folders first, then everything else; each group in name order.
void sortListing(QList<TFileInfo> &entries);

// The entries of a folder (path in the file system's bytes), hidden ones included, "." left
// out and ".." kept unless withParent is false. Links are followed for the kind, size and
// time. A folder that cannot be read gives no entries at all.
QList<TFileInfo> readFolder(const QByteArray &nativePath, bool withParent);

} // namespace fileinfo
