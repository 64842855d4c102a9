#include "programrunner.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

ProgramRunner::ProgramRunner(const QString &program, const QString &workingDirectory)
    : m_program(program)
    , m_environment(QProcessEnvironment::systemEnvironment())
{
    m_process.setWorkingDirectory(workingDirectory);
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
}

ProgramRunner::~ProgramRunner()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void ProgramRunner::start()
{
    m_process.setProcessEnvironment(m_environment);
    m_process.start(m_program, {});
    m_process.waitForStarted(10000);
}

QString ProgramRunner::run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString ProgramRunner::waitForWindow(const QString &title, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const QString pattern = QLatin1Char('^') + title + QLatin1Char('$');
    while (!deadline.hasExpired()) {
        const QString found = run(QStringLiteral("xdotool"),
                                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                   QStringLiteral("--name"), pattern});
        if (!found.isEmpty())
            return found.split(QLatin1Char('\n')).first();
        if (m_process.state() == QProcess::NotRunning)
            return {};
        QThread::msleep(100);
    }
    return {};
}

int ProgramRunner::windowCount(const QString &title)
{
    const QString found = run(QStringLiteral("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')});
    return found.isEmpty() ? 0 : int(found.split(QLatin1Char('\n')).size());
}

void ProgramRunner::typeAddress(const QString &window, const QString &text)
{
    const QString xdotool = QStringLiteral("xdotool");
    run(xdotool, {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    // The address box spans the top of the window's left part.
    run(xdotool, {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                  QStringLiteral("100"), QStringLiteral("10")});
    run(xdotool, {QStringLiteral("click"), QStringLiteral("1")});
    run(xdotool, {QStringLiteral("key"), QStringLiteral("ctrl+a")});
    run(xdotool, {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("5"), text});
    run(xdotool, {QStringLiteral("key"), QStringLiteral("Return")});
}

void ProgramRunner::closeWindow(const QString &window)
{
    run(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), window});
}

int ProgramRunner::waitForExit(int timeoutMs)
{
    if (!m_process.waitForFinished(timeoutMs) || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

QString ProgramRunner::copyProgram(const QString &program, const QString &folder)
{
    const QFileInfo built(program);
    const QDir from = built.absoluteDir();
    const QDir to(folder);
    for (const QString &name : {built.fileName(), QStringLiteral("libzorvan.so"), QStringLiteral("kavelin.txt")}) {
        if (!QFile::copy(from.filePath(name), to.filePath(name)))
            return {};
    }
    return to.filePath(built.fileName());
}
