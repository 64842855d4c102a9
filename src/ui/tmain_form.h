#pragma once

#include "browser/contextmenuparams.h"
#include "sniper/bidoutcome.h"
#include "sniper/siteclock.h"
#include "ui/tmain_formhooks.h"

#include <QJsonObject>
#include <QPointer>
#include <QString>
#include <QTime>
#include <QWidget>

#include <optional>

#include <functional>
#include <memory>

class ClickLabel;
class QCheckBox;
class QDateTimeEdit;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QTimer;
class QWebEngineProfile;
class TChromium;
class TRadioGroup;
class TVistaAltFix;
class SiteClockMeter;
class BidRecord;
class THistory_Form;
class SleepInhibitor;
class TMain_FormTestAccess;
class QueueServer;

// The main window: the browser with its address box on the left, the control panel on the
// right, a status bar at the bottom. Controls carry the names the rest of the program knows.
class TMain_Form : public QWidget
{
    Q_OBJECT
public:
    explicit TMain_Form(QWebEngineProfile *profile, TMain_FormHooks hooks = {}, QWidget *parent = nullptr);
    ~TMain_Form() override;

    // The about window, shown by "O programu"; the window does not own it.
    void setAboutWindow(QWidget *about) { m_about = about; }

    // Asks the browser for the main frame's HTML; it arrives in PageSource while events are
    // processed. Returns the request's number; pageSourceArrived() tells which one arrived last.
    quint64 RequestPageSource();
    quint64 lastPageSourceArrival() const { return m_lastSourceArrival; }

    // The settings file, nastaveni.ini in the settings folder.
    QString SettingsPath() const;

    // The bid on the item page, and in live mode its confirmation; each says how it ended.
    BidResult PlaceBid(const QString &amount);
    BidResult ExecuteBid();

    // Controls.
    QWidget *Panel1;
    QPushButton *Button1;
    QScrollArea *ScrollBox1;
    QLabel *Label1;
    ClickLabel *Label3;
    QGroupBox *Cas_Groupbox;
    QLabel *AktulniCas_Label;
    QGroupBox *KonecAukce_GroupBox;
    QDateTimeEdit *doKonce_DTP;
    QPushButton *Button4;
    QCheckBox *Zitra_CheckBox;
    QPushButton *Button5;
    QGroupBox *GroupBox2;
    QLabel *Label5;
    QLineEdit *Sekund1_Edit;
    QLabel *Label7;
    QLabel *Label8;
    QLabel *Label9;
    QLineEdit *castka1_edit;
    QLabel *Label10;
    QGroupBox *GroupBox5;
    QLabel *Label17;
    ClickLabel *Label18;
    TRadioGroup *Mod_RadioGroup;
    QGroupBox *GroupBox4;
    QLabel *Stav_Label;
    QPushButton *Odpocitavat_BTT;
    QWidget *Panel2;
    QLineEdit *adress;
    TChromium *Chromium1;
    QStatusBar *StatusBar1;
    QTimer *Timer1;
    QTimer *Timer2;
    QTimer *UdrzovaniSpojeni_Timer;
    TVistaAltFix *VistaAltFix1;
    QLabel *ServerCas_Label;
    QCheckBox *PodleServeru_CheckBox;
    QLabel *Hlidani_Label;
    QPushButton *Historie_BTT;
    QueueServer *Fronta = nullptr;

signals:
    // The page source of a request has arrived in PageSource.
    void pageSourceArrived(quint64 request);
    // A fired bid has ended, sent or not.
    void bidFinished(bool ok);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The tests that drive the handlers and the countdown's state directly, and the queue of
    // bids, which arms the panel's countdown for a queued bid as the user would.
    friend class TMain_FormTestAccess;
    friend class QueueServer;

    // Handlers.
    void FormCreate();
    void Button1Click();
    void Label3Click();
    void Label18Click();
    void Button4Click();
    void Mod_RadioGroupClick();
    void Timer2Timer();
    bool adressKeyPress(QKeyEvent *event);
    void Chromium1AddressChange(TChromium *sender, const QString &url);
    void Chromium1BeforeBrowse(TChromium *sender, const QUrl &url, bool isMainFrame, bool isRedirect, bool &result);
    void Chromium1KeyEvent(TChromium *sender, QKeyEvent *event, bool &result);
    void Chromium1BeforeContextMenu(TChromium *sender, const ContextMenuParams &params, QMenu *model);
    void Chromium1ContextMenuCommand(TChromium *sender, const ContextMenuParams &params, int commandId,
                                     Qt::KeyboardModifiers eventFlags, bool &result);
    void Odpocitavat_BTTClick();
    void Button5Click();
    void Timer1Timer();
    void UdrzovaniSpojeni_TimerTimer();

    void createControls(QWebEngineProfile *profile);
    void createPanel(QWidget *content);
    void createTabOrder();
    void connectHandlers();
    void showDisarmed();
    void endTimeChanged();
    bool armingAllowed();
    void showTimeLeft(double now);
    void fire();
    void showOutcome(const BidResult &result, bool itemBidSent);
    BidEnvironment &bidEnvironment();
    void setUpWatch();
    void extendPanel(int bottom);
    void startWatch(qint32 seconds, double computerTarget);
    void stopWatch();
    void scheduleCheck();
    void checkPage(bool reload);
    void pageChecked(std::optional<QTime> endTime);
    void applySiteClock();
    void siteClockMeasured(std::optional<ClockOffset> offset);
    void showSiteTime();
    void tellWatch(const QString &text, bool alert);
    void setUpHistory();
    void startRecord(qint32 seconds);
    void recordEvent(const QString &event, const QJsonObject &fields = {});
    std::shared_ptr<BidRecord> recordFiring();
    void recordOutcome(const std::shared_ptr<BidRecord> &record, const BidResult &result, bool itemBidSent);
    void showHistory();

    // State shared by the window's handlers.
    bool KeyEchoPending = false;
    QString PageSource;
    double TargetTime = 0;   // the moment of the bid, days since 30 December 1899, local time

    TMain_FormHooks m_hooks;
    QPointer<QWidget> m_about;
    std::unique_ptr<BidEnvironment> m_bidEnvironment;
    bool m_closing = false;
    bool m_readingEndTime = false;
    bool m_tomorrowTickedByProgram = false;
    // Keeping watch while armed.
    SleepInhibitor *m_inhibitor = nullptr;
    SiteClockMeter *m_clockMeter = nullptr;
    QTimer *m_watchTimer = nullptr;
    std::optional<ClockOffset> m_siteOffset;
    QString m_siteOffsetHost;
    double m_computerTarget = 0;
    qint32 m_armedSeconds = 0;
    quint64 m_pageChecks = 0;
    bool m_checkAfterLoad = false;
    // The record of the current arming, and the history window.
    std::shared_ptr<BidRecord> m_record;
    QPointer<THistory_Form> m_history;
    quint64 m_sourceRequests = 0;
    quint64 m_lastSourceArrival = 0;
};
