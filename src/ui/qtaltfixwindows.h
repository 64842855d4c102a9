#pragma once

#include "ui/altfixwindowlist.h"

class QWidget;

// The application's widgets as the Alt-key redraw bookkeeping sees them: the top-level
// widgets are the forms, labels are not windowed.
class QtAltFixWindows : public AltFixWindowList
{
public:
    QList<AltFixWindow> forms() const override;
    QList<AltFixWindow> children(AltFixWindow control) const override;
    bool isWindowed(AltFixWindow control) const override;
    void repaint(AltFixWindow control) override;

    // Only forms() hands out identities; they are looked up again here, so nothing that has
    // gone is ever touched.
    static QWidget *widget(AltFixWindow control);
};
