#pragma once

#include <QByteArray>
#include <QStringView>

// What a page of the "local" scheme may request. Such a page is treated as a file opened in a
// browser: it shows what it embeds from its own folder and reads nothing else.
namespace localpagerules {

// What a request is for, as far as these rules care.
enum class RequestKind {
    MainFrame,  // a navigation of a top-level page
    Frame,      // a navigation of a frame inside a page
    Embedded,   // an image, style sheet, script, font, media file or other embedded resource
    Read,       // XMLHttpRequest / fetch, pings, reports, prefetches and workers
    Socket,     // a WebSocket
};

enum class Verdict {
    Allow,
    Block,
    AllowInPageFolder,  // only when the target lies in the page's folder or below it
};

// The verdict on one request, from the schemes of the top page (the first party), of the
// origin that made the request (empty when the engine reports none, or an opaque one, as a
// local page's own origin is) and of the target:
// - top-level navigations are always let through: the user follows links and types addresses;
// - a frame or an embedded resource of the local scheme is let through only from a local page,
//   and only from the page's folder or below it. The folder tree stands for what a site's own
//   files are on the web: a saved page keeps its pictures, styles and scripts beside it or in
//   a folder next to it, and nothing of it lies elsewhere on the disk;
// - nothing else of the local scheme or of file:// is let through: no read into script, and
//   no frame or resource from another folder (whose loading alone would tell a page which
//   files exist and how big a picture is);
// - a local page reaches no other scheme except by a top-level navigation: no resource, no
//   frame, no request and no socket goes out to the network.
Verdict judge(RequestKind kind, QStringView pageScheme, QStringView initiatorScheme, QStringView targetScheme);

// The folder a page's resources may come from: the page's own folder, or a listing's folder.
// From the path the page's URL names (which ends in "/" for a listing reached that way).
QByteArray pageFolder(const QByteArray &pagePath);

// Whether path is folder or lies below it. Both must be canonical (absolute, no "." or ".."
// parts, no links, no doubled "/"), so that a link or an escaped ".." cannot lead out.
bool isInFolderTree(const QByteArray &folder, const QByteArray &path);

} // namespace localpagerules
