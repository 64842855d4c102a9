// The window's part of the bid: arming and disarming, the countdown with its keep-alive, the
// trigger, and the bid's input.
#include "ui/tmain_form.h"

#include "browser/tchromium.h"
#include "desktop/alerts.h"
#include "sniper/bidamount.h"
#include "sniper/bidenvironment.h"
#include "sniper/bidrecord.h"
#include "sniper/bidsequence.h"
#include "sniper/countdown.h"
#include "sniper/positions.h"
#include "common/timeformat.h"
#include "ui/messages.h"
#include "ui/queueserver.h"
#include "ui/tradiogroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

namespace {

const QColor statusColor(0, 255, 0);
const QColor failureColor(255, 0, 0);
const QString armCaption = QStringLiteral("Zapnout odpočet");
const QString countdownCaption = QStringLiteral("Odpočítávání");
const QString notArmed = QStringLiteral(" Odpočet nebyl zapnut.");
// The countdown's tick; the last one before the moment is shortened to land just after it.
constexpr int tickMs = 100;

void setStatus(QLabel *label, const QString &text, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setText(text);
    label->adjustSize();
}

} // namespace

QString TMain_Form::SettingsPath() const
{
    return settingsPath(m_hooks.SettingsFolder);
}

void TMain_Form::Odpocitavat_BTTClick()
{
    if (Timer1->isActive()) {
        Timer1->stop();
        UdrzovaniSpojeni_Timer->stop();
        stopWatch();
        recordEvent(QStringLiteral("disarmed"), {{"why", QStringLiteral("uživatel")}});
        m_record.reset();
        setStatus(Stav_Label, QString(), statusColor);
        showDisarmed();
        return;
    }

    TargetTime = m_hooks.Now();
    const std::optional<qint32> seconds = armingSeconds(Sekund1_Edit->text());
    if (!seconds) {
        // Less would bid after the end; more is a day or more ahead.
        showMessage(QStringLiteral("Počet sekund musí být celé číslo od %1 do %2.").arg(fewestSeconds).arg(mostSeconds)
                        + notArmed, this);
        return;
    }
    if (!armingAllowed())
        return;
    const ArmedTarget armed = armingTarget(TargetTime, toDays(doKonce_DTP->dateTime()), *seconds,
                                           Zitra_CheckBox->isChecked());
    if (Fronta && !Fronta->allowsPanelMoment(armed.target))
        return;
    if (armed.tomorrowTicked && !Zitra_CheckBox->isChecked()) {
        Zitra_CheckBox->setChecked(true);
        m_tomorrowTickedByProgram = true;
    }
    TargetTime = armed.target;
    Timer1->start(tickMs);
    UdrzovaniSpojeni_Timer->start();
    startRecord(*seconds);
    startWatch(*seconds, armed.target);
    setStatus(Stav_Label, QStringLiteral("ODPOČET JE ZAPNUTÝ"), statusColor);
    Odpocitavat_BTT->setText(QStringLiteral("Zastavit odpočítávání"));
}

bool TMain_Form::armingAllowed()
{
    if (!positiveAmount(castka1_edit->text())) {
        showMessage(failureReason({BidFailure::BadAmount, 0, castka1_edit->text()}) + notArmed, this);
        return false;
    }
    const bool live = Mod_RadioGroup->ItemIndex() == 1;
    for (int position : {1, 2, 3}) {
        if ((position < 3 || live) && !readTaughtPoint(SettingsPath(), position).taught) {
            showMessage(failureReason({BidFailure::NotTaught, position, {}})
                            + QStringLiteral(" Naučte ji v nabídce pravého tlačítka myši v prohlížeči.") + notArmed,
                        this);
            return false;
        }
    }

    const std::unique_ptr<BidEnvironment> checks = m_hooks.OpenBidEnvironment();
    BidEnvironment &env = *checks;
    const QWidget *view = Chromium1;
    const qreal ratio = view->devicePixelRatioF();
    const QRect viewOnScreen(view->mapToGlobal(QPoint(0, 0)) * ratio, view->size() * ratio);
    for (int position : {1, 2}) {
        const std::optional<QPoint> pixel = env.screenPixel(position);
        if (!pixel || !viewOnScreen.contains(*pixel)) {
            showMessage(QStringLiteral("Pozice %1 neleží v prohlížeči. Naučte ji znovu na stránce zboží.")
                                .arg(positionName(position)) + notArmed, this);
            return false;
        }
    }
    // What lies at the points now; the page is scrolled back to where they were taught.
    for (int position : {2, 1}) {
        const std::optional<PageTarget> target = env.targetAt(position);
        const bool fits = target && (position == 1 ? isTextField(*target) : isClickable(*target));
        if (fits)
            continue;
        const QString what = target ? describeTarget(*target) : QStringLiteral("nic (stránka neodpověděla)");
        const QString expected = position == 1 ? QStringLiteral("textové pole") : QStringLiteral("tlačítko");
        if (!askYesNo(QStringLiteral("Na pozici %1 není %2, leží tam %3.\n\nPřesto zapnout odpočet?")
                          .arg(positionName(position), expected, what), this))
            return false;
    }
    return true;
}

void TMain_Form::showDisarmed()
{
    Odpocitavat_BTT->setText(armCaption);
    GroupBox4->setTitle(countdownCaption);
}

void TMain_Form::Button5Click()
{
    doKonce_DTP->setDateTime(fromDays(nowPlus15Seconds(m_hooks.Now(), toDays(doKonce_DTP->dateTime()))));
    endTimeChanged();
}

void TMain_Form::endTimeChanged()
{
    // A new end time: "zítra" ticked by an earlier arming no longer says anything about it.
    if (m_tomorrowTickedByProgram)
        Zitra_CheckBox->setChecked(false);
    m_tomorrowTickedByProgram = false;
}

void TMain_Form::Timer1Timer()
{
    const double now = m_hooks.Now();
    if (!isLaterThan(now, TargetTime))
        showTimeLeft(now);
    else if (!m_bidEnvironment)   // a countdown armed during an earlier bid's pauses waits for it
        fire();
}

void TMain_Form::showTimeLeft(double now)
{
    GroupBox4->setTitle(QStringLiteral("Odpočítávání | Zbývá ")
                        + timeLeftText(now, TargetTime, timeSeparator(QLocale::system())));
    Timer1->setInterval(nextTickMs(now, TargetTime, tickMs));
}

void TMain_Form::fire()
{
    Timer1->stop();
    UdrzovaniSpojeni_Timer->stop();
    const std::shared_ptr<BidRecord> record = recordFiring();
    m_bidEnvironment = m_hooks.OpenBidEnvironment();
    BidEnvironment &env = *m_bidEnvironment;
    const auto dropEnvironment = qScopeGuard([this] { m_bidEnvironment.reset(); });
    BidResult result;
    bool itemBidSent = false;
    try {
        result = PlaceBid(castka1_edit->text());
        itemBidSent = result.ok();
        // The mode is read once the item page's bid is done: it may be switched meanwhile.
        if (itemBidSent && Mod_RadioGroup->ItemIndex() == 1) {
            env.processEvents();
            env.pause(1000);
            env.processEvents();
            result = ExecuteBid();
        }
    } catch (const InputError &) {
        // The window system's own words stay out of the message; ours say what it means.
        result = {BidFailure::InputFailed, 0, {}};
    }
    if (m_closing)
        return;
    if (!Timer1->isActive())
        stopWatch();
    recordOutcome(record, result, itemBidSent);
    emit bidFinished(result.ok());
    showOutcome(result, itemBidSent);
}

void TMain_Form::showOutcome(const BidResult &result, bool itemBidSent)
{
    // A countdown armed during the bid's pauses stays shown as armed; the outcome goes to a box.
    if (!Timer1->isActive()) {
        setStatus(Stav_Label, outcomeStatus(result, itemBidSent), result.ok() ? statusColor : failureColor);
        showDisarmed();
    }
    alertUser(this, QStringLiteral("Kavelin"),
              result.ok() ? QStringLiteral("Příhoz byl odeslán.") : failureMessage(result, itemBidSent));
    if (!result.ok())
        showMessage(failureMessage(result, itemBidSent), this);
}

void TMain_Form::UdrzovaniSpojeni_TimerTimer()
{
    if (secondsBetween(TargetTime, m_hooks.Now()) <= 60)
        return;
    m_checkAfterLoad = true;
    recordEvent(QStringLiteral("keep-alive"), {{"url", Chromium1->CurrentUrl()}});
    Chromium1->NavigateTo(Chromium1->CurrentUrl());
}

BidEnvironment &TMain_Form::bidEnvironment()
{
    if (!m_bidEnvironment)
        m_bidEnvironment = m_hooks.OpenBidEnvironment();
    return *m_bidEnvironment;
}

BidResult TMain_Form::PlaceBid(const QString &amount)
{
    const std::unique_ptr<InputSink> input = m_hooks.OpenInput();
    return placeBid(*input, bidEnvironment(), amount, Mod_RadioGroup->ItemIndex() == 1, KeyEchoPending,
                    m_hooks.KeyEchoPassLimit);
}

BidResult TMain_Form::ExecuteBid()
{
    const std::unique_ptr<InputSink> input = m_hooks.OpenInput();
    return executeBid(*input, bidEnvironment());
}
