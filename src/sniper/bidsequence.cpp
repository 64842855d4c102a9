#include "sniper/bidsequence.h"

#include "sniper/inputsink.h"
#include "sniper/positions.h"

namespace {

void moveTo(InputSink &input, ScreenPoint point)
{
    // The screen is measured again before every move: a Windows backend needs it for its
    // absolute coordinates, and the screen may have changed since the last move.
    input.screenSize();
    input.moveTo(QPoint(point.x, point.y));
}

void click(InputSink &input)
{
    input.leftButton(true);
    input.leftButton(false);
}

} // namespace

bool placeBid(InputSink &input, const QString &settingsPath, const QString &amount, bool &keyEchoPending,
              const BidSurroundings &surroundings)
{
    surroundings.processEvents();
    surroundings.setClipboard(amount);

    const qint32 x1 = readSetting(settingsPath, positionXKey(1));
    const qint32 x2 = readSetting(settingsPath, positionXKey(2));
    const qint32 y1 = readSetting(settingsPath, positionYKey(1));
    const qint32 y2 = readSetting(settingsPath, positionYKey(2));

    moveTo(input, {x1, y1});
    // On X11 a window manager may hold a click back while it decides on the focus: keys then
    // overtake it, and a second click sent meanwhile can be lost. Each click of the double click
    // is therefore sent once the one before has reached the program.
    for (int i = 0; i < 2; ++i) {
        click(input);
        if (surroundings.awaitClick)
            surroundings.awaitClick();
    }

    input.key(InputSink::Key::Control, true);
    input.key(InputSink::Key::V, true);
    input.key(InputSink::Key::V, false);
    keyEchoPending = true;
    input.key(InputSink::Key::Control, false);

    int passes = 0;
    while (keyEchoPending && passes <= keyEchoPassLimit) {
        surroundings.sleep(2);
        surroundings.processEvents();
        ++passes;
    }
    if (passes > keyEchoPassLimit)
        return false;

    surroundings.pause(500);
    moveTo(input, {x2, y2});
    surroundings.pause(500);
    click(input);
    return true;
}

void executeBid(InputSink &input, const QString &settingsPath)
{
    const ScreenPoint p3 = readPosition(settingsPath, 3);
    moveTo(input, p3);
    click(input);
}
