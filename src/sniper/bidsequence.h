#pragma once

#include "sniper/bidoutcome.h"

#include <QString>

class BidEnvironment;
class InputSink;

// The wait for the browser's key echo gives up after this many passes of 2 ms.
constexpr int keyEchoPassLimit = 10000;

// The bid on the item page. Before any input: the amount must be a positive amount, positions
// 1 and 2 (and 3 when live) taught, position 1 a text field and position 2 clickable on the page
// as it stands, and the program's window the one that shows at each of them. Then the amount is
// pasted into the field at position 1 (double click, Ctrl+V), the browser's key echo awaited,
// the field read back, and only when it holds the amount is the bid button at position 2
// clicked. Any failed check ends the bid with its reason and nothing more is sent. InputError
// from the input goes to the caller.
BidResult placeBid(InputSink &input, BidEnvironment &env, const QString &amountText, bool live,
                   bool &keyEchoPending, int passLimit = keyEchoPassLimit);

// The confirmation: once the confirmation page has loaded (up to 5 s), position 3 must be
// clickable and not covered; then one click there.
BidResult executeBid(InputSink &input, BidEnvironment &env);

// How long the page may take to show the pasted amount in its field, after the key echo.
constexpr int pasteLandsMs = 400;

// How long the confirmation page may take after the pause that follows the bid.
constexpr int confirmationLoadMs = 5000;
