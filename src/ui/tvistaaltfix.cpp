#include "ui/tvistaaltfix.h"

#include "ui/altfixdecision.h"
#include "ui/altredrawbook.h"
#include "ui/qtaltfixwindows.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
// Hands the forms' UI-state messages to the bookkeeping. An application-wide filter: it goes
// away with the component, so no window can reach a freed record.
class UiStateMessages : public QAbstractNativeEventFilter
{
public:
    explicit UiStateMessages(AltRedrawBook &book)
        : m_book(book)
    {
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
#ifdef Q_OS_WIN
        if (eventType == "windows_generic_MSG") {
            const MSG *msg = static_cast<const MSG *>(message);
            if (msg->message == 0x0128 /* WM_UPDATEUISTATE */) {
                if (QWidget *w = QWidget::find(WId(msg->hwnd)))
                    m_book.uiStateChanged(w->window());
            }
        }
#else
        Q_UNUSED(eventType)
        Q_UNUSED(message)
#endif
        // The message goes on to the window unchanged.
        return false;
    }

private:
    AltRedrawBook &m_book;
};
} // namespace

TVistaAltFix::TVistaAltFix(QObject *owner)
    : TVistaAltFix(owner, currentAltFixSystem())
{
}

TVistaAltFix::TVistaAltFix(QObject *owner, const AltFixSystem &system)
    : QObject(owner)
{
    setObjectName(QStringLiteral("VistaAltFix1"));
    if (!altFixActive(system))
        return;
    m_windows = std::make_unique<QtAltFixWindows>();
    m_book = std::make_unique<AltRedrawBook>(*m_windows);
    m_messages = std::make_unique<UiStateMessages>(*m_book);
    QCoreApplication::instance()->installNativeEventFilter(m_messages.get());
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        m_idle = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TVistaAltFix::idle);
}

TVistaAltFix::~TVistaAltFix()
{
    // The message and idle hooks go first, then the records.
    disconnect(m_idle);
    if (m_messages && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(m_messages.get());
    m_messages.reset();
    m_book.reset();
}

void TVistaAltFix::idle()
{
    m_book->idle();
}
