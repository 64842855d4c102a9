#include "zjistiverzi.h"

#include "updatecheck.h"
#include "updatemessages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>

#include <atomic>
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

// Boxes are modal to owner's window alone (to none when there is no owner), so that the
// program's other windows keep taking input while one is open.
void tell(const QString &message, QWidget *owner)
{
    QMessageBox box(QMessageBox::NoIcon, title(), message, QMessageBox::Ok, owner);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

bool askToDownload(const QString &message, QWidget *owner)
{
    QMessageBox box(QMessageBox::NoIcon, title(), message, QMessageBox::Yes | QMessageBox::No, owner);
    box.setWindowModality(Qt::WindowModal);
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

    // The window the user asked from; its boxes belong to it even when the user has moved on
    // to another window by the time the answer comes.
    const bool talk = notifyUser == 1 && canTalkToUser();
    const QPointer<QWidget> owner = talk ? QApplication::activeWindow() : nullptr;

    const UpdateCheckResult result = checkForUpdate(QUrl(text(remoteVersionUrl)), text(localVersionPath), answerLimit);
    if (newerAvailable)
        *newerAvailable = result.outcome == UpdateOutcome::Newer ? 1 : 0;

    if (talk && result.outcome != UpdateOutcome::Cancelled) {
        const QUrl downloadPage(text(downloadPageUrl));
        const bool offer = result.outcome == UpdateOutcome::Newer && downloadPage.isValid() && !downloadPage.isEmpty();
        const QString message = updateMessageText(result, offer);
        if (offer) {
            if (askToDownload(message, owner))
                QDesktopServices::openUrl(downloadPage);
        } else {
            tell(message, owner);
        }
    }
    return static_cast<int>(result.outcome);
}
} // namespace

extern "C" int ZjistiVerzi(const char *remoteVersionUrl, const char *localVersionPath, const char *downloadPageUrl,
                           const char * /*tempDir*/, int32_t notifyUser, unsigned char *newerAvailable)
{
    // The wait lets events through, so the caller may be entered again before this call ends.
    static std::atomic<bool> running = false;
    if (running.exchange(true)) {
        if (newerAvailable)
            *newerAvailable = 0;
        return ZV_BUSY;
    }
    int code = ZV_INTERNAL_ERROR;
    // Nothing may leave a C function as an exception.
    try {
        code = run(remoteVersionUrl, localVersionPath, downloadPageUrl, notifyUser, newerAvailable);
    } catch (...) {
    }
    running = false;
    return code;
}
