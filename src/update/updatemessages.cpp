#include "updatemessages.h"

#include <QCoreApplication>

namespace {
QString hostOrServer(const UpdateCheckResult &result)
{
    return result.host.isEmpty() ? QStringLiteral("server") : QStringLiteral("server %1").arg(result.host);
}
} // namespace

QString failureReason(const UpdateCheckResult &result)
{
    switch (result.outcome) {
    case UpdateOutcome::LocalUnreadable:
        return QStringLiteral("nelze přečíst soubor s nainstalovanou verzí (%1)").arg(result.localPath);
    case UpdateOutcome::LocalInvalid:
        return QStringLiteral("soubor s nainstalovanou verzí (%1) neobsahuje číslo verze").arg(result.localPath);
    case UpdateOutcome::NoAddress:
        return QStringLiteral("chybí platná adresa souboru s verzí");
    case UpdateOutcome::Timeout:
        return QStringLiteral("%1 neodpověděl do %2 sekund")
            .arg(hostOrServer(result))
            .arg(qMax<qint64>(1, (result.limit.count() + 999) / 1000));
    case UpdateOutcome::HttpError:
        return QStringLiteral("%1 odpověděl chybou HTTP %2").arg(hostOrServer(result)).arg(result.httpStatus);
    case UpdateOutcome::InvalidAnswer:
        if (result.answerTooLarge)
            return QStringLiteral("odpověď serveru je delší než %1 KB, nejde o soubor s verzí").arg(maxAnswerBytes / 1024);
        return QStringLiteral("odpověď serveru neobsahuje číslo verze");
    case UpdateOutcome::NetworkError:
        switch (result.network) {
        case NetworkFailure::HostNotFound:
            return QStringLiteral("%1 nebyl nalezen; zkontrolujte připojení k internetu").arg(hostOrServer(result));
        case NetworkFailure::ConnectionRefused:
            return QStringLiteral("%1 odmítl spojení").arg(hostOrServer(result));
        case NetworkFailure::Secure:
            return QStringLiteral("zabezpečené spojení se serverem se nezdařilo");
        case NetworkFailure::Other:
            break;
        }
        return QStringLiteral("spojení se serverem se nezdařilo");
    case UpdateOutcome::Current:
    case UpdateOutcome::Newer:
    case UpdateOutcome::Cancelled:
        break;
    }
    return QString();
}

QString updateMessageText(const UpdateCheckResult &result, bool offerDownload)
{
    switch (result.outcome) {
    case UpdateOutcome::Current:
        return QStringLiteral("Používáte nejnovější verzi programu (%1).").arg(result.localVersion.trimmed());
    case UpdateOutcome::Newer: {
        QString text = QStringLiteral("Je k dispozici nová verze programu: %1 (nainstalovaná verze: %2).")
                           .arg(result.remoteVersion, result.localVersion.trimmed());
        if (offerDownload)
            text += QStringLiteral("\n\nChcete otevřít stránku ke stažení?");
        return text;
    }
    default:
        return QStringLiteral("Kontrola aktualizací se nezdařila: %1.").arg(failureReason(result));
    }
}
