// Starts the program and a bare web view alternately, five times each, and prints the time
// until the window shows "about:blank" and the memory of each process tree at that moment.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

struct Sample {
    double ms = 0;
    double rssMb = 0;
    double pssMb = 0;
};

QList<qint64> processTree(qint64 root)
{
    QMap<qint64, qint64> parents;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        // The fields after the command name, which may itself hold blanks and parentheses.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            parents.insert(pid, fields.at(1).toLongLong());
    }
    QList<qint64> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i)
        for (auto it = parents.cbegin(); it != parents.cend(); ++it)
            if (it.value() == tree.at(i))
                tree.append(it.key());
    return tree;
}

double kilobytesField(const QString &path, const QByteArray &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').first().toDouble();
    return 0;
}

Sample measure(const QString &program)
{
    QTemporaryDir work;
    QProcess process;
    process.setWorkingDirectory(work.path());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    Sample sample;
    while (process.waitForReadyRead(60000)) {
        if (process.readAllStandardOutput().contains("ready")) {
            sample.ms = double(clock.nsecsElapsed()) / 1e6;
            break;
        }
    }
    for (qint64 pid : processTree(process.processId())) {
        sample.rssMb += kilobytesField(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS:") / 1024;
        sample.pssMb += kilobytesField(QStringLiteral("/proc/%1/smaps_rollup").arg(pid), "Pss:") / 1024;
    }
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    return sample;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 5;
    QList<double> ms[2], rss[2], pss[2];
    const QString programs[2] = {QStringLiteral(KAVELIN_PROGRAM), QStringLiteral(BARE_PROGRAM)};
    const char *names[2] = {"kavelin", "bare view"};
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 2; ++p) {
            const Sample s = measure(programs[p]);
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
