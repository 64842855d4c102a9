#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>

// One entry of a folder listing.
struct TFileInfo {
    QString name;          // as the folder holds it, without a path
    qint64 size = 0;       // bytes; 0 for folders
    QDateTime lastWrite;   // last modification
    bool isFolder = false;
};

namespace fileinfo {

// Name order of the listing: byte by byte over UTF-8, with the ASCII letters compared without
// regard to case (every other byte by its value). Negative, zero or positive.
int compareNames(QStringView a, QStringView b);

// Folders first, then everything else; each group in name order.
void sortListing(QList<TFileInfo> &entries);

// The entries of a folder, hidden ones included, "." left out and ".." kept unless
// withParent is false. A folder that cannot be read gives no entries at all.
QList<TFileInfo> readFolder(const QString &path, bool withParent);

} // namespace fileinfo
