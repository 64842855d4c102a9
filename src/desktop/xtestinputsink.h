#pragma once

#include "sniper/inputsink.h"

#include <QString>

struct _XDisplay;

// Input through the X server's XTEST extension on its own connection to the display. The
// connection is opened at construction; a missing display or extension makes every call throw.
// Each event is followed by a round trip, so that an error of the server for that event is
// thrown as InputError from the call that sent it.
class XTestInputSink : public InputSink
{
public:
    // displayName empty: the DISPLAY of the environment.
    explicit XTestInputSink(const QString &displayName = QString());
    ~XTestInputSink() override;
    XTestInputSink(const XTestInputSink &) = delete;
    XTestInputSink &operator=(const XTestInputSink &) = delete;

    QSize screenSize() override;
    void moveTo(QPoint pixel) override;
    void leftButton(bool down) override;
    void key(Key key, bool down) override;

private:
    _XDisplay *display();
    void finish(int sent, const char *what);

    _XDisplay *m_display = nullptr;
    QString m_failure;
};
