// The yardstick: the smallest program that shows a maximised web view with "about:blank" on a
// persistent profile.
#include "readyreport.h"

#include <QApplication>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<QWebEngineProfile> profile(new QWebEngineProfile(QStringLiteral("Bare")));
    profile->setPersistentStoragePath(QStringLiteral("cache"));
    profile->setCachePath(QStringLiteral("cache"));
    int code = 0;
    {
        QWebEngineView view;
        auto *page = new QWebEnginePage(profile.get(), &view);
        view.setPage(page);
        reportWhenReady(&view, page);
        page->load(QUrl(QStringLiteral("about:blank")));
        view.showMaximized();
        code = app.exec();
    }
    return code;
}
