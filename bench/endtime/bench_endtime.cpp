// Reads the end time out of a 5 MB item page and compares the whole reading with the engine's
// own delivery of the page source, alternately in one run; also the processor time each costs.
#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "messageboxanswerer.h"
#include "sniper/endtime.h"
#include "testhttpserver.h"
#include "ui/tmain_form.h"
#include "webtest.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QWebEngineProfile>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

QByteArray bigItemPage()
{
    QByteArray page = "<html><head><title>Předmět</title></head><body>";
    const QByteArray row = "<div class=\"offer\"><span>Nabídka číslo</span><a href=\"/x\">odkaz</a></div>\n";
    while (page.size() < 5 * 1024 * 1024)
        page += row;
    page += "<p>Končí " + endTimeMarker.toString().toUtf8() + "21:45:30</span></p></body></html>";
    return page;
}

} // namespace

int main(int argc, char **argv)
{
    webtest::prepareEnvironment();
    localscheme::registerScheme();
    QApplication app(argc, argv);

    TestHttpServer server;
    if (!server.start())
        return 1;
    server.setRoute("/item", bigItemPage());

    QWebEngineProfile profile;
    TMain_Form form(&profile);
    form.show();
    QEventLoop loaded;
    QObject::connect(form.Chromium1->page(), &QWebEnginePage::loadFinished, &loaded, &QEventLoop::quit);
    form.Chromium1->NavigateTo(server.url(QStringLiteral("/item")).toString());
    loaded.exec();

    MessageBoxAnswerer boxes;
    const int runs = 15;
    QList<double> readMs, readCpu, sourceMs, sourceCpu;
    for (int run = 0; run < runs; ++run) {
        form.doKonce_DTP->setTime(QTime(1, 0));
        QElapsedTimer clock;
        double cpu = cpuMs();
        clock.start();
        form.Button4->click();
        readMs << clock.nsecsElapsed() / 1e6;
        readCpu << cpuMs() - cpu;
        if (form.doKonce_DTP->time() != QTime(21, 45, 30) || !boxes.seen.isEmpty()) {
            std::fprintf(stderr, "the reading failed\n");
            return 1;
        }

        QEventLoop arrived;
        qsizetype size = 0;
        cpu = cpuMs();
        clock.restart();
        form.Chromium1->RequestSource([&](const QString &source) {
            size = source.size();
            arrived.quit();
        });
        arrived.exec();
        sourceMs << clock.nsecsElapsed() / 1e6;
        sourceCpu << cpuMs() - cpu;
        if (run == 0)
            std::printf("page source: %.2f MB (%lld characters)\n", size * 2 / 1048576.0, qlonglong(size));
    }
    std::printf("median of %d                  wall (ms)   CPU of this process (ms)\n", runs);
    std::printf("načíst čas, click to picker  %9.1f   %9.1f\n", median(readMs), median(readCpu));
    std::printf("engine's source delivery     %9.1f   %9.1f\n", median(sourceMs), median(sourceCpu));
    std::printf("ratio                        %9.3f   %9.3f   (target for wall: under 1.3)\n",
                median(readMs) / median(sourceMs), median(readCpu) / median(sourceCpu));
    return 0;
}
