#pragma once

#include <QString>

// Why a bid stopped; None when every step ran and every check held.
enum class BidFailure {
    None,
    BadAmount,             // detail: the amount box's text
    NotTaught,             // position
    WindowCovered,         // position
    NoKeyboard,            // the keys would not go to the program's window
    NotATextField,         // position 1; detail: what lies there
    NotClickable,          // position 2 or 3; detail: what lies there
    PageSilent,            // the page did not answer a check
    KeysNotSeen,           // the browser never reported the pasted keys
    AmountNotInField,      // detail: what the field holds
    ConfirmationNotLoaded,
    InputFailed,           // the window system refused the input
    Abandoned,             // the window was closed during the bid
};

struct BidResult
{
    BidFailure failure = BidFailure::None;
    int position = 0;
    QString detail;
    bool ok() const { return failure == BidFailure::None; }
};

// The reason in Czech words of the program's own, one sentence.
QString failureReason(const BidResult &result);

// What the user is told after a failure: itemBidSent says that the bid button of the item page
// was clicked, and only the confirmation failed.
QString failureMessage(const BidResult &result, bool itemBidSent);

// The status label's short text for an outcome.
QString outcomeStatus(const BidResult &result, bool itemBidSent);

// The position's name as the window calls it: "1 (pole pro výši příhozu)", ...
QString positionName(int position);
