// The window's part of the bid: arming and disarming, the countdown with its keep-alive, the
// trigger, and the bid's input.
#include "ui/tmain_form.h"

#include "browser/tchromium.h"
#include "sniper/bidsequence.h"
#include "sniper/countdown.h"
#include "sniper/integertext.h"
#include "sniper/positions.h"
#include "sniper/timeformat.h"
#include "sniper/xtestinputsink.h"
#include "ui/messages.h"
#include "ui/tradiogroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

namespace {

const QColor statusColor(0, 255, 0);
const QString armCaption = QStringLiteral("Zapnout odpočet");
const QString countdownCaption = QStringLiteral("Odpočítávání");
// The countdown's tick; the last one before the moment is shortened to land just after it.
constexpr int tickMs = 100;

void processEventsOnce()
{
    QCoreApplication::processEvents();
}

void sleepMs(int ms)
{
    QThread::msleep(ms);
}

// A pause during which the window and the browser go on: the browser has to load the
// confirmation page in this time, which it cannot do while the thread sleeps.
void pauseProcessingEvents(int ms)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < ms) {
        sleepMs(2);
        processEventsOnce();
    }
}

// Counts the mouse button releases that the window system delivers to the program's windows.
class ReleaseCounter : public QObject
{
public:
    int releases = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && event->spontaneous() && watched->isWindowType())
            ++releases;
        return false;
    }
};

// Waits until one more click has reached the program, processing events, for at most half a
// second (the point may lie outside the program, whose windows then never see the click).
void awaitClick(ReleaseCounter &counter)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (counter.releases < 1 && elapsed.elapsed() < 500) {
        processEventsOnce();
        if (counter.releases < 1)
            sleepMs(2);
    }
    counter.releases = 0;
}

} // namespace

void TMain_Form::setUpBid()
{
    SettingsFolder = QCoreApplication::applicationDirPath();
    Now = [] { return toDays(QDateTime::currentDateTime()); };
    OpenInput = [] { return std::make_unique<XTestInputSink>(); };

    connect(Odpocitavat_BTT, &QPushButton::clicked, this, &TMain_Form::Odpocitavat_BTTClick);
    connect(Button5, &QPushButton::clicked, this, &TMain_Form::Button5Click);
    connect(Timer1, &QTimer::timeout, this, &TMain_Form::Timer1Timer);
    connect(UdrzovaniSpojeni_Timer, &QTimer::timeout, this, &TMain_Form::UdrzovaniSpojeni_TimerTimer);
    connect(Chromium1, &TChromium::OnBeforeContextMenu, this, &TMain_Form::Chromium1BeforeContextMenu);
    connect(Chromium1, &TChromium::OnContextMenuCommand, this, &TMain_Form::Chromium1ContextMenuCommand);
}

QString TMain_Form::SettingsPath() const
{
    return settingsPath(SettingsFolder);
}

void TMain_Form::Odpocitavat_BTTClick()
{
    QPalette palette = Stav_Label->palette();
    if (Timer1->isActive()) {
        Timer1->stop();
        UdrzovaniSpojeni_Timer->stop();
        palette.setColor(QPalette::WindowText, statusColor);
        Stav_Label->setPalette(palette);
        Stav_Label->setText(QString());
        showDisarmed();
        return;
    }

    TargetTime = Now();
    const qint32 seconds = textToInt(Sekund1_Edit->text());   // a ConversionError arms nothing
    const ArmedTarget armed = armingTarget(TargetTime, toDays(doKonce_DTP->dateTime()), seconds,
                                           Zitra_CheckBox->isChecked());
    if (armed.tomorrowTicked)
        Zitra_CheckBox->setChecked(true);
    TargetTime = armed.target;
    Timer1->start(tickMs);
    UdrzovaniSpojeni_Timer->start();
    palette.setColor(QPalette::WindowText, statusColor);
    Stav_Label->setPalette(palette);
    Stav_Label->setText(QStringLiteral("ODPOČET JE ZAPNUTÝ"));
    Stav_Label->adjustSize();
    Odpocitavat_BTT->setText(QStringLiteral("Zastavit odpočítávání"));
}

void TMain_Form::showDisarmed()
{
    Odpocitavat_BTT->setText(armCaption);
    GroupBox4->setTitle(countdownCaption);
}

void TMain_Form::Button5Click()
{
    doKonce_DTP->setDateTime(fromDays(nowPlus15Seconds(Now(), toDays(doKonce_DTP->dateTime()))));
}

void TMain_Form::Timer1Timer()
{
    const double now = Now();
    if (!isLaterThan(now, TargetTime)) {
        GroupBox4->setTitle(QStringLiteral("Odpočítávání | Zbývá ")
                            + timeLeftText(now, TargetTime, timeSeparator(QLocale::system())));
        Timer1->setInterval(nextTickMs(now, TargetTime, tickMs));
        return;
    }

    Timer1->stop();
    UdrzovaniSpojeni_Timer->stop();
    bool placed = false;
    try {
        placed = PlaceBid(castka1_edit->text());
    } catch (const InputError &) {
        // The input could not be sent at all (no display, no input extension).
        showDisarmed();
        Stav_Label->setText(QString());
        showMessage(QStringLiteral("Došlo k chybě při pokusu o potvrzení příhozu. "), this);
        return;
    }
    if (!placed) {
        // The browser never saw the amount: nothing was bid, so nothing may be confirmed.
        showDisarmed();
        Stav_Label->setText(QStringLiteral("NEPŘIHOZENO"));
        Stav_Label->adjustSize();
        showMessage(QStringLiteral("Částka se nedostala do stránky aukce, příhoz nebyl potvrzen."), this);
        return;
    }
    if (Mod_RadioGroup->ItemIndex() == 1) {
        processEventsOnce();
        pauseProcessingEvents(1000);
        processEventsOnce();
        ExecuteBid();
    }
    Stav_Label->setText(QStringLiteral("HOTOVO"));
    Stav_Label->adjustSize();
    showDisarmed();
}

void TMain_Form::UdrzovaniSpojeni_TimerTimer()
{
    if (secondsBetween(TargetTime, Now()) <= 60)
        return;
    Chromium1->NavigateTo(Chromium1->CurrentUrl());
}

bool TMain_Form::PlaceBid(const QString &amount)
{
    const std::unique_ptr<InputSink> input = OpenInput();
    ReleaseCounter counter;
    const BidSurroundings surroundings{
        [](const QString &text) { QGuiApplication::clipboard()->setText(text); },
        processEventsOnce,
        sleepMs,
        pauseProcessingEvents,
        [&counter] { awaitClick(counter); },
    };
    qApp->installEventFilter(&counter);
    const auto removeFilter = qScopeGuard([&counter] { qApp->removeEventFilter(&counter); });
    return placeBid(*input, SettingsPath(), amount, KeyEchoPending, surroundings);
}

void TMain_Form::ExecuteBid()
{
    const std::unique_ptr<InputSink> input = OpenInput();
    executeBid(*input, SettingsPath());
}
