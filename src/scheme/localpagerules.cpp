#include "scheme/localpagerules.h"

namespace localpagerules {

namespace {
bool isLocal(QStringView scheme)
{
    return scheme == u"local" || scheme == u"file";
}
} // namespace

Verdict judge(RequestKind kind, QStringView pageScheme, QStringView initiatorScheme, QStringView targetScheme)
{
    if (kind == RequestKind::MainFrame)
        return Verdict::Allow;
    // A local page's own requests come from an opaque origin, which the engine reports as none;
    // the top page then tells where they come from.
    const bool fromLocalPage = isLocal(initiatorScheme) || (initiatorScheme.isEmpty() && pageScheme == u"local");
    if (isLocal(targetScheme)) {
        // Web pages never get this far (the engine keeps local content from them), so every
        // such request is a local page's, and is judged as one even while the top page
        // reported is another (a typed address the window shows before it has loaded).
        const bool embeds = kind == RequestKind::Frame || kind == RequestKind::Embedded;
        if (embeds && targetScheme == u"local" && pageScheme == u"local")
            return Verdict::AllowInPageFolder;
        return Verdict::Block;
    }
    return fromLocalPage ? Verdict::Block : Verdict::Allow;
}

QByteArray pageFolder(const QByteArray &pagePath)
{
    const qsizetype slash = pagePath.lastIndexOf('/');
    if (slash <= 0)
        return QByteArrayLiteral("/");
    return pagePath.left(slash);
}

bool isInFolderTree(const QByteArray &folder, const QByteArray &path)
{
    if (folder.isEmpty() || path.isEmpty() || !folder.startsWith('/'))
        return false;
    if (folder == "/")
        return path.startsWith('/');
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == '/');
}

} // namespace localpagerules
