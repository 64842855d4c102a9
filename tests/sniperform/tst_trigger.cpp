#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "fakebidenvironment.h"
#include "messageboxanswerer.h"
#include "recordinginputsink.h"
#include "sniper/countdown.h"
#include "common/integertext.h"
#include "sniper/positions.h"
#include "desktop/xtestinputsink.h"
#include "testhttpserver.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "ui/tradiogroup.h"
#include "webtest.h"
#include "webwait.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>

namespace {
using webtest::pageTimeout;
const QColor statusColor(0, 255, 0);
const QDate today(2024, 3, 10);

double at(const QTime &time)
{
    return toDays(QDateTime(today, time));
}
} // namespace

// The countdown and the trigger on the window, with the clock and the input under the test's
// control: the recording sink plays the browser by lowering the key-echo flag a moment after the
// synthesized Ctrl release, as the browser's key handler does.
class TestTrigger : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_server.setRoute("/item", QByteArray("<html><body>item</body></html>"));
    }

    void init()
    {
        TMain_FormHooks hooks;
        hooks.SettingsFolder = m_dir.path();
        hooks.Now = [this] { return m_now; };
        m_input = new RecordingInputSink;
        m_echo = true;
        m_log.clear();
        m_input->afterEvent = [this](const QString &event) { m_log.append(event); };
        hooks.OpenInput = [this] {
            // The window opens the input afresh for each operation; the test keeps one record.
            struct Forward : InputSink {
                RecordingInputSink *to;
                QSize screenSize() override { return to->screenSize(); }
                void moveTo(QPoint p) override { to->moveTo(p); }
                void leftButton(bool d) override { to->leftButton(d); }
                void key(Key k, bool d) override { to->key(k, d); }
            };
            auto sink = std::make_unique<Forward>();
            sink->to = m_input;
            return std::unique_ptr<InputSink>(std::move(sink));
        };
        // The page, the window system and the browser's key echo as the test sets them; the
        // points lie inside the browser view.
        m_env = FakeBidEnvironment();
        m_env.log = &m_log;
        hooks.OpenBidEnvironment = [this] {
            auto env = std::make_unique<FakeBidEnvironment>(m_env);
            env->onProcessEvents = [this] {
                if (m_echo && m_input->events.contains(QStringLiteral("Control up")))
                    inside(m_form).KeyEchoPending() = false;
                if (m_duringBid)
                    m_duringBid();
            };
            return std::unique_ptr<BidEnvironment>(std::move(env));
        };
        hooks.KeyEchoPassLimit = 20;
        m_profile = new QWebEngineProfile;
        m_form = new TMain_Form(m_profile, hooks);
        for (int position : {1, 2, 3})
            m_env.pixels[position] = viewPixel(position);
        QVERIFY(writePosition(m_form->SettingsPath(), 1, {10, 20}, nullptr));
        QVERIFY(writePosition(m_form->SettingsPath(), 2, {30, 40}, nullptr));
        QVERIFY(writePosition(m_form->SettingsPath(), 3, {50, 60}, nullptr));
        m_closer.reset(new MessageBoxAnswerer);
    }

    void cleanup()
    {
        m_duringBid = nullptr;
        delete m_form;
        delete m_profile;
        delete m_input;
    }

    void armingShowsTheCountdownAndDisarmingClears()
    {
        m_form->doKonce_DTP->setTime(QTime(21, 45, 30));
        m_now = at(QTime(21, 40));
        inside(m_form).Odpocitavat_BTTClick();
        QCOMPARE(fromDays(inside(m_form).TargetTime()), QDateTime(today, QTime(21, 45, 21)));
        QVERIFY(m_form->Timer1->isActive());
        QVERIFY(m_form->UdrzovaniSpojeni_Timer->isActive());
        QVERIFY(!m_form->Zitra_CheckBox->isChecked());
        QCOMPARE(m_form->Stav_Label->text(), QStringLiteral("ODPOČET JE ZAPNUTÝ"));
        QCOMPARE(m_form->Stav_Label->palette().color(QPalette::WindowText), statusColor);
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zastavit odpočítávání"));
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání"));

        m_now = at(QTime(21, 40, 0, 100));
        inside(m_form).Timer1Timer();
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání | Zbývá 00:05:20"));
        QVERIFY(m_input->events.isEmpty());

        inside(m_form).Odpocitavat_BTTClick();
        QVERIFY(!m_form->Timer1->isActive());
        QVERIFY(!m_form->UdrzovaniSpojeni_Timer->isActive());
        QCOMPARE(m_form->Stav_Label->text(), QString());
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zapnout odpočet"));
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání"));

        // Arming again, later than the moment: tomorrow, and the box gets ticked.
        m_now = at(QTime(22, 0));
        inside(m_form).Odpocitavat_BTTClick();
        QVERIFY(m_form->Zitra_CheckBox->isChecked());
        QCOMPARE(fromDays(inside(m_form).TargetTime()), QDateTime(today.addDays(1), QTime(21, 45, 21)));
    }

    void secondsOutOfRangeArmNothing_data()
    {
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<bool>("armed");
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("-5 bids after the end") << "-5" << false;
        QTest::newRow("-4, at the end itself") << "-4" << true;
        QTest::newRow("86395") << "86395" << true;
        QTest::newRow("86405 would wrap") << "86405" << false;
        QTest::newRow("largest integer") << "2147483647" << false;
        QTest::newRow("blanks before") << "  7" << true;
    }
    void secondsOutOfRangeArmNothing()
    {
        QFETCH(QString, seconds);
        QFETCH(bool, armed);
        m_form->Sekund1_Edit->setText(seconds);
        m_now = at(QTime(10, 0));
        inside(m_form).Odpocitavat_BTTClick();
        QCOMPARE(m_form->Timer1->isActive(), armed);
        if (!armed) {
            QCOMPARE(m_closer->texts(), QStringList{QStringLiteral("Počet sekund musí být celé číslo od -4 do 86395. "
                                                                   "Odpočet nebyl zapnut.")});
            QCOMPARE(m_form->Stav_Label->text(), QString(12, QLatin1Char(' ')));
        }
    }

    void tomorrowTickedByTheProgramGoesWithANewEndTime()
    {
        // Armed after the moment: the program ticks "zítra"; "Nyní + 15 sekund" unticks it.
        m_form->doKonce_DTP->setTime(QTime(9, 0));
        m_now = at(QTime(10, 0));
        inside(m_form).Odpocitavat_BTTClick();
        QVERIFY(m_form->Zitra_CheckBox->isChecked());
        inside(m_form).Odpocitavat_BTTClick();
        inside(m_form).Button5Click();
        QVERIFY(!m_form->Zitra_CheckBox->isChecked());
        // Ticked by the user, it stays.
        QTest::mouseClick(m_form->Zitra_CheckBox, Qt::LeftButton, {}, QPoint(5, m_form->Zitra_CheckBox->height() / 2));
        QVERIFY(m_form->Zitra_CheckBox->isChecked());
        inside(m_form).Button5Click();
        QVERIFY(m_form->Zitra_CheckBox->isChecked());
    }

    void nowPlus15KeepsThePickersDate()
    {
        m_now = at(QTime(14, 30, 0, 250));
        const QDate pickerDate = m_form->doKonce_DTP->date();
        inside(m_form).Button5Click();
        QCOMPARE(m_form->doKonce_DTP->date(), pickerDate);
        QCOMPARE(m_form->doKonce_DTP->time().toString(QStringLiteral("hh:mm:ss")), QStringLiteral("14:30:15"));
    }

    void firing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("positions");
        QTest::newRow("test mode") << 0 << QList<int>{1, 2};
        QTest::newRow("live mode") << 1 << QList<int>{1, 2, 3};
    }
    void firing()
    {
        QFETCH(int, mode);
        QFETCH(QList<int>, positions);
        armOneSecondAhead();
        // The amount and the mode are read when the bid fires.
        m_form->castka1_edit->setText(QStringLiteral("4321"));
        m_form->Mod_RadioGroup->setItemIndex(mode);

        m_now += 0.5 / 86400;
        inside(m_form).Timer1Timer();
        QVERIFY(m_input->events.isEmpty());   // not yet
        m_now += 0.502 / 86400;
        inside(m_form).Timer1Timer();

        QStringList moves;
        for (int position : positions)
            moves.append(move(position));
        QCOMPARE(m_input->events.filter(QStringLiteral("move")), moves);
        QVERIFY(m_log.contains(QStringLiteral("clipboard 4321")));
        QVERIFY(!m_form->Timer1->isActive());
        QVERIFY(!m_form->UdrzovaniSpojeni_Timer->isActive());
        QCOMPARE(m_form->Stav_Label->text(), QStringLiteral("HOTOVO"));
        QCOMPARE(m_form->Stav_Label->palette().color(QPalette::WindowText), statusColor);
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zapnout odpočet"));
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání"));
        QVERIFY(m_closer->texts().isEmpty());
        if (mode == 1) {
            // A second's pause after the click on the bid button, then the confirmation page.
            const qsizetype clicked = m_log.indexOf(QStringLiteral("bid clicked"));
            QCOMPARE(m_log.mid(clicked + 1, 4),
                     (QStringList{"events", "pause 1000", "events", "await page 5000"}));
        }
    }

    void failuresAreToldInRed_data()
    {
        QTest::addColumn<QString>("breaks");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("keys never seen") << "echo" << "NEPŘIHOZENO"
                                         << "Příhoz nebyl odeslán. Částka se nedostala do stránky aukce.";
        QTest::newRow("covered") << "cover" << "NEPŘIHOZENO"
                                 << "Příhoz nebyl odeslán. Okno Kavelinu je na pozici 1 (pole pro výši příhozu) "
                                    "zakryté jiným oknem.";
        QTest::newRow("confirmation page never loads") << "confirmation" << "PŘIHOZENO, NEPOTVRZENO"
            << "Příhoz byl odeslán na stránce zboží, ale nebyl potvrzen. Stránka potvrzení příhozu se nenačetla.";
        QTest::newRow("input refused") << "input" << "NEPŘIHOZENO"
                                       << "Příhoz nebyl odeslán. Systém nepřijal vstup myši nebo klávesnice.";
        QTest::newRow("input refused at the confirmation") << "confirm input" << "PŘIHOZENO, NEPOTVRZENO"
            << "Příhoz byl odeslán na stránce zboží, ale nebyl potvrzen. Systém nepřijal vstup myši nebo klávesnice.";
    }
    void failuresAreToldInRed()
    {
        QFETCH(QString, breaks);
        QFETCH(QString, status);
        QFETCH(QString, message);
        m_echo = breaks != QLatin1String("echo");
        m_env.confirmationLoads = breaks != QLatin1String("confirmation");
        if (breaks == QLatin1String("cover"))
            m_env.covered = 0;
        if (breaks == QLatin1String("input"))
            inside(m_form).hooks().OpenInput = [] { return std::make_unique<XTestInputSink>(QStringLiteral(":999")); };
        if (breaks == QLatin1String("confirm input"))
            m_input->failOn = move(3);
        m_form->Mod_RadioGroup->setItemIndex(1);
        armOneSecondAhead();
        m_now += 1.002 / 86400;
        inside(m_form).Timer1Timer();
        QVERIFY(!m_form->Timer1->isActive());
        QCOMPARE(m_form->Stav_Label->text(), status);
        QCOMPARE(m_form->Stav_Label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zapnout odpočet"));
        QCOMPARE(m_closer->texts(), QStringList{message});
        if (status == QLatin1String("NEPŘIHOZENO"))
            QVERIFY(!m_input->events.contains(move(2)));
    }

    void armingRefusesWhatCannotWork_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<int>("untaught");
        QTest::addColumn<QPoint>("pointOne");   // null: inside the view
        QTest::addColumn<bool>("textAtOne");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("armed");
        QTest::addColumn<QString>("message");
        const QString refused = QStringLiteral(" Odpočet nebyl zapnut.");
        QTest::newRow("letters") << "abc" << 0 << QPoint() << false << "" << false
            << "Částka „abc“ není kladné číslo (nejvýše se dvěma desetinnými místy, například 150 nebo 150,50)." + refused;
        QTest::newRow("point 2 never taught") << "150" << 2 << QPoint() << false << "" << false
            << "Pozice 2 (tlačítko Přihodit na stránce zboží) nebyla naučena. Naučte ji v nabídce pravého "
               "tlačítka myši v prohlížeči." + refused;
        QTest::newRow("point 1 outside the view") << "150" << 0 << QPoint(-5, -5) << false << "" << false
            << "Pozice 1 (pole pro výši příhozu) neleží v prohlížeči. Naučte ji znovu na stránce zboží." + refused;
        QTest::newRow("point 1 over text, no") << "150" << 0 << QPoint() << true << "Ne" << false
            << "Na pozici 1 (pole pro výši příhozu) není textové pole, leží tam prvek <p> s textem „Konec aukce“."
               "\n\nPřesto zapnout odpočet?";
        QTest::newRow("point 1 over text, yes") << "150" << 0 << QPoint() << true << "Ano" << true
            << "Na pozici 1 (pole pro výši příhozu) není textové pole, leží tam prvek <p> s textem „Konec aukce“."
               "\n\nPřesto zapnout odpočet?";
    }
    void armingRefusesWhatCannotWork()
    {
        QFETCH(QString, amount);
        QFETCH(int, untaught);
        QFETCH(QPoint, pointOne);
        QFETCH(bool, textAtOne);
        QFETCH(QString, answer);
        QFETCH(bool, armed);
        QFETCH(QString, message);
        m_closer.reset(new MessageBoxAnswerer(answer));
        m_form->castka1_edit->setText(amount);
        if (untaught) {
            QFile::remove(m_form->SettingsPath());
            for (int position : {1, 2, 3}) {
                if (position != untaught)
                    QVERIFY(writePosition(m_form->SettingsPath(), position, {1, 1}, nullptr));
            }
        }
        if (!pointOne.isNull())
            m_env.pixels[1] = pointOne;
        if (textAtOne)
            m_env.targets[1] = FakeBidEnvironment::text();
        m_now = at(QTime(12, 0));
        inside(m_form).Odpocitavat_BTTClick();
        QCOMPARE(m_form->Timer1->isActive(), armed);
        QCOMPARE(m_closer->texts(), QStringList{message});
        QVERIFY(m_input->events.isEmpty());
    }

    void armingDuringTheBidStaysArmed()
    {
        m_form->Mod_RadioGroup->setItemIndex(1);
        armOneSecondAhead();
        // The user arms the next countdown while the bid pauses before the confirmation.
        bool rearmed = false;
        m_duringBid = [this, &rearmed] {
            if (rearmed || !m_log.contains(QStringLiteral("bid clicked")))
                return;
            rearmed = true;
            m_form->doKonce_DTP->setTime(QTime(13, 0));
            inside(m_form).Odpocitavat_BTTClick();
        };
        m_now += 1.002 / 86400;
        inside(m_form).Timer1Timer();
        QVERIFY(m_input->events.contains(move(3)));
        QVERIFY(m_form->Timer1->isActive());
        QCOMPARE(m_form->Stav_Label->text(), QStringLiteral("ODPOČET JE ZAPNUTÝ"));
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zastavit odpočítávání"));
        QCOMPARE(fromDays(inside(m_form).TargetTime()), QDateTime(today, QTime(12, 59, 51)));
    }

    void keepAliveReloadsOnlyWhileMoreThanAMinuteIsLeft_data()
    {
        QTest::addColumn<double>("secondsLeft");
        QTest::addColumn<bool>("reloads");
        QTest::newRow("five minutes") << 300.0 << true;
        QTest::newRow("61 s") << 61.0 << true;
        QTest::newRow("60.9 s") << 60.9 << false;
        QTest::newRow("10 s") << 10.0 << false;
    }
    void keepAliveReloadsOnlyWhileMoreThanAMinuteIsLeft()
    {
        QFETCH(double, secondsLeft);
        QFETCH(bool, reloads);
        QSignalSpy loaded(m_form->Chromium1->page(), &QWebEnginePage::loadFinished);
        m_form->Chromium1->NavigateTo(m_server.url(QStringLiteral("/item?a=1")).toString());
        QVERIFY(loaded.wait(pageTimeout));
        m_server.clearRequests();
        m_now = at(QTime(12, 0));
        inside(m_form).TargetTime() = m_now + secondsLeft / 86400;
        inside(m_form).UdrzovaniSpojeni_TimerTimer();
        if (reloads) {
            QVERIFY(loaded.wait(pageTimeout));
            QCOMPARE(m_server.requestsFor("/item").size(), 1);
            QCOMPARE(m_server.requestsFor("/item").first().query, QByteArray("a=1"));
        } else {
            QVERIFY(!loaded.wait(1000));
            QCOMPARE(m_server.requestsFor("/item").size(), 0);
        }
    }

private:
    QPoint viewPixel(int position) const
    {
        return m_form->Chromium1->mapToGlobal(QPoint(10 * position, 20 * position));
    }
    QString move(int position) const
    {
        const QPoint p = viewPixel(position);
        return QStringLiteral("move %1,%2").arg(p.x()).arg(p.y());
    }

    void armOneSecondAhead()
    {
        // Picker at 12:00:10 with n = 5: the moment is 12:00:01; armed at 12:00:00.
        m_form->doKonce_DTP->setTime(QTime(12, 0, 10));
        m_now = at(QTime(12, 0));
        inside(m_form).Odpocitavat_BTTClick();
        QCOMPARE(fromDays(inside(m_form).TargetTime()), QDateTime(today, QTime(12, 0, 1)));
    }

    TestHttpServer m_server;
    QTemporaryDir m_dir;
    QWebEngineProfile *m_profile = nullptr;
    TMain_Form *m_form = nullptr;
    RecordingInputSink *m_input = nullptr;
    bool m_echo = true;
    FakeBidEnvironment m_env;
    QStringList m_log;
    std::function<void()> m_duringBid;
    double m_now = 0;
    QScopedPointer<MessageBoxAnswerer> m_closer;
};

KAVELIN_WEBTEST_MAIN(TestTrigger)
#include "tst_trigger.moc"
