#include "desktop/xtestinputsink.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// X errors arrive through one process-wide handler; while an event of ours is checked the
// handler below records the error instead of ending the process.
int lastErrorCode = 0;

int recordError(Display *, XErrorEvent *event)
{
    lastErrorCode = event->error_code;
    return 0;
}

QString errorText(Display *display, int code)
{
    char buffer[256] = {};
    XGetErrorText(display, code, buffer, sizeof buffer);
    return QString::fromLocal8Bit(buffer);
}

} // namespace

XTestInputSink::XTestInputSink(const QString &displayName)
{
    const QByteArray name = displayName.toLocal8Bit();
    m_display = XOpenDisplay(displayName.isEmpty() ? nullptr : name.constData());
    if (!m_display) {
        m_failure = QStringLiteral("Cannot open the X display \"%1\"")
                        .arg(displayName.isEmpty() ? qEnvironmentVariable("DISPLAY") : displayName);
        return;
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &eventBase, &errorBase, &major, &minor)) {
        m_failure = QStringLiteral("The X server has no XTEST extension");
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
}

XTestInputSink::~XTestInputSink()
{
    if (m_display)
        XCloseDisplay(m_display);
}

Display *XTestInputSink::display()
{
    if (!m_display)
        throw InputError(m_failure.toStdString());
    return m_display;
}

void XTestInputSink::finish(int sent, const char *what)
{
    // The round trip delivers any error the server had with the request.
    auto previous = XSetErrorHandler(recordError);
    lastErrorCode = 0;
    XSync(m_display, False);
    XSetErrorHandler(previous);
    if (!sent)
        throw InputError(QStringLiteral("The X server refused the %1").arg(QLatin1String(what)).toStdString());
    if (lastErrorCode)
        throw InputError(QStringLiteral("X error at %1: %2").arg(QLatin1String(what), errorText(m_display, lastErrorCode)).toStdString());
}

QSize XTestInputSink::screenSize()
{
    Display *d = display();
    const int screen = DefaultScreen(d);
    return QSize(DisplayWidth(d, screen), DisplayHeight(d, screen));
}

void XTestInputSink::moveTo(QPoint pixel)
{
    Display *d = display();
    finish(XTestFakeMotionEvent(d, -1, pixel.x(), pixel.y(), CurrentTime), "pointer move");
}

void XTestInputSink::leftButton(bool down)
{
    Display *d = display();
    finish(XTestFakeButtonEvent(d, Button1, down ? True : False, CurrentTime), "mouse button");
}

void XTestInputSink::key(Key key, bool down)
{
    Display *d = display();
    const KeySym sym = key == Key::Control ? XK_Control_L : XK_v;
    const KeyCode code = XKeysymToKeycode(d, sym);
    if (code == 0)
        throw InputError(QStringLiteral("The keyboard has no key for %1").arg(QLatin1String(XKeysymToString(sym))).toStdString());
    finish(XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime), "key");
}
