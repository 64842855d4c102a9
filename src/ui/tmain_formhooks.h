#pragma once

#include "sniper/bidenvironment.h"
#include "sniper/inputsink.h"

#include <QString>

#include <functional>
#include <memory>

// What the main window takes from outside and a test puts in its place. Left empty, each is the
// real program's: the program's folder, the local clock, the X server's input, the page, window
// and X server behind the bid's checks and pauses, and the key-echo wait of the real program.
struct TMain_FormHooks
{
    // Where nastaveni.ini lives.
    QString SettingsFolder;
    // The local clock as days since 30 December 1899.
    std::function<double()> Now;
    // Where the bid's input goes; opened afresh for each operation.
    std::function<std::unique_ptr<InputSink>()> OpenInput;
    // What the bid checks, and waits and pauses on.
    std::function<std::unique_ptr<BidEnvironment>()> OpenBidEnvironment;
    // The key-echo wait gives up after this many passes of 2 ms; 0 is the program's own limit.
    int KeyEchoPassLimit = 0;
};
