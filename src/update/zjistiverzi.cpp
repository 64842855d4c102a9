#include "zjistiverzi.h"

#include "updatecheck.h"
#include "updatemessages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <exception>
#include <memory>

namespace {
constexpr std::chrono::milliseconds answerLimit{10000};

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

// Message boxes only where they can be shown: a widget application and its own thread.
bool canTalkToUser()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance())
           && QThread::currentThread() == QCoreApplication::instance()->thread();
}

QString title()
{
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Kavelin") : name;
}

void tell(const QString &message)
{
    QMessageBox box(QMessageBox::NoIcon, title(), message, QMessageBox::Ok);
    box.exec();
}

bool askToDownload(const QString &message)
{
    QMessageBox box(QMessageBox::NoIcon, title(), message, QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

int run(const char *remoteVersionUrl, const char *localVersionPath, const char *downloadPageUrl,
        int32_t notifyUser, unsigned char *newerAvailable)
{
    // A host without a Qt application of its own still gets a working network check.
    std::unique_ptr<QCoreApplication> ownApplication;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "zorvan";
        static char *argv[] = {name, nullptr};
        ownApplication = std::make_unique<QCoreApplication>(argc, argv);
    }

    const UpdateCheckResult result = checkForUpdate(QUrl(text(remoteVersionUrl)), text(localVersionPath), answerLimit);
    if (newerAvailable)
        *newerAvailable = result.outcome == UpdateOutcome::Newer ? 1 : 0;

    if (notifyUser == 1 && canTalkToUser()) {
        const QUrl downloadPage(text(downloadPageUrl));
        const bool offer = result.outcome == UpdateOutcome::Newer && downloadPage.isValid() && !downloadPage.isEmpty();
        const QString message = updateMessageText(result, offer);
        if (offer) {
            if (askToDownload(message))
                QDesktopServices::openUrl(downloadPage);
        } else {
            tell(message);
        }
    }
    return static_cast<int>(result.outcome);
}
} // namespace

extern "C" int ZjistiVerzi(const char *remoteVersionUrl, const char *localVersionPath, const char *downloadPageUrl,
                           const char * /*tempDir*/, int32_t notifyUser, unsigned char *newerAvailable)
{
    // Nothing may leave a C function as an exception.
    try {
        return run(remoteVersionUrl, localVersionPath, downloadPageUrl, notifyUser, newerAvailable);
    } catch (...) {
        return ZV_INTERNAL_ERROR;
    }
}
