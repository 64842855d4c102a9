#pragma once

#include <QtGlobal>

#include <optional>

// What the Alt-key redraw helper needs to know about the system to decide whether it acts.
struct AltFixSystem {
    // The window system sends UI-state messages when Alt shows or hides keyboard cues
    // (Windows only; X11 has no such message).
    bool sendsUiStateMessages = false;
    std::optional<int> osMajorVersion;  // empty: the version query failed
    bool themeLibraryLoaded = false;
    bool appThemed = false;
    bool themeActive = false;
    // The common-controls library's version word, major number in the high half; empty when
    // it cannot be read (which counts as new enough).
    std::optional<quint32> commonControlsVersion;
};

// Active only on a system that sends UI-state messages, major version 6 or later, with visual
// styles on: theme library loaded, application themed, theme active, common controls 6 or later.
bool altFixActive(const AltFixSystem &system);

// The running system, as far as this build can ask it.
AltFixSystem currentAltFixSystem();
