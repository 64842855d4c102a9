#pragma once

#include <QUrl>

namespace linkrule {

// Local content: pages of the "local" scheme and file://.
bool isLocalContent(const QUrl &url);

// Whether the context menu may open or save target (a link's or a picture's address) for the
// page at pageUrl: not local content for a page that is not itself local, as the engine keeps
// web pages from reaching local content and its menu must not do it for them.
bool mayOpenFromPage(const QUrl &pageUrl, const QUrl &target);

} // namespace linkrule
