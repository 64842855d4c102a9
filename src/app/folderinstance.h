#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One copy of the program per folder: the copy that runs on the profile in a folder holds a
// lock file in it and listens on a local socket, through which a later copy started there asks
// it to bring its window to the front.
class FolderInstance : public QObject
{
    Q_OBJECT
public:
    enum class Claim {
        Ours,           // this copy runs on the profile
        HeldByAnother,  // a running copy holds it
        NotPossible,    // the lock cannot be made (a read-only folder): runs without it
    };

    // profileDir: the profile's folder, created when missing.
    explicit FolderInstance(const QString &profileDir, QObject *parent = nullptr);

    // Takes the lock, also one left behind by a copy that crashed, and starts listening.
    Claim claim();
    // Asks the copy that holds the lock to bring its window to the front; false when it could
    // not be reached.
    bool askOwnerToRaise(int timeoutMs = 3000);

signals:
    // A later copy started in the same folder asks for the window.
    void raiseRequested();

private:
    QString m_profileDir;
    QLockFile m_lock;
    QLocalServer m_server;
};

// The name of the local socket of the copy that runs on the profile in profileDir: the same for
// every spelling of the folder's path, short enough for a socket address.
QString instanceServerName(const QString &profileDir);

// What a second copy tells the user before it ends.
QString alreadyRunningText(const QString &folder, bool raised);
