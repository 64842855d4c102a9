#include "desktop/xwindowstack.h"

#include <X11/Xlib.h>

namespace {

// A window may vanish between the listing and the question about it: the server's error is
// then an answer ("not there"), not a reason to end the program.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

class ErrorTrap
{
public:
    ErrorTrap() : m_previous(XSetErrorHandler(ignoreError)) {}
    ~ErrorTrap() { XSetErrorHandler(m_previous); }

private:
    int (*m_previous)(Display *, XErrorEvent *);
};

} // namespace

XWindowStack::XWindowStack()
    : m_display(XOpenDisplay(nullptr))
{
}

XWindowStack::~XWindowStack()
{
    if (m_display)
        XCloseDisplay(m_display);
}

QList<StackedWindow> XWindowStack::topLevels()
{
    QList<StackedWindow> out;
    if (!m_display)
        return out;
    const ErrorTrap trap;
    Window root = DefaultRootWindow(m_display), rootReturn = 0, parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display, root, &rootReturn, &parent, &children, &count))
        return out;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_display, children[i], &a))
            continue;
        StackedWindow w;
        w.id = children[i];
        w.rect = QRect(a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width);
        w.viewable = a.map_state == IsViewable;
        w.inputOnly = a.c_class == InputOnly;
        out.append(w);
    }
    if (children)
        XFree(children);
    return out;
}

quint64 XWindowStack::topLevelOf(quint64 window)
{
    if (!m_display || window == 0)
        return 0;
    const ErrorTrap trap;
    const Window root = DefaultRootWindow(m_display);
    Window current = Window(window);
    for (int depth = 0; depth < 64; ++depth) {
        Window rootReturn = 0, parent = 0;
        Window *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_display, current, &rootReturn, &parent, &children, &count))
            return 0;
        if (children)
            XFree(children);
        if (parent == root)
            return current;
        if (parent == 0)
            return 0;
        current = parent;
    }
    return 0;
}

quint64 XWindowStack::focusTopLevel()
{
    if (!m_display)
        return 0;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    if (focus == None || focus == PointerRoot)
        return 0;
    return topLevelOf(focus);
}
