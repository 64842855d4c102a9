#pragma once

#include "sniper/windowcover.h"

#include <QList>

struct _XDisplay;

// The X server's view of the top-level windows: how they are stacked and which one has the
// keyboard. Opens its own connection to the display; with none every answer is empty (0), so
// that a point then counts as covered and no input goes out.
class XWindowStack
{
public:
    XWindowStack();
    ~XWindowStack();
    XWindowStack(const XWindowStack &) = delete;
    XWindowStack &operator=(const XWindowStack &) = delete;

    bool isOpen() const { return m_display != nullptr; }
    // The children of the root window, lowest first (window managers put each client into a
    // frame of their own: the frame is what is stacked).
    QList<StackedWindow> topLevels();
    // The child of the root that holds window (the window itself when it is one); 0 when unknown.
    quint64 topLevelOf(quint64 window);
    // The top level that holds the window with the keyboard focus; 0 when none.
    quint64 focusTopLevel();

private:
    _XDisplay *m_display = nullptr;
};
