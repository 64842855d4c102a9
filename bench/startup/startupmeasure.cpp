#include "startupmeasure.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace {

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

} // namespace

StartupSample measureStartup(const QString &program, const QProcessEnvironment &env)
{
    QTemporaryDir work;
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.setWorkingDirectory(work.path());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    StartupSample sample;
    while (process.waitForReadyRead(60000)) {
        sample.output += QString::fromUtf8(process.readAllStandardOutput());
        if (sample.output.contains(QLatin1String("ready"))) {
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
