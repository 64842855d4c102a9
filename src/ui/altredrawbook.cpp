#include "ui/altredrawbook.h"

#include <algorithm>

AltRedrawBook::AltRedrawBook(AltFixWindowList &windows)
    : m_windows(windows)
{
}

void AltRedrawBook::idle()
{
    for (TFormObj &record : m_records)
        record.seen = false;

    for (const AltFixWindow form : m_windows.forms()) {
        const auto found = std::find_if(m_records.begin(), m_records.end(),
                                        [form](const TFormObj &record) { return record.hookedForm == form; });
        if (found != m_records.end())
            found->seen = true;
        else
            m_records.push_back(TFormObj{form, true, false});
    }

    // From the last record to the first; a record whose form has gone is dropped without
    // looking at the form.
    for (auto i = m_records.size(); i-- > 0;) {
        if (m_records[i].seen)
            repaintIfPending(m_records[i]);
        else
            m_records.erase(m_records.begin() + std::ptrdiff_t(i));
    }
}

void AltRedrawBook::uiStateChanged(AltFixWindow form)
{
    for (TFormObj &record : m_records) {
        if (record.hookedForm == form) {
            record.repaintPending = true;
            return;
        }
    }
}

bool AltRedrawBook::isWatched(AltFixWindow form) const
{
    return std::any_of(m_records.begin(), m_records.end(),
                       [form](const TFormObj &record) { return record.hookedForm == form; });
}

void AltRedrawBook::repaintIfPending(TFormObj &record)
{
    if (!record.repaintPending)
        return;
    record.repaintPending = false;
    repaintTree(record.hookedForm);
}

void AltRedrawBook::repaintTree(AltFixWindow control)
{
    if (!m_windows.isWindowed(control))
        return;
    m_windows.repaint(control);
    for (const AltFixWindow child : m_windows.children(control))
        repaintTree(child);
}
