// What the queue costs. First the built program's start-up with 100 queued bids against an empty
// queue, alternating runs: the time until the window shows "about:blank" and the memory of its
// process tree then. Then the firing tick of a queued bid against a countdown armed by hand, in
// the window itself with fake input. Run it under X:
//   tests/support/under-x.sh --wm build/bin/bench_queue [runs] [samples]
#include "app/localscheme.h"
#include "firinglateness.h"
#include "sniper/countdown.h"
#include "sniper/queuefile.h"
#include "startupmeasure.h"
#include "webtest.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

QList<QueuedBid> hundredBids()
{
    // Ends spread over the coming day, 850 s apart; half of them in live mode.
    const double now = toDays(QDateTime::currentDateTime());
    QList<QueuedBid> bids;
    for (int i = 0; i < 100; ++i) {
        QueuedBid bid;
        bid.url = QStringLiteral("https://aukro.cz/polozka-%1").arg(1000 + i);
        bid.title = QStringLiteral("Položka č. %1 – starožitná lampa").arg(i + 1);
        bid.end = now + (600.0 + 850.0 * i) / 86400;
        bid.seconds = 5 + i % 20;
        bid.amount = QString::number(100 + 17 * i);
        bid.live = i % 2 == 1;
        bids.append(bid);
    }
    return bids;
}

double percentile(QList<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const qsizetype rank = qMax<qsizetype>(1, qsizetype(std::ceil(share * double(values.size()))));
    return values.at(rank - 1);
}

int startup(int runs)
{
    QTemporaryDir dir;
    const QString full = QDir(dir.path()).filePath(QStringLiteral("full"));
    const QString empty = QDir(dir.path()).filePath(QStringLiteral("empty"));
    // The program's data folder is Kavelin under XDG_DATA_HOME, and the queue's file lies in it.
    QDir().mkpath(full + QStringLiteral("/Kavelin"));
    QDir().mkpath(empty + QStringLiteral("/Kavelin"));
    if (!writeQueueFile(full + QStringLiteral("/Kavelin/fronta.json"), hundredBids())) {
        std::fprintf(stderr, "cannot write the queue's file\n");
        return 1;
    }
    const char *names[2] = {"100 queued", "empty queue"};
    const QString homes[2] = {full, empty};
    const char *expected[2] = {"queue 100", "queue 0"};
    QList<double> ms[2], rss[2], pss[2];
    for (int run = 0; run < runs; ++run) {
        for (int k = 0; k < 2; ++k) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_DATA_HOME"), homes[k]);
            const StartupSample s = measureStartup(QStringLiteral(KAVELIN_PROGRAM), env);
            if (s.ms == 0 || !s.output.contains(QLatin1String(expected[k]))) {
                std::fprintf(stderr, "%s: the program did not report ready with \"%s\": %s\n", names[k], expected[k],
                             qPrintable(s.output));
                return 1;
            }
            ms[k] << s.ms;
            rss[k] << s.rssMb;
            pss[k] << s.pssMb;
            std::printf("run %d %-12s start %7.1f ms  RSS %7.1f MB  PSS %7.1f MB\n", run + 1, names[k], s.ms, s.rssMb,
                        s.pssMb);
        }
    }
    std::printf("\nstart-up, median of %d   start (ms)   RSS (MB)   PSS (MB)\n", runs);
    for (int k = 0; k < 2; ++k)
        std::printf("%-24s %10.1f %10.1f %10.1f\n", names[k], median(ms[k]), median(rss[k]), median(pss[k]));
    std::printf("100 queued / empty       %10.3f %10.3f %10.3f   (target: at most 1.05)\n\n",
                median(ms[0]) / median(ms[1]), median(rss[0]) / median(rss[1]), median(pss[0]) / median(pss[1]));
    std::fflush(stdout);
    return 0;
}

int lateness(int samples)
{
    FiringLateness window;
    if (!window.start()) {
        std::fprintf(stderr, "the window or its item page did not come up\n");
        return 1;
    }
    const char *names[2] = {"countdown armed by hand", "queued bid"};
    QList<double> late[2];
    int missing = 0;
    for (int i = 0; i < samples; ++i) {
        for (int k = 0; k < 2; ++k) {
            const std::optional<double> ms = k == 0 ? window.armedByHand() : window.armedByQueue();
            if (!ms) {
                ++missing;
                std::printf("sample %2d %-24s did not fire\n", i + 1, names[k]);
                continue;
            }
            late[k] << *ms;
            std::printf("sample %2d %-24s firing tick %6.2f ms after the moment\n", i + 1, names[k], *ms);
        }
    }
    if (late[0].isEmpty() || late[1].isEmpty())
        return 1;
    std::printf("\nfiring tick after the moment (ms), %d samples each, fake input, tick 100 ms\n", samples);
    std::printf("%-24s %8s %8s %8s\n", "", "median", "p95", "max");
    for (int k = 0; k < 2; ++k)
        std::printf("%-24s %8.2f %8.2f %8.2f\n", names[k], median(late[k]), percentile(late[k], 0.95),
                    percentile(late[k], 1.0));
    const double p95Apart = percentile(late[1], 0.95) - percentile(late[0], 0.95);
    std::printf("queued / by hand: median %.2f, p95 %.2f; p95 apart %.2f ms (target: within one tick, 100 ms)\n",
                median(late[1]) / std::max(median(late[0]), 0.01), percentile(late[1], 0.95) / std::max(percentile(late[0], 0.95), 0.01),
                p95Apart);
    return missing == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char **argv)
{
    webtest::prepareEnvironment();
    localscheme::registerScheme();
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const int samples = argc > 2 ? std::max(1, std::atoi(argv[2])) : 16;
    if (const int failed = startup(runs))
        return failed;
    return lateness(samples);
}
