#pragma once

#include "ui/tmain_form.h"

// The main window's private handlers and countdown state, for the tests that drive them
// directly instead of through the X server.
class TMain_FormTestAccess
{
public:
    explicit TMain_FormTestAccess(TMain_Form *form) : m_form(form) {}

    TMain_FormHooks &hooks() { return m_form->m_hooks; }
    double &TargetTime() { return m_form->TargetTime; }
    bool &KeyEchoPending() { return m_form->KeyEchoPending; }
    QString &PageSource() { return m_form->PageSource; }

    void Odpocitavat_BTTClick() { m_form->Odpocitavat_BTTClick(); }
    void Button5Click() { m_form->Button5Click(); }
    void Timer1Timer() { m_form->Timer1Timer(); }
    void Timer2Timer() { m_form->Timer2Timer(); }
    void UdrzovaniSpojeni_TimerTimer() { m_form->UdrzovaniSpojeni_TimerTimer(); }
    void Chromium1ContextMenuCommand(TChromium *sender, const ContextMenuParams &params, int commandId,
                                     Qt::KeyboardModifiers eventFlags, bool &result)
    {
        m_form->Chromium1ContextMenuCommand(sender, params, commandId, eventFlags, result);
    }

private:
    TMain_Form *m_form;
};

inline TMain_FormTestAccess inside(TMain_Form *form)
{
    return TMain_FormTestAccess(form);
}
