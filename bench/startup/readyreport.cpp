#include "readyreport.h"

#include <QWebEnginePage>
#include <QWidget>

#include <cstdio>

void reportWhenReady(QWidget *window, QWebEnginePage *page)
{
    auto check = [window, page] {
        if (window->isVisible() && !page->isLoading() && page->url().toString() == QLatin1String("about:blank")) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    };
    QObject::connect(page, &QWebEnginePage::loadFinished, window, check, Qt::SingleShotConnection);
}
