#pragma once

#include <QString>

// The two web sites the program knows. Tests point them elsewhere through the environment
// (KAVELIN_AUCTION_SITE, KAVELIN_MAKER_SITE).
QString auctionSiteAddress();
QString makerSiteAddress();
