#include "programrunner.h"

#include "xsession.h"

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

QString ProgramRunner::waitForWindow(const QString &title, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QStringList found = xsession::windows(title);
        if (!found.isEmpty())
            return found.first();
        if (m_process.state() == QProcess::NotRunning)
            return {};
        QThread::msleep(100);
    }
    return {};
}

int ProgramRunner::windowCount(const QString &title)
{
    return int(xsession::windows(title).size());
}

void ProgramRunner::typeAddress(const QString &window, const QString &text)
{
    xsession::activate(window);
    // The address box spans the top of the window's left part.
    xsession::click(xsession::geometry(window).topLeft() + QPoint(100, 10));
    xsession::keys({QStringLiteral("ctrl+a")});
    xsession::type(text);
    xsession::keys({QStringLiteral("Return")});
}

void ProgramRunner::closeWindow(const QString &window)
{
    QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), window});
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
