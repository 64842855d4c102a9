#pragma once

#include "sniper/pagetarget.h"

#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

// What the bid needs from the program around it besides the input: the clipboard, the event
// loop, the window, the page and the window system's view of what lies where. Every wait in it
// lets the browser go on working.
class BidEnvironment
{
public:
    virtual ~BidEnvironment() = default;

    virtual void setClipboard(const QString &text) = 0;
    // One round of the waiting events: what lets the browser see the keys.
    virtual void processEvents() = 0;
    // A short blocking sleep between those rounds.
    virtual void sleep(int ms) = 0;
    // A pause during which the window and the browser go on.
    virtual void pause(int ms) = 0;
    // Waits until the click just sent has reached the program (or gives up after a while).
    virtual void awaitClick() = 0;

    // Restores, raises and activates the program's window.
    virtual void bringWindowForward() = 0;
    // Scrolls the page back to where position was taught, when it stands elsewhere.
    virtual void alignPage(int position) = 0;
    // The screen pixel of position as the window stands now; nothing when it was never taught.
    virtual std::optional<QPoint> screenPixel(int position) = 0;
    // What lies at position on the page, the page scrolled back to where position was taught;
    // nothing when the page did not answer.
    virtual std::optional<PageTarget> targetAt(int position) = 0;
    // The value of the field at position; nothing when the page did not answer or no field is there.
    virtual std::optional<QString> valueAt(int position) = 0;
    // The first of pixels at which another window shows over the program's, or -1.
    virtual int firstCovered(const QList<QPoint> &pixels) = 0;
    // The program's window has the keyboard.
    virtual bool hasKeyboard() = 0;
    // The bid button was clicked: from now on a page that loads is the confirmation page.
    virtual void bidClicked() = 0;
    // Waits up to ms for the confirmation page to have loaded.
    virtual bool awaitConfirmationPage(int ms) = 0;
    // The window was closed: no more input.
    virtual bool abandoned() = 0;
    // A steady clock in milliseconds: checks made during a pause count towards it.
    virtual qint64 clockMs() = 0;
    // A step of the bid for its record: what was checked and found, what was sent.
    virtual void note(const QString &event, const QJsonObject &fields = {}) { Q_UNUSED(event) Q_UNUSED(fields) }
};
