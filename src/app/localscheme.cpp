#include "localscheme.h"

#include <QWebEngineUrlScheme>

namespace localscheme {

void registerScheme()
{
    QWebEngineUrlScheme scheme(name);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Local pages may load local content at all (their own pictures, styles and scripts): with
    // the engine's file access switched off for them, each gets an origin of its own, and the
    // profile's LocalPageGuard decides which of their requests go through.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

} // namespace localscheme
