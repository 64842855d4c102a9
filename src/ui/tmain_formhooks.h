#pragma once

#include "sniper/bidenvironment.h"
#include "sniper/inputsink.h"

#include <QString>

#include <functional>
#include <memory>

// While armed, the page is read again this long before the moment (at once when armed later),
// again after this pause while it shows no end time, but never within the last stretch.
struct WatchTimings
{
    int checkLeadMs = 90000;
    int recheckMs = 15000;
    int quietMs = 60000;
    int pageLoadMs = 15000;
};

// What the main window takes from outside and a test puts in its place. Left empty, each is the
// real program's: the program's folder, the local clock, the X server's input, the page, window
// and X server behind the bid's checks and pauses, and the key-echo wait of the real program.
struct TMain_FormHooks
{
    // Where nastaveni.ini lives.
    QString SettingsFolder;
    // Where the records of bids go, a folder per arming; empty: the user's data folder.
    QString RecordsFolder;
    // When the item page is checked while armed.
    WatchTimings Watch;
    // The local clock as days since 30 December 1899.
    std::function<double()> Now;
    // Where the bid's input goes; opened afresh for each operation.
    std::function<std::unique_ptr<InputSink>()> OpenInput;
    // What the bid checks, and waits and pauses on.
    std::function<std::unique_ptr<BidEnvironment>()> OpenBidEnvironment;
    // The key-echo wait gives up after this many passes of 2 ms; 0 is the program's own limit.
    int KeyEchoPassLimit = 0;
};
