// Starts the program and a bare web view alternately, five times each, and prints the time
// until the window shows "about:blank" and the memory of each process tree at that moment.
#include "startupmeasure.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 5;
    QList<double> ms[2], rss[2], pss[2];
    const QString programs[2] = {QStringLiteral(KAVELIN_PROGRAM), QStringLiteral(BARE_PROGRAM)};
    const char *names[2] = {"kavelin", "bare view"};
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 2; ++p) {
            const StartupSample s = measureStartup(programs[p]);
            if (s.ms == 0) {
                std::fprintf(stderr, "%s did not report ready\n", names[p]);
                return 1;
            }
            ms[p] << s.ms;
            rss[p] << s.rssMb;
            pss[p] << s.pssMb;
            std::printf("run %d %-9s  start %7.1f ms  RSS %7.1f MB  PSS %7.1f MB\n", run + 1, names[p], s.ms, s.rssMb, s.pssMb);
        }
    }
    std::printf("\nmedian of %d      start (ms)   RSS (MB)   PSS (MB)\n", runs);
    for (int p = 0; p < 2; ++p)
        std::printf("%-14s %10.1f %10.1f %10.1f\n", names[p], median(ms[p]), median(rss[p]), median(pss[p]));
    std::printf("kavelin / bare %10.3f %10.3f %10.3f   (target: at most 1.10)\n",
                median(ms[0]) / median(ms[1]), median(rss[0]) / median(rss[1]), median(pss[0]) / median(pss[1]));
    return 0;
}
