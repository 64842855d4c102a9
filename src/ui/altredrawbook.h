#pragma once

#include "ui/altfixwindowlist.h"

#include <vector>

// The bookkeeping of the Alt-key redraw helper: one record per watched form, found at idle
// time; a form that received a UI-state message since its last repaint is repainted at the
// next idle moment together with its windowed controls, once however many messages came.
class AltRedrawBook
{
public:
    explicit AltRedrawBook(AltFixWindowList &windows);

    // The application's message queue has just been emptied.
    void idle();
    // The form has received (and already processed) a UI-state message. Forms without a
    // record yet are ignored: they are watched from the next idle moment on.
    void uiStateChanged(AltFixWindow form);

    bool isWatched(AltFixWindow form) const;
    qsizetype recordCount() const { return qsizetype(m_records.size()); }

private:
    struct TFormObj {
        AltFixWindow hookedForm;
        bool seen;
        bool repaintPending;
    };

    void repaintIfPending(TFormObj &record);
    void repaintTree(AltFixWindow control);

    AltFixWindowList &m_windows;
    std::vector<TFormObj> m_records;
};
