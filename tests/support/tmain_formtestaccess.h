#pragma once

#include "browser/tchromium.h"
#include "fakebidenvironment.h"
#include "recordinginputsink.h"
#include "ui/tmain_form.h"

#include <memory>

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

// A bid that is not what the test looks at: its checks hold against the window's own browser,
// its input is recorded (into log, when given), and the key echo answers at once. form is where
// the test keeps the window, read when the bid opens.
inline std::function<std::unique_ptr<BidEnvironment>()> heldChecks(TMain_Form *const *form, QStringList *log = nullptr)
{
    return [form, log] {
        auto env = std::make_unique<FakeBidEnvironment>();
        env->log = log;
        for (int position : {1, 2, 3})
            env->pixels[position] = (*form)->Chromium1->mapToGlobal(QPoint(5, 5));
        env->onProcessEvents = [form] { inside(*form).KeyEchoPending() = false; };
        return std::unique_ptr<BidEnvironment>(std::move(env));
    };
}

// Hooks for such a window with its settings in settingsFolder.
inline TMain_FormHooks recordedBidHooks(const QString &settingsFolder, TMain_Form *const *form, QStringList *log = nullptr)
{
    TMain_FormHooks hooks;
    hooks.SettingsFolder = settingsFolder;
    hooks.OpenInput = [] { return std::make_unique<RecordingInputSink>(); };
    hooks.OpenBidEnvironment = heldChecks(form, log);
    return hooks;
}
