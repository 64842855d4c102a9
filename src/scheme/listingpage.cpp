#include "scheme/listingpage.h"

#include "scheme/listingtext.h"

#include <QFile>

namespace listingpage {

QByteArray loadListingTemplate()
{
    QFile resource(QStringLiteral(":/CEFFILESCHEMEDIR"));
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    return resource.readAll();
}

QByteArray buildListingPage(const QByteArray &pageTemplate, const QString &folderPath,
                            QList<TFileInfo> entries, const QLocale &locale)
{
    fileinfo::sortListing(entries);
    QByteArray page = pageTemplate;
    page.reserve(pageTemplate.size() + 64 + entries.size() * 120);
    page += "<script>start(\"";
    page += listingtext::escapeScriptString(folderPath);
    page += "\");</script>\r\n";
    for (const TFileInfo &entry : std::as_const(entries)) {
        if (entry.name == QLatin1String("."))
            continue;
        const QByteArray name = listingtext::escapeScriptString(entry.name);
        page += "<script>addRow(\"";
        page += name;
        page += "\",\"";
        page += name;
        page += entry.isFolder ? "\",1,\"" : "\",0,\"";
        page += listingtext::escapeScriptString(listingtext::sizeText(entry.size, locale));
        page += "\",\"";
        page += listingtext::escapeScriptString(listingtext::dateText(entry.lastWrite, locale));
        page += "\");</script>\r\n";
    }
    return page;
}

QByteArray notFoundPage(const QString &path)
{
    return QByteArrayLiteral("<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\"/>"
                             "</head><body><h1>")
        + path.toHtmlEscaped().toUtf8() + QByteArrayLiteral("</h1><h2>not found</h2></body></html>");
}

} // namespace listingpage
