// Keeping watch while armed: the computer kept awake, the item page read again before the last
// minute, and the moment aimed by the site's clock.
#include "ui/tmain_form.h"

#include "browser/browserpage.h"
#include "browser/siteclockmeter.h"
#include "browser/tchromium.h"
#include "desktop/alerts.h"
#include "desktop/sleepinhibitor.h"
#include "sniper/countdown.h"
#include "sniper/endtime.h"
#include "common/timeformat.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QWebEnginePage>

namespace {
constexpr double msPerDay = 86400000.0;
const QColor warningColor(255, 0, 0);

double msLeft(double now, double target)
{
    return (target - now) * msPerDay;
}
} // namespace

void TMain_Form::setUpWatch()
{
    ServerCas_Label = new QLabel(QStringLiteral("Čas serveru: neznámý"), Cas_Groupbox);
    ServerCas_Label->move(8, 38);
    ServerCas_Label->adjustSize();
    // Below the countdown, in the panel.
    PodleServeru_CheckBox = new QCheckBox(QStringLiteral("Mířit podle času serveru"), GroupBox4->parentWidget());
    PodleServeru_CheckBox->setGeometry(16, 612, 225, 17);
    PodleServeru_CheckBox->setChecked(true);
    Hlidani_Label = new QLabel(GroupBox4->parentWidget());
    Hlidani_Label->setGeometry(16, 634, 225, 60);
    Hlidani_Label->setWordWrap(true);
    Hlidani_Label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    extendPanel(Hlidani_Label->geometry().bottom());

    m_inhibitor = new SleepInhibitor(this);
    m_clockMeter = new SiteClockMeter(this);
    m_watchTimer = new QTimer(this);
    m_watchTimer->setSingleShot(true);
    connect(m_inhibitor, &SleepInhibitor::held, this, [this](bool held) {
        if (!held && Timer1->isActive())
            tellWatch(QStringLiteral("Počítač může během odpočtu usnout."), false);
    });
    connect(m_clockMeter, &SiteClockMeter::measured, this, &TMain_Form::siteClockMeasured);
    connect(m_watchTimer, &QTimer::timeout, this, [this] { checkPage(true); });
    connect(Timer2, &QTimer::timeout, this, &TMain_Form::showSiteTime);
    connect(PodleServeru_CheckBox, &QCheckBox::toggled, this, [this] { applySiteClock(); });
    connect(Chromium1->page(), &QWebEnginePage::loadFinished, this, [this] {
        // After a keep-alive reload the page is read for its end time too.
        if (std::exchange(m_checkAfterLoad, false) && Timer1->isActive())
            checkPage(false);
    });
}

void TMain_Form::extendPanel(int bottom)
{
    // The panel's content has a fixed size; what is added below the countdown makes it taller.
    QWidget *content = GroupBox4->parentWidget();
    content->setFixedHeight(qMax(content->height(), bottom + 8));
}

void TMain_Form::startWatch(qint32 seconds, double computerTarget)
{
    m_armedSeconds = seconds;
    m_computerTarget = computerTarget;
    Hlidani_Label->clear();
    m_inhibitor->acquire(QStringLiteral("Odpočet příhozu"));
    const QUrl site(Chromium1->CurrentUrl());
    if (site.scheme() == QLatin1String("http") || site.scheme() == QLatin1String("https")) {
        if (m_siteOffsetHost != site.host())
            m_siteOffset.reset();
        m_siteOffsetHost = site.host();
        m_clockMeter->measure(site);
    } else {
        m_siteOffset.reset();
        m_siteOffsetHost.clear();
    }
    applySiteClock();
    scheduleCheck();
}

void TMain_Form::stopWatch()
{
    m_watchTimer->stop();
    m_checkAfterLoad = false;
    ++m_pageChecks;   // an answer still on its way is for nobody
    m_inhibitor->release();
}

void TMain_Form::scheduleCheck()
{
    const double left = msLeft(m_hooks.Now(), TargetTime);
    if (left <= m_hooks.Watch.quietMs)
        return;
    m_watchTimer->start(int(qBound(0.0, left - m_hooks.Watch.checkLeadMs, 2e9)));
}

void TMain_Form::checkPage(bool reload)
{
    if (!Timer1->isActive())
        return;
    const quint64 check = ++m_pageChecks;
    const auto read = [this, check] {
        RequestPageSource();
        connect(this, &TMain_Form::pageSourceArrived, m_watchTimer, [this, check](quint64) {
            if (check != m_pageChecks)
                return;
            ++m_pageChecks;
            pageChecked(endTimeOfPage(PageSource, QLocale::system()));
        }, Qt::SingleShotConnection);
    };
    if (!reload) {
        read();
        return;
    }
    // Read again as the site shows it now, and the site's clock measured again with it.
    const QUrl site(Chromium1->CurrentUrl());
    if (m_siteOffsetHost == site.host() && !m_siteOffsetHost.isEmpty())
        m_clockMeter->measure(site);
    connect(Chromium1->page(), &QWebEnginePage::loadFinished, m_watchTimer, [check, read, this](bool) {
        if (check == m_pageChecks)
            read();
    }, Qt::SingleShotConnection);
    QTimer::singleShot(m_hooks.Watch.pageLoadMs, m_watchTimer, [this, check] {
        if (check == m_pageChecks) {
            ++m_pageChecks;
            pageChecked(std::nullopt);
        }
    });
    Chromium1->NavigateTo(Chromium1->CurrentUrl());
}

void TMain_Form::pageChecked(std::optional<QTime> endTime)
{
    if (!Timer1->isActive())
        return;
    const double now = m_hooks.Now();
    recordEvent(QStringLiteral("page checked"),
                {{"end", endTime ? endTime->toString(QStringLiteral("HH:mm:ss")) : QJsonValue()}});
    if (!endTime) {
        tellWatch(QStringLiteral("Stránka zboží neukazuje čas konce aukce. Zkontrolujte, zda jste přihlášeni."), true);
        if (msLeft(now, TargetTime) - m_hooks.Watch.recheckMs > m_hooks.Watch.quietMs)
            m_watchTimer->start(m_hooks.Watch.recheckMs);
        return;
    }
    const QLocale locale = QLocale::system();
    const QString shown = locale.toString(*endTime, longTimeFormat(locale));
    if (*endTime == doKonce_DTP->time()) {
        tellWatch(QStringLiteral("Stránka zboží zkontrolována: konec aukce %1.").arg(shown), false);
        return;
    }
    // Extended or corrected: armed again for the new end, with the same seconds.
    doKonce_DTP->setTime(*endTime);
    const ArmedTarget armed = armingTarget(now, toDays(doKonce_DTP->dateTime()), m_armedSeconds,
                                           Zitra_CheckBox->isChecked());
    if (armed.tomorrowTicked && !Zitra_CheckBox->isChecked()) {
        Zitra_CheckBox->setChecked(true);
        m_tomorrowTickedByProgram = true;
    }
    m_computerTarget = armed.target;
    applySiteClock();
    recordEvent(QStringLiteral("re-armed"), {{"end", endTime->toString(QStringLiteral("HH:mm:ss"))},
                                             {"moment", fromDays(TargetTime).toString(Qt::ISODateWithMs)}});
    tellWatch(QStringLiteral("Konec aukce se změnil na %1. Odpočet je nastaven znovu, %2 s před novým koncem.")
                  .arg(shown).arg(m_armedSeconds), true);
    scheduleCheck();
}

void TMain_Form::applySiteClock()
{
    if (!Timer1->isActive())
        return;
    const bool bySite = PodleServeru_CheckBox->isChecked() && m_siteOffset;
    // The end time is the site's: by its clock the moment comes that much earlier or later here.
    TargetTime = m_computerTarget - (bySite ? m_siteOffset->offsetMs / msPerDay : 0.0);
}

void TMain_Form::siteClockMeasured(std::optional<ClockOffset> offset)
{
    if (!offset) {
        m_siteOffset.reset();
        if (Timer1->isActive())
            tellWatch(QStringLiteral("Server aukce nesdělil svůj čas, odpočet se řídí časem počítače."), false);
    } else {
        m_siteOffset = offset;
        recordEvent(QStringLiteral("site clock"), {{"offsetMs", offset->offsetMs}, {"uncertaintyMs", offset->uncertaintyMs}});
        if (offsetNeedsWarning(*offset))
            tellWatch(QStringLiteral("Hodiny počítače se od serveru liší o %1 s.")
                          .arg(QLocale::system().toString(offset->offsetMs / 1000, 'f', 1)),
                      Timer1->isActive());
    }
    applySiteClock();
    showSiteTime();
}

void TMain_Form::showSiteTime()
{
    if (!m_siteOffset) {
        ServerCas_Label->setText(QStringLiteral("Čas serveru: neznámý"));
    } else {
        const qint64 now = fromDays(m_hooks.Now()).toMSecsSinceEpoch();
        ServerCas_Label->setText(siteTimeText(now, *m_siteOffset, QLocale::system().decimalPoint().at(0)));
    }
    QPalette palette = ServerCas_Label->palette();
    palette.setColor(QPalette::WindowText, m_siteOffset && offsetNeedsWarning(*m_siteOffset)
                                               ? warningColor
                                               : Cas_Groupbox->palette().color(QPalette::WindowText));
    ServerCas_Label->setPalette(palette);
    ServerCas_Label->adjustSize();
}

void TMain_Form::tellWatch(const QString &text, bool alert)
{
    Hlidani_Label->setText(text);
    if (alert)
        alertUser(this, QStringLiteral("Kavelin"), text);
}
