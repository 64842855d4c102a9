#include "recordinginputsink.h"

QSize RecordingInputSink::screenSize()
{
    record(QStringLiteral("size"));
    return screen;
}

void RecordingInputSink::moveTo(QPoint pixel)
{
    record(QStringLiteral("move %1,%2").arg(pixel.x()).arg(pixel.y()));
}

void RecordingInputSink::leftButton(bool down)
{
    record(down ? QStringLiteral("left down") : QStringLiteral("left up"));
}

void RecordingInputSink::key(Key key, bool down)
{
    record(QStringLiteral("%1 %2").arg(key == Key::Control ? QStringLiteral("Control") : QStringLiteral("V"),
                                       down ? QStringLiteral("down") : QStringLiteral("up")));
}

void RecordingInputSink::record(const QString &event)
{
    if (!failOn.isEmpty() && event == failOn)
        throw InputError("recorded failure at " + event.toStdString());
    events.append(event);
    if (afterEvent)
        afterEvent(event);
}
