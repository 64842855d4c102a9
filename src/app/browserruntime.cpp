#include "app/browserruntime.h"

#include "app/localscheme.h"
#include "scheme/localpageguard.h"
#include "scheme/localschemefactory.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QWebEngineProfile>

namespace browserruntime {

namespace {
void appendEnvironment(const char *name, const QByteArray &value, char separator)
{
    QByteArray current = qgetenv(name);
    if (!current.isEmpty())
        current += separator;
    qputenv(name, current + value);
}

QString enginePath(const char *variable, const QString &fallback)
{
    const QString fromEnvironment = qEnvironmentVariable(variable);
    return fromEnvironment.isEmpty() ? fallback : fromEnvironment;
}
} // namespace

void prepareProcess()
{
    // Chromium writes no log lines of its own; its console and start-up report stay quiet too.
    appendEnvironment("QTWEBENGINE_CHROMIUM_FLAGS", "--log-level=3", ' ');
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext*=false\njs*=false"));
    // Synthesized input must reach our own window: under Wayland run through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    localscheme::registerScheme();
}

QString missingEngineReason()
{
    const QString helper = enginePath("QTWEBENGINE_PROCESS_PATH",
        QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + QStringLiteral("/QtWebEngineProcess"));
    const QFileInfo helperInfo(helper);
    if (!helperInfo.isFile() || !helperInfo.isExecutable())
        return QStringLiteral("Nelze spustit webový prohlížeč: chybí jeho pomocný program %1.").arg(helper);
    const QString resources = enginePath("QTWEBENGINE_RESOURCES_PATH",
        QLibraryInfo::path(QLibraryInfo::DataPath) + QStringLiteral("/resources"));
    if (!QFileInfo(resources + QStringLiteral("/qtwebengine_resources.pak")).isFile())
        return QStringLiteral("Nelze spustit webový prohlížeč: chybí jeho data ve složce %1.").arg(resources);
    return {};
}

QWebEngineProfile *createProfile(const QString &cacheDir, QObject *parent)
{
    const QString path = QDir(cacheDir).absolutePath();
    QDir().mkpath(path);
    auto *profile = new QWebEngineProfile(QStringLiteral("Kavelin"), parent);
    profile->setPersistentStoragePath(path);
    profile->setCachePath(path);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    profile->installUrlSchemeHandler(localscheme::name, new LocalSchemeFactory(profile));
    LocalPageGuard::install(profile);
    return profile;
}

} // namespace browserruntime
