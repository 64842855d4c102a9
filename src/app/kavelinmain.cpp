#include "app/kavelinmain.h"

#include "app/appfolders.h"
#include "app/browserruntime.h"
#include "app/displaycheck.h"
#include "app/folderinstance.h"
#include "app/kavelinapplication.h"
#include "app/windowfont.h"
#include "sniper/inifile.h"
#include "sniper/positions.h"
#include "ui/messages.h"
#include "ui/tabout_form.h"
#include "ui/tmain_form.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

int kavelinMain(int argc, char *argv[], const std::function<void(TMain_Form &)> &shown,
                const QString &installedDataFromProgram)
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

    loadTahoma();
    const AppFolders folders = chooseFolders(currentFolderFacts(installedDataFromProgram));
    // Outlives the profile, so that the next copy starts only when this one has let go of it.
    FolderInstance instance(folders.profileFolder);
    if (instance.claim() == FolderInstance::Claim::HeldByAnother) {
        const QString place = QFileInfo(folders.profileFolder).absolutePath();
        const QString text = alreadyRunningText(place, instance.askOwnerToRaise());
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        showMessage(text);
        return 0;
    }
    if (const QString folder = prepareFolders(folders); !folder.isEmpty()) {
        showErrorBox(QStringLiteral("Nelze vytvořit složku %1").arg(QDir::toNativeSeparators(folder)));
        return 1;
    }
    ini::removeStrayTemporaries(settingsPath(folders.settingsFolder), processRunning);

    std::unique_ptr<QWebEngineProfile> profile(browserruntime::createProfile(folders.profileFolder));
    int exitCode = 0;
    {
        // Windows, with their browsers and pages, are gone before the profile, which then
        // writes its cookies out.
        TMain_FormHooks hooks;
        hooks.SettingsFolder = folders.settingsFolder;
        hooks.RecordsFolder = folders.bidRecordsFolder;
        TMain_Form mainForm(profile.get(), hooks);
        // Created hidden right after the main window; it reads the version file now.
        const std::unique_ptr<TAbout_Form> aboutForm(new TAbout_Form(folders.versionFile, installationText(folders)));
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
