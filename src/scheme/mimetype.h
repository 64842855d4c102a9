#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace mimetype {

// The content type of a served file, from its extension (what follows the last "." of the
// name): the shared MIME database's type for it; "application/pdf" for ".pdf" in any case;
// "application/octet-stream" without an extension or for one the database does not know.
QByteArray mimeTypeForFileName(const QString &fileName);

// Whether the first bytes of a file read as plain text: UTF-8 (a sequence cut off at the end
// of the bytes allowed) without NUL or other control characters than tab, line and page
// breaks and escape. A file of unknown type that does is shown as text instead of being
// handed to the engine as a download nobody takes.
bool looksLikeText(QByteArrayView head);

} // namespace mimetype
