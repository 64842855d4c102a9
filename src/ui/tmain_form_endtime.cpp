// "načíst čas": the auction's end time read out of the page shown in the browser.
#include "ui/tmain_form.h"

#include "sniper/endtime.h"
#include "common/timeformat.h"
#include "ui/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

namespace {
// How long the browser may take to hand over the page's source.
constexpr int sourceWaitMs = 10000;
}

void TMain_Form::Button4Click()
{
    // A second press while the browser answers would start a second wait inside the first.
    if (m_readingEndTime)
        return;
    m_readingEndTime = true;
    const auto done = qScopeGuard([this] { m_readingEndTime = false; });

    PageSource = QStringLiteral("null");
    const quint64 request = RequestPageSource();

    // Everything else goes on while the browser answers: the clock, the countdown, the user.
    // A later request's answer is at least as fresh, so it ends this wait too.
    if (lastPageSourceArrival() < request) {
        QEventLoop wait;
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &wait, &QEventLoop::quit);
        connect(this, &TMain_Form::pageSourceArrived, &wait, [&wait, request](quint64 arrived) {
            if (arrived >= request)
                wait.quit();
        });
        limit.start(sourceWaitMs);
        wait.exec();
    }
    if (lastPageSourceArrival() < request) {
        showMessage(QStringLiteral("Prohlížeč nevrátil zdrojový kód stránky do 10 sekund. "
                                   "Čas konce aukce nebyl načten."), this);
        return;
    }

    QApplication::clipboard()->setText(PageSource);

    const std::optional<QTime> time = endTimeOfPage(PageSource, QLocale::system());
    if (!time) {
        showMessage(QStringLiteral("Došlo k chybě při zjištění času konce aukce. Zkontrolujte, zda jste si "
                                   "načetli stránku se zbožím, které si přejete vydražit. "), this);
        return;
    }
    doKonce_DTP->setTime(*time);
    endTimeChanged();
}
