#pragma once

#include "scheme/tfileinfo.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

// The two pages the "local" scheme builds in memory: a folder's listing and "not found".
namespace listingpage {

// The listing template from the program's resources (resource CEFFILESCHEMEDIR).
QByteArray loadListingTemplate();

// The template followed by one start() line for the folder's path and one addRow() line per
// entry: folders first, then files, each group in name order; "." is never listed.
QByteArray buildListingPage(const QByteArray &pageTemplate, const QString &folderPath,
                            QList<TFileInfo> entries, const QLocale &locale);

// The page for a path that names neither a file nor a folder, in UTF-8; the path is shown as
// text, never as markup.
QByteArray notFoundPage(const QString &path);

} // namespace listingpage
