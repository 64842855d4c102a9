#pragma once

#include <QList>

// A window or control as the Alt-key redraw bookkeeping sees it: an identity only, never
// dereferenced by the bookkeeping itself.
using AltFixWindow = const void *;

// The windows of the application as the Alt-key redraw bookkeeping needs them. The toolkit
// adapter implements it over real widgets; tests implement it with fakes.
class AltFixWindowList
{
public:
    virtual ~AltFixWindowList() = default;

    // Every top-level window (form) of the application, in the application's order.
    virtual QList<AltFixWindow> forms() const = 0;
    // The child controls of a window or control, in the toolkit's child order.
    virtual QList<AltFixWindow> children(AltFixWindow control) const = 0;
    // False for controls that draw on their parent (labels and the like).
    virtual bool isWindowed(AltFixWindow control) const = 0;
    // Invalidates the whole control and redraws it before returning.
    virtual void repaint(AltFixWindow control) = 0;
};
