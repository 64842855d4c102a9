#include "app/folderinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

QString instanceServerName(const QString &profileDir)
{
    const QFileInfo info(profileDir);
    const QString path = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("kavelin-") + QString::fromLatin1(hash.left(32));
}

QString alreadyRunningText(const QString &folder, bool raised)
{
    QString text = QStringLiteral("Kavelin už v této složce běží (%1).").arg(QDir::toNativeSeparators(folder));
    if (raised)
        text += QStringLiteral("\nJeho okno je teď v popředí.");
    return text;
}

FolderInstance::FolderInstance(const QString &profileDir, QObject *parent)
    : QObject(parent)
    , m_profileDir(profileDir)
    , m_lock(QDir(profileDir).filePath(QStringLiteral("kavelin.lock")))
{
    // Only the copy's own end makes the lock free: age alone never does.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            // The connection itself is the request.
            socket->disconnectFromServer();
            socket->deleteLater();
            emit raiseRequested();
        }
    });
}

FolderInstance::Claim FolderInstance::claim()
{
    if (!QDir().mkpath(m_profileDir))
        return Claim::NotPossible;
    if (!m_lock.tryLock(0))
        return m_lock.error() == QLockFile::LockFailedError ? Claim::HeldByAnother : Claim::NotPossible;
    const QString name = instanceServerName(m_profileDir);
    // A socket still there was left by a copy that crashed: the lock is ours now.
    QLocalServer::removeServer(name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    // Should listening fail, this copy runs all the same; a later one only cannot raise it.
    m_server.listen(name);
    return Claim::Ours;
}

bool FolderInstance::askOwnerToRaise(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(instanceServerName(m_profileDir));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}
