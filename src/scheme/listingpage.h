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

// Rows sent in one script element. A script element per row costs the page a compiled script
// and a parser pause each, which for a folder of 100,000 entries took minutes and gigabytes;
// a few large elements cost little more than the rows' own elements.
constexpr int rowsPerScript = 2000;

// The template followed by one start() line for the folder's path and the addRow() calls,
// one line per entry, rowsPerScript of them to a script element: folders first, then files,
// each group in name order; "." is never listed. A row's name is the shown text and its URL
// the percent-encoded bytes of the name, so that the link leads back to that very entry.
QByteArray buildListingPage(const QByteArray &pageTemplate, const QString &folderPath,
                            QList<TFileInfo> entries, const QLocale &locale);

// The page for a path that names neither a file nor a folder, in UTF-8; the path is shown as
// text, never as markup.
QByteArray notFoundPage(const QString &path);

} // namespace listingpage
