#pragma once

#include <QString>

#include <functional>

class InputSink;

// What the bid needs from its surroundings besides the input: the clipboard, one round of the
// waiting events (which is what lets the browser see the keys), a short blocking sleep between
// those rounds, the pauses before and after the pointer goes to the bid button (during which
// the browser goes on working), and a wait until the click just sent has reached the program
// (may be empty: no wait).
struct BidSurroundings
{
    std::function<void(const QString &)> setClipboard;
    std::function<void()> processEvents;
    std::function<void(int ms)> sleep;
    std::function<void(int ms)> pause;
    std::function<void()> awaitClick;
};

// The wait for the browser's key echo gives up after this many passes of 2 ms.
constexpr int keyEchoPassLimit = 10000;

// Pastes amount into the field at position 1 (double click, Ctrl+V), waits until the browser
// has lowered keyEchoPending, then clicks the bid button at position 2. Positions are read from
// the settings file at settingsPath at that moment. Returns false, having sent nothing after
// the Ctrl+V, when the browser did not report the keys within the passes. InputError from the
// input goes to the caller.
bool placeBid(InputSink &input, const QString &settingsPath, const QString &amount, bool &keyEchoPending,
              const BidSurroundings &surroundings);

// Clicks the confirming bid button at position 3, with no pause.
void executeBid(InputSink &input, const QString &settingsPath);
