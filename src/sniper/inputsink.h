#pragma once

#include <QPoint>
#include <QSize>

#include <stdexcept>

// Input that could not be sent: no display, no input extension, or an error of the window
// system while sending.
class InputError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Where synthesized mouse and keyboard input goes: the window system's input queue, so that
// whatever window is under the pointer or has the focus gets it, as if the user acted. Every
// call throws InputError when the input cannot be sent.
class InputSink
{
public:
    enum class Key { Control, V };

    virtual ~InputSink() = default;

    // The primary screen in pixels.
    virtual QSize screenSize() = 0;
    // Moves the pointer to a screen pixel.
    virtual void moveTo(QPoint pixel) = 0;
    virtual void leftButton(bool down) = 0;
    virtual void key(Key key, bool down) = 0;
};
