#include "sniper/bidoutcome.h"

QString positionName(int position)
{
    switch (position) {
    case 1:
        return QStringLiteral("1 (pole pro výši příhozu)");
    case 2:
        return QStringLiteral("2 (tlačítko Přihodit na stránce zboží)");
    case 3:
        return QStringLiteral("3 (tlačítko Přihodit na stránce potvrzení)");
    default:
        return QString::number(position);
    }
}

QString failureReason(const BidResult &r)
{
    switch (r.failure) {
    case BidFailure::None:
        return QString();
    case BidFailure::BadAmount:
        return QStringLiteral("Částka „%1“ není kladné číslo (nejvýše se dvěma desetinnými místy, například 150 "
                              "nebo 150,50).").arg(r.detail);
    case BidFailure::NotTaught:
        return QStringLiteral("Pozice %1 nebyla naučena.").arg(positionName(r.position));
    case BidFailure::WindowCovered:
        return QStringLiteral("Okno Kavelinu je na pozici %1 zakryté jiným oknem.").arg(positionName(r.position));
    case BidFailure::NoKeyboard:
        return QStringLiteral("Okno Kavelinu nezískalo klávesnici, klávesy by šly jinam.");
    case BidFailure::NotATextField:
        return QStringLiteral("Na pozici %1 není textové pole, leží tam %2.").arg(positionName(r.position), r.detail);
    case BidFailure::NotClickable:
        return QStringLiteral("Na pozici %1 není tlačítko, leží tam %2.").arg(positionName(r.position), r.detail);
    case BidFailure::PageSilent:
        return QStringLiteral("Stránka aukce neodpověděla na kontrolu pozic.");
    case BidFailure::KeysNotSeen:
        return QStringLiteral("Částka se nedostala do stránky aukce.");
    case BidFailure::AmountNotInField:
        return QStringLiteral("V poli pro výši příhozu je „%1“, ne zadaná částka.").arg(r.detail);
    case BidFailure::ConfirmationNotLoaded:
        return QStringLiteral("Stránka potvrzení příhozu se nenačetla.");
    case BidFailure::InputFailed:
        return QStringLiteral("Systém nepřijal vstup myši nebo klávesnice.");
    case BidFailure::Abandoned:
        return QStringLiteral("Okno Kavelinu bylo zavřeno.");
    }
    return QString();
}

QString failureMessage(const BidResult &result, bool itemBidSent)
{
    if (itemBidSent)
        return QStringLiteral("Příhoz byl odeslán na stránce zboží, ale nebyl potvrzen. ") + failureReason(result);
    return QStringLiteral("Příhoz nebyl odeslán. ") + failureReason(result);
}

QString outcomeStatus(const BidResult &result, bool itemBidSent)
{
    if (result.ok())
        return QStringLiteral("HOTOVO");
    return itemBidSent ? QStringLiteral("PŘIHOZENO, NEPOTVRZENO") : QStringLiteral("NEPŘIHOZENO");
}
