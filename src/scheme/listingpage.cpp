#include "scheme/listingpage.h"

#include "scheme/listingtext.h"
#include "scheme/urltopath.h"

#include <QFile>

namespace listingpage {

namespace {
// Shown by one table, a folder of many thousand entries keeps the page busy for many seconds
// and over a gigabyte laying out and styling rows nobody sees. Past the first script element
// the rows go to tables of their own, one per element, which the page skips while they are
// out of sight. So that the columns of all tables line up, each table holds two rows that take
// up no room but widen the columns like the visible ones: the heading and the listing's
// longest texts.
const char partsScript[] = R"(<style>
  table.part { display: block; content-visibility: auto; contain-intrinsic-size: auto %1px; }
</style>
<script>
function addSizerRows(table, name, size, date) {
  var heading = document.querySelector("tr.header").cloneNode(true);
  heading.style.visibility = "collapse";
  table.appendChild(heading);
  var row = document.createElement("tr");
  row.style.visibility = "collapse";
  var cell = document.createElement("td");
  var link = document.createElement("a");
  link.className = "icon file";
  link.textContent = name;
  cell.appendChild(link);
  row.appendChild(cell);
  row.appendChild(createCell(size));
  row.appendChild(createCell(date));
  table.appendChild(row);
}

function startNextPart(name, size, date) {
  var table = document.getElementById("table");
  if (table.className != "part") {
    table.className = "part";
    addSizerRows(table, name, size, date);
  }
  var next = table.cloneNode(false);
  table.removeAttribute("id");
  table.parentNode.insertBefore(next, table.nextSibling);
  addSizerRows(next, name, size, date);
}
</script>
)";

QByteArray longest(const QList<QByteArray> &texts)
{
    QByteArray best;
    for (const QByteArray &text : texts)
        if (text.size() > best.size())
            best = text;
    return best;
}
} // namespace

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
    page.reserve(pageTemplate.size() + 64 + entries.size() * 140);
    page += "<script>start(\"";
    page += listingtext::escapeScriptString(folderPath);
    page += "\");</script>\r\n";
    QList<QByteArray> names;
    QList<QByteArray> sizes;
    QList<QByteArray> dates;
    names.reserve(entries.size());
    sizes.reserve(entries.size());
    dates.reserve(entries.size());
    for (const TFileInfo &entry : std::as_const(entries)) {
        if (entry.name == QLatin1String("."))
            continue;
        names << listingtext::escapeScriptString(entry.name);
        sizes << listingtext::escapeScriptString(listingtext::sizeText(entry.size, locale));
        dates << listingtext::escapeScriptString(listingtext::dateText(entry.lastWrite, locale));
    }
    QByteArray nextPart;
    if (names.size() > rowsPerScript) {
        // The longest texts by length stand for the widest; a folder's name is shown with "/".
        QList<QByteArray> shownNames;
        for (qsizetype i = 0, row = 0; i < entries.size(); ++i) {
            if (entries[i].name == QLatin1String("."))
                continue;
            shownNames << (entries[i].isFolder ? names[row] + '/' : names[row]);
            ++row;
        }
        page += QString::fromLatin1(partsScript).arg(rowsPerScript * 20).toLatin1().replace("\n", "\r\n");
        nextPart = "startNextPart(\"" + longest(shownNames) + "\",\"" + longest(sizes) + "\",\"" + longest(dates) + "\");\r\n";
    }

    qsizetype row = 0;
    for (const TFileInfo &entry : std::as_const(entries)) {
        if (entry.name == QLatin1String("."))
            continue;
        if (row % rowsPerScript == 0) {
            page += "<script>\r\n";
            if (row > 0)
                page += nextPart;
        }
        page += "addRow(\"";
        page += names[row];
        page += "\",\"";
        page += urltopath::percentEncodeName(fileinfo::nameBytes(entry));
        page += entry.isFolder ? "\",1,\"" : "\",0,\"";
        page += sizes[row];
        page += "\",\"";
        page += dates[row];
        page += "\");\r\n";
        ++row;
        if (row % rowsPerScript == 0 || row == names.size())
            page += "</script>\r\n";
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
