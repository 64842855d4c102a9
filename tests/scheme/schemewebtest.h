#pragma once

#include "scheme/localschemefactory.h"
#include "webwait.h"

#include <QFile>
#include <QList>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestJob>

#include <memory>

// Helpers shared by the tests that drive the "local" scheme through the real web engine.
namespace schemewebtest {

using webtest::pageTimeout;
using webtest::runJs;
using webtest::waitForJs;

// The local:// URL of an absolute path, with every byte outside the unreserved set escaped.
inline QUrl localUrl(const QString &path)
{
    return QUrl::fromEncoded("local:/" + QUrl::toPercentEncoding(path, "/"));
}

inline bool load(QWebEnginePage &page, const QUrl &url)
{
    return webtest::loadAndWait(page, url);
}

// The real handler, counting the requests that reach it.
class CountingSchemeFactory : public LocalSchemeFactory
{
public:
    using LocalSchemeFactory::LocalSchemeFactory;
    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        requested.append(job->requestUrl());
        LocalSchemeFactory::requestStarted(job);
    }
    QList<QUrl> requested;
};

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace schemewebtest
