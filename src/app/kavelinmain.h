#pragma once

#include <QString>

#include <functional>

class TMain_Form;

// The whole run of the program, from the engine's start-up to the last window closed; returns
// the exit code. shown, when given, is called once the main window is shown.
// installedDataFromProgram: where an installed copy's data lie, relative to the program's folder.
int kavelinMain(int argc, char *argv[], const std::function<void(TMain_Form &)> &shown = {},
                const QString &installedDataFromProgram = {});
