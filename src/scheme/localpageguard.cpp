#include "scheme/localpageguard.h"

#include "scheme/localpagerules.h"
#include "scheme/urltopath.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <cstdlib>

namespace {
using localpagerules::RequestKind;

RequestKind kindOf(QWebEngineUrlRequestInfo::ResourceType type)
{
    switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
        return RequestKind::MainFrame;
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
        return RequestKind::Frame;
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
    case QWebEngineUrlRequestInfo::ResourceTypeScript:
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
    case QWebEngineUrlRequestInfo::ResourceTypeSubResource:
    case QWebEngineUrlRequestInfo::ResourceTypeObject:
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
    case QWebEngineUrlRequestInfo::ResourceTypePluginResource:
        return RequestKind::Embedded;
    case QWebEngineUrlRequestInfo::ResourceTypeWebSocket:
        return RequestKind::Socket;
    default:  // requests, pings, reports, prefetches, workers and whatever comes later
        return RequestKind::Read;
    }
}

// The path with every link and "." or ".." resolved; empty when it does not exist.
QByteArray canonical(const QByteArray &nativePath)
{
    if (nativePath.isEmpty())
        return {};
    char *resolved = ::realpath(nativePath.constData(), nullptr);
    if (!resolved)
        return {};
    QByteArray out(resolved);
    std::free(resolved);
    return out;
}
} // namespace

LocalPageGuard::LocalPageGuard(QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent)
{
}

void LocalPageGuard::install(QWebEngineProfile *profile)
{
    QWebEngineSettings *settings = profile->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    profile->setUrlRequestInterceptor(new LocalPageGuard(profile));
}

void LocalPageGuard::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl page = info.firstPartyUrl();
    const QUrl target = info.requestUrl();
    const localpagerules::Verdict verdict = localpagerules::judge(
        kindOf(info.resourceType()), page.scheme(), info.initiator().scheme(), target.scheme());
    if (verdict == localpagerules::Verdict::Allow)
        return;
    if (verdict == localpagerules::Verdict::AllowInPageFolder) {
        // Decided on the paths the file system resolves, not on the URLs' text, so that an
        // escaped "../" or a link in the folder cannot lead out of it.
        const QByteArray folder = canonical(localpagerules::pageFolder(urltopath::urlToNativePath(page.toEncoded())));
        const QByteArray path = canonical(urltopath::urlToNativePath(target.toEncoded()));
        if (localpagerules::isInFolderTree(folder, path))
            return;
    }
    info.block(true);
}
