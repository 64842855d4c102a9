#include "ui/tmain_form.h"

#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "desktop/xtestinputsink.h"
#include "sniper/bidenvironment.h"
#include "common/siteaddresses.h"
#include "common/timeformat.h"
#include "sniper/bidrecord.h"
#include "sniper/bidsequence.h"
#include "sniper/countdown.h"
#include "sniper/positions.h"
#include "ui/thistory_form.h"
#include "ui/clicklabel.h"
#include "ui/queueserver.h"
#include "ui/tradiogroup.h"
#include "ui/tvistaaltfix.h"
#include "ui/windowbidenvironment.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
const QColor testModeColor(255, 240, 179);
const QColor liveModeColor(218, 255, 185);

QUrl onSite(const QString &site, const QString &pathAndQuery)
{
    return QUrl(site).resolved(QUrl(pathAndQuery));
}
} // namespace

TMain_Form::TMain_Form(QWebEngineProfile *profile, TMain_FormHooks hooks, QWidget *parent)
    : QWidget(parent)
    , m_hooks(std::move(hooks))
{
    if (m_hooks.SettingsFolder.isEmpty())
        m_hooks.SettingsFolder = QCoreApplication::applicationDirPath();
    if (!m_hooks.Now)
        m_hooks.Now = [] { return toDays(QDateTime::currentDateTime()); };
    if (!m_hooks.OpenInput)
        m_hooks.OpenInput = [] { return std::make_unique<XTestInputSink>(); };
    if (!m_hooks.OpenBidEnvironment) {
        m_hooks.OpenBidEnvironment = [this] {
            auto env = std::make_unique<WindowBidEnvironment>(this, Chromium1, SettingsPath(), [this] { return m_closing; });
            env->journal = [this](const QString &event, const QJsonObject &fields) { recordEvent(event, fields); };
            return env;
        };
    }
    if (m_hooks.KeyEchoPassLimit <= 0)
        m_hooks.KeyEchoPassLimit = keyEchoPassLimit;
    createControls(profile);
    VistaAltFix1 = new TVistaAltFix(this);
    connectHandlers();
    Chromium1->NavigateTo(Chromium1->DefaultUrl);
    Timer2->start();
    FormCreate();
}

TMain_Form::~TMain_Form()
{
    delete m_history;
    // The browser goes first, while the profile it belongs to still exists.
    delete Chromium1;
}

void TMain_Form::connectHandlers()
{
    connect(Button1, &QPushButton::clicked, this, &TMain_Form::Button1Click);
    connect(Label3, &ClickLabel::clicked, this, &TMain_Form::Label3Click);
    connect(Label18, &ClickLabel::clicked, this, &TMain_Form::Label18Click);
    connect(Button4, &QPushButton::clicked, this, &TMain_Form::Button4Click);
    connect(Mod_RadioGroup, &TRadioGroup::clicked, this, &TMain_Form::Mod_RadioGroupClick);
    connect(Timer2, &QTimer::timeout, this, &TMain_Form::Timer2Timer);
    adress->installEventFilter(this);
    connect(Chromium1, &TChromium::OnAddressChange, this, &TMain_Form::Chromium1AddressChange);
    connect(Chromium1, &TChromium::OnBeforeBrowse, this, &TMain_Form::Chromium1BeforeBrowse);
    connect(Chromium1, &TChromium::OnKeyEvent, this, &TMain_Form::Chromium1KeyEvent);
    connect(Chromium1, &TChromium::OnBeforeContextMenu, this, &TMain_Form::Chromium1BeforeContextMenu);
    connect(Chromium1, &TChromium::OnContextMenuCommand, this, &TMain_Form::Chromium1ContextMenuCommand);
    connect(Odpocitavat_BTT, &QPushButton::clicked, this, &TMain_Form::Odpocitavat_BTTClick);
    connect(Button5, &QPushButton::clicked, this, &TMain_Form::Button5Click);
    // A box the user ticks or unticks is the user's.
    connect(Zitra_CheckBox, &QCheckBox::clicked, this, [this] { m_tomorrowTickedByProgram = false; });
    connect(Timer1, &QTimer::timeout, this, &TMain_Form::Timer1Timer);
    connect(UdrzovaniSpojeni_Timer, &QTimer::timeout, this, &TMain_Form::UdrzovaniSpojeni_TimerTimer);
    setUpWatch();
    setUpHistory();
    Fronta = new QueueServer(this, QueueServer::defaultPath());
}

void TMain_Form::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program, whatever else is open: the countdown stops,
    // a bid under way sends nothing more, pop-ups and the about window go with the window.
    m_closing = true;
    if (Timer1->isActive())
        recordEvent(QStringLiteral("disarmed"), {{"why", QStringLiteral("program zavřen")}});
    Timer1->stop();
    UdrzovaniSpojeni_Timer->stop();
    stopWatch();
    for (BrowserView *popup : Chromium1->popups())
        popup->close();
    if (m_about)
        m_about->close();
    if (m_history)
        m_history->close();
    event->accept();
    QCoreApplication::quit();
}

bool TMain_Form::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == adress && event->type() == QEvent::KeyPress)
        return adressKeyPress(static_cast<QKeyEvent *>(event));
    return QWidget::eventFilter(watched, event);
}

void TMain_Form::FormCreate()
{
    // Today's date, keeping the picker's time (setDate would reset a time-only picker's time).
    doKonce_DTP->setDateTime(QDateTime(QDate::currentDate(), doKonce_DTP->time()));
}

void TMain_Form::Button1Click()
{
    if (!m_about)
        return;
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void TMain_Form::Label3Click()
{
    Chromium1->NavigateTo(onSite(auctionSiteAddress(), QStringLiteral("/?logout=1")).toString());
}

void TMain_Form::Label18Click()
{
    QDesktopServices::openUrl(onSite(makerSiteAddress(), QStringLiteral("/kavelin.php")));
}

void TMain_Form::Mod_RadioGroupClick()
{
    Mod_RadioGroup->setColor(Mod_RadioGroup->ItemIndex() == 0 ? testModeColor : liveModeColor);
}

void TMain_Form::Timer2Timer()
{
    const QLocale locale = QLocale::system();
    AktulniCas_Label->setText(locale.toString(QTime::currentTime(), longTimeFormat(locale)));
    AktulniCas_Label->adjustSize();
}

bool TMain_Form::adressKeyPress(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // Loaded exactly as typed: no trimming, no scheme added. The Enter itself is swallowed.
    Chromium1->NavigateTo(adress->text());
    return true;
}

void TMain_Form::Chromium1AddressChange(TChromium *, const QString &url)
{
    adress->setText(url);
}

void TMain_Form::Chromium1BeforeBrowse(TChromium *, const QUrl &, bool, bool, bool &)
{
    KeyEchoPending = false;
}

void TMain_Form::Chromium1KeyEvent(TChromium *, QKeyEvent *, bool &)
{
    KeyEchoPending = false;
}

quint64 TMain_Form::RequestPageSource()
{
    const quint64 request = ++m_sourceRequests;
    Chromium1->RequestSource([this, request](const QString &source) {
        PageSource = source;
        m_lastSourceArrival = request;
        emit pageSourceArrived(request);
    });
    return request;
}
