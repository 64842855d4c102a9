#pragma once

#include <functional>

class TMain_Form;

// The whole run of the program, from the engine's start-up to the last window closed; returns
// the exit code. shown, when given, is called once the main window is shown.
int kavelinMain(int argc, char *argv[], const std::function<void(TMain_Form &)> &shown = {});
