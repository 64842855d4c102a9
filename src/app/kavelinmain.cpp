#include "app/kavelinmain.h"

#include "app/browserruntime.h"
#include "app/kavelinapplication.h"
#include "ui/messages.h"
#include "ui/tabout_form.h"
#include "ui/tmain_form.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

#include <memory>

int kavelinMain(int argc, char *argv[], const std::function<void(TMain_Form &)> &shown)
{
    browserruntime::prepareProcess();
    KavelinApplication app(argc, argv);

    if (const QString missing = browserruntime::missingEngineReason(); !missing.isEmpty()) {
        showErrorBox(missing);
        return 1;
    }

    std::unique_ptr<QWebEngineProfile> profile(browserruntime::createProfile(QStringLiteral("cache")));
    int exitCode = 0;
    {
        // Windows, with their browsers and pages, are gone before the profile, which then
        // writes its cookies out.
        TMain_Form mainForm(profile.get());
        // Created hidden right after the main window; it reads the version file now.
        const std::unique_ptr<TAbout_Form> aboutForm(new TAbout_Form(QCoreApplication::applicationDirPath()));
        mainForm.setAboutWindow(aboutForm.get());
        mainForm.showMaximized();
        if (shown)
            shown(mainForm);
        exitCode = app.exec();
    }
    profile.reset();
    return exitCode;
}
