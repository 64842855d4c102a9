#pragma once

#include <QObject>

#include <memory>

class AltRedrawBook;
class QAbstractNativeEventFilter;
class QtAltFixWindows;
struct AltFixSystem;

// Keeps every window of the application fully drawn after the system shows or hides keyboard
// cues when Alt is pressed (Windows with visual styles). Decides once, at construction,
// whether it acts; on other systems it stays inactive and does nothing.
class TVistaAltFix : public QObject
{
    Q_OBJECT
public:
    explicit TVistaAltFix(QObject *owner);
    TVistaAltFix(QObject *owner, const AltFixSystem &system);
    ~TVistaAltFix() override;

    bool isActive() const { return m_book != nullptr; }

private:
    void idle();

    std::unique_ptr<QtAltFixWindows> m_windows;
    std::unique_ptr<AltRedrawBook> m_book;
    std::unique_ptr<QAbstractNativeEventFilter> m_messages;
    QMetaObject::Connection m_idle;
};
