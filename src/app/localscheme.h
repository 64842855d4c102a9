#pragma once

#include <QByteArray>

// The "local" URL scheme: local files and folders served to the browser.
namespace localscheme {

inline const QByteArray name = QByteArrayLiteral("local");

// Registers the scheme with the web engine: host syntax, local content (pages of other schemes
// cannot load it) that may load local content itself. Must run before the application object
// exists.
void registerScheme();

} // namespace localscheme
