#pragma once

#include "sniper/inputsink.h"

#include <QString>
#include <QStringList>

#include <functional>

// An input sink that writes down what it is asked to do, one line per call: "size",
// "move 10,20", "left down", "left up", "Control down", "V up". A hook runs after every
// recorded call (to play the browser, or to fail on a given call); failOn makes the call with
// that line throw InputError instead of recording it.
class RecordingInputSink : public InputSink
{
public:
    QStringList events;
    QSize screen{1920, 1080};
    QString failOn;
    std::function<void(const QString &event)> afterEvent;

    QSize screenSize() override;
    void moveTo(QPoint pixel) override;
    void leftButton(bool down) override;
    void key(Key key, bool down) override;

private:
    void record(const QString &event);
};
