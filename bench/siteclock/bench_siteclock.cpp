// Measures a site's clock ten times for each of a few known offsets and prints how far the
// measurement lands from the truth and how long one measurement takes.
#include "browser/siteclockmeter.h"
#include "testhttpserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
double at(QList<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[qMax<qsizetype>(0, qsizetype(std::ceil(share * double(values.size()))) - 1)];
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestHttpServer server;
    if (!server.start()) {
        std::fprintf(stderr, "cannot start the test server\n");
        return 1;
    }
    server.setRoute("/item", QByteArray("<html><body>item</body></html>"));
    SiteClockMeter meter;
    std::printf("%-12s %-28s %-28s\n", "true offset", "error: median / worst (ms)", "time: median / worst (ms)");
    bool ok = true;
    for (const qint64 offset : {qint64(-20000), qint64(3250), qint64(0), qint64(-1400)}) {
        server.setClockOffset(offset);
        QList<double> errors, times;
        for (int i = 0; i < 10; ++i) {
            QSignalSpy done(&meter, &SiteClockMeter::measured);
            QElapsedTimer took;
            took.start();
            meter.measure(server.url(QStringLiteral("/item")));
            if (!done.wait(10000)) {
                ok = false;
                continue;
            }
            times.append(double(took.elapsed()));
            const auto measured = done.first().first().value<std::optional<ClockOffset>>();
            if (measured)
                errors.append(std::abs(measured->offsetMs - double(offset)));
            else
                ok = false;
        }
        if (errors.isEmpty() || times.isEmpty())
            continue;
        std::printf("%+9.3f s  %8.1f / %-17.1f %8.0f / %-17.0f  error/target %.2f, time/target %.2f\n",
                    offset / 1000.0, at(errors, 0.5), at(errors, 1.0), at(times, 0.5), at(times, 1.0),
                    at(errors, 1.0) / 100.0, at(times, 1.0) / 3000.0);
    }
    std::printf("targets: error under 100 ms, one measurement under 3 s\n");
    return ok ? 0 : 2;
}
