#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs the built program as a user would, on the test's X server, and drives it from outside
// (through the X session's tools, see xsession.h).
class ProgramRunner
{
public:
    ProgramRunner(const QString &program, const QString &workingDirectory);
    ~ProgramRunner();

    QProcessEnvironment &environment() { return m_environment; }
    void start();
    // The X window id of the first visible window with exactly this title; empty on timeout.
    QString waitForWindow(const QString &title, int timeoutMs = 30000);
    // Counts visible windows with exactly this title.
    int windowCount(const QString &title);
    // Clicks into the address box of the main window, replaces its text and presses Enter.
    void typeAddress(const QString &window, const QString &text);
    // Asks the window to close, as its close button does.
    void closeWindow(const QString &window);
    // Waits for the program to end; -1 when it did not end in time or crashed.
    int waitForExit(int timeoutMs = 30000);
    QProcess &process() { return m_process; }

    // Copies the built program with the files it needs beside it (the update library and the
    // version file) into folder; returns the copy's path, empty when a copy failed.
    static QString copyProgram(const QString &program, const QString &folder);

private:
    QString m_program;
    QProcess m_process;
    QProcessEnvironment m_environment;
};
