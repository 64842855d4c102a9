#pragma once

#include "scheme/localschemefactory.h"

#include <QFile>
#include <QList>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestJob>

#include <memory>
#include <optional>

// Helpers shared by the tests that drive the "local" scheme through the real web engine.
namespace schemewebtest {

constexpr int pageTimeout = 30000;

// The local:// URL of an absolute path, with every byte outside the unreserved set escaped.
inline QUrl localUrl(const QString &path)
{
    return QUrl::fromEncoded("local:/" + QUrl::toPercentEncoding(path, "/"));
}

inline bool load(QWebEnginePage &page, const QUrl &url)
{
    QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
    page.load(url);
    return finished.wait(pageTimeout) && finished.last().first().toBool();
}

// Runs a script in the page's main world and waits for its value (invalid when none came).
inline QVariant runJs(QWebEnginePage &page, const QString &script, int timeout = pageTimeout)
{
    // The answer may come after a timeout, when this call has returned.
    auto answer = std::make_shared<std::optional<QVariant>>();
    page.runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
    if (!QTest::qWaitFor([&] { return answer->has_value(); }, timeout))
        return {};
    return **answer;
}

// Polls a script until it gives something other than null/undefined.
inline QVariant waitForJs(QWebEnginePage &page, const QString &script, int timeout = pageTimeout)
{
    QVariant value;
    const bool got = QTest::qWaitFor([&] {
        value = runJs(page, script);
        return value.isValid() && !value.isNull();
    }, timeout);
    return got ? value : QVariant();
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
