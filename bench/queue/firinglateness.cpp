#include "firinglateness.h"

#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "sniper/countdown.h"
#include "sniper/positions.h"
#include "tmain_formtestaccess.h"
#include "ui/queueserver.h"
#include "ui/queuestore.h"
#include "ui/tmain_form.h"
#include "ui/tradiogroup.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
constexpr double msPerDay = 86400000.0;
// The bid's moment comes this long after arming, and the queue loads its page this long before.
constexpr int aheadMs = 1200;
constexpr int loadLeadMs = 2000;
constexpr int seconds = 2;
} // namespace

FiringLateness::FiringLateness() = default;

FiringLateness::~FiringLateness()
{
    delete m_form;
}

bool FiringLateness::start()
{
    if (!m_server.start() || !m_dir.isValid())
        return false;
    m_server.setRoute("/item", QByteArray("<html><head><title>Lampa</title></head><body>Lampa</body></html>"));
    TMain_FormHooks hooks = recordedBidHooks(m_dir.path(), &m_form, &m_log);
    hooks.RecordsFolder = m_dir.filePath(QStringLiteral("prihozy"));
    m_form = new TMain_Form(&m_profile, hooks);
    m_form->Fronta->Timing.loadLeadMs = loadLeadMs;
    m_form->Fronta->Timing.announceMs = loadLeadMs + 1000;
    m_form->show();
    if (!QTest::qWaitForWindowExposed(m_form))
        return false;
    for (int position : {1, 2, 3}) {
        if (!writePosition(m_form->SettingsPath(), position, {1, 1}, nullptr))
            return false;
    }
    m_form->Timer1->installEventFilter(this);
    QSignalSpy loaded(m_form->Chromium1->page(), &QWebEnginePage::loadFinished);
    m_form->Chromium1->NavigateTo(m_server.url(QStringLiteral("/item")).toString());
    return loaded.wait(20000);
}

std::optional<double> FiringLateness::armedByHand()
{
    const QDateTime end = QDateTime::currentDateTime().addMSecs(aheadMs + (seconds + 4) * 1000);
    m_form->doKonce_DTP->setDateTime(end);
    m_form->Zitra_CheckBox->setChecked(false);
    m_form->Sekund1_Edit->setText(QString::number(seconds));
    m_form->castka1_edit->setText(QStringLiteral("150"));
    m_form->Mod_RadioGroup->setItemIndex(0);
    m_late.reset();
    inside(m_form).Odpocitavat_BTTClick();
    return awaitFiring();
}

std::optional<double> FiringLateness::armedByQueue()
{
    QueuedBid bid;
    bid.url = m_server.url(QStringLiteral("/item?n=%1").arg(++m_queued)).toString();
    bid.title = QStringLiteral("Lampa %1").arg(m_queued);
    bid.end = toDays(QDateTime::currentDateTime().addMSecs(loadLeadMs + aheadMs + (seconds + 4) * 1000));
    bid.seconds = seconds;
    bid.amount = QStringLiteral("150");
    m_late.reset();
    if (!m_form->Fronta->store()->add(bid, inside(m_form).hooks().Now()).isEmpty())
        return std::nullopt;
    return awaitFiring();
}

std::optional<double> FiringLateness::awaitFiring()
{
    // Fired, and the bid done, before the next arming.
    const QDeadlineTimer limit(15000);
    while (!limit.hasExpired() && (!m_late || m_form->Timer1->isActive() || m_form->Fronta->store()->anyPending()))
        QTest::qWait(10);
    QTest::qWait(50);
    return m_late;
}

bool FiringLateness::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Timer && !m_late && m_form->Timer1->isActive()) {
        const double now = inside(m_form).hooks().Now();
        const double target = inside(m_form).TargetTime();
        if (isLaterThan(now, target))
            m_late = (now - target) * msPerDay;
    }
    return false;
}
