#pragma once

#include <QByteArray>
#include <QString>

namespace mimetype {

// The content type of a served file, from its extension (what follows the last "." of the
// name): the shared MIME database's type for it; "application/pdf" for ".pdf" in any case;
// "application/octet-stream" without an extension or for one the database does not know.
QByteArray mimeTypeForFileName(const QString &fileName);

} // namespace mimetype
