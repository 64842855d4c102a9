#include "app/kavelinmain.h"

#include "app/browserruntime.h"
#include "app/displaycheck.h"
#include "app/folderinstance.h"
#include "app/kavelinapplication.h"
#include "sniper/inifile.h"
#include "sniper/positions.h"
#include "ui/messages.h"
#include "ui/tabout_form.h"
#include "ui/tmain_form.h"

#include <QCoreApplication>
#include <QDir>
#include <QWebEngineProfile>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <signal.h>

namespace {
bool processRunning(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

void bringToFront(QWidget &window)
{
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}
} // namespace

int kavelinMain(int argc, char *argv[], const std::function<void(TMain_Form &)> &shown)
{
    browserruntime::prepareProcess();
    // No window can say it: the reason goes to the terminal.
    if (const QString problem = windowSystemProblem(); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", problem.toUtf8().constData());
        return 1;
    }
    KavelinApplication app(argc, argv);

    if (const QString missing = browserruntime::missingEngineReason(); !missing.isEmpty()) {
        showErrorBox(missing);
        return 1;
    }

    const QString profileDir = QStringLiteral("cache");
    // Outlives the profile, so that the next copy starts only when this one has let go of it.
    FolderInstance instance(profileDir);
    if (instance.claim() == FolderInstance::Claim::HeldByAnother) {
        const QString text = alreadyRunningText(QDir::currentPath(), instance.askOwnerToRaise());
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        showMessage(text);
        return 0;
    }
    ini::removeStrayTemporaries(settingsPath(QCoreApplication::applicationDirPath()), processRunning);

    std::unique_ptr<QWebEngineProfile> profile(browserruntime::createProfile(profileDir));
    int exitCode = 0;
    {
        // Windows, with their browsers and pages, are gone before the profile, which then
        // writes its cookies out.
        TMain_Form mainForm(profile.get());
        // Created hidden right after the main window; it reads the version file now.
        const std::unique_ptr<TAbout_Form> aboutForm(new TAbout_Form(QCoreApplication::applicationDirPath()));
        mainForm.setAboutWindow(aboutForm.get());
        QObject::connect(&instance, &FolderInstance::raiseRequested, &mainForm, [&mainForm] { bringToFront(mainForm); });
        mainForm.showMaximized();
        if (shown)
            shown(mainForm);
        exitCode = app.exec();
    }
    profile.reset();
    return exitCode;
}
