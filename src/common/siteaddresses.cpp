#include "common/siteaddresses.h"

#include <QtGlobal>

namespace {
QString fromEnvironment(const char *name, const char *fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}
}

QString auctionSiteAddress()
{
    return fromEnvironment("KAVELIN_AUCTION_SITE", "https://aukro.cz");
}

QString makerSiteAddress()
{
    return fromEnvironment("KAVELIN_MAKER_SITE", "https://kavelin.cz");
}
