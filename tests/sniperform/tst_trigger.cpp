#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "messageboxanswerer.h"
#include "recordinginputsink.h"
#include "sniper/countdown.h"
#include "sniper/integertext.h"
#include "sniper/positions.h"
#include "sniper/xtestinputsink.h"
#include "testhttpserver.h"
#include "ui/tmain_form.h"
#include "ui/tradiogroup.h"
#include "webtest.h"

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
constexpr int pageTimeout = 20000;
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
        m_profile = new QWebEngineProfile;
        m_form = new TMain_Form(m_profile);
        m_form->SettingsFolder = m_dir.path();
        m_form->Now = [this] { return m_now; };
        m_input = new RecordingInputSink;
        m_echo = true;
        m_input->afterEvent = [this](const QString &event) {
            m_times.append(m_clock.elapsed());
            if (event == QLatin1String("Control up") && m_echo)
                QTimer::singleShot(5, m_form, [this] { m_form->KeyEchoPending = false; });
        };
        m_form->OpenInput = [this] {
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
        m_times.clear();
        m_clock.start();
        QVERIFY(writePosition(m_form->SettingsPath(), 1, {10, 20}, nullptr));
        QVERIFY(writePosition(m_form->SettingsPath(), 2, {30, 40}, nullptr));
        QVERIFY(writePosition(m_form->SettingsPath(), 3, {50, 60}, nullptr));
        m_closer.reset(new MessageBoxAnswerer);
    }

    void cleanup()
    {
        delete m_form;
        delete m_profile;
        delete m_input;
    }

    void armingShowsTheCountdownAndDisarmingClears()
    {
        m_form->doKonce_DTP->setTime(QTime(21, 45, 30));
        m_now = at(QTime(21, 40));
        m_form->Odpocitavat_BTTClick();
        QCOMPARE(fromDays(m_form->TargetTime), QDateTime(today, QTime(21, 45, 21)));
        QVERIFY(m_form->Timer1->isActive());
        QVERIFY(m_form->UdrzovaniSpojeni_Timer->isActive());
        QVERIFY(!m_form->Zitra_CheckBox->isChecked());
        QCOMPARE(m_form->Stav_Label->text(), QStringLiteral("ODPOČET JE ZAPNUTÝ"));
        QCOMPARE(m_form->Stav_Label->palette().color(QPalette::WindowText), statusColor);
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zastavit odpočítávání"));
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání"));

        m_now = at(QTime(21, 40, 0, 100));
        m_form->Timer1Timer();
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání | Zbývá 00:05:20"));
        QVERIFY(m_input->events.isEmpty());

        m_form->Odpocitavat_BTTClick();
        QVERIFY(!m_form->Timer1->isActive());
        QVERIFY(!m_form->UdrzovaniSpojeni_Timer->isActive());
        QCOMPARE(m_form->Stav_Label->text(), QString());
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zapnout odpočet"));
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání"));

        // Arming again, later than the moment: tomorrow, and the box gets ticked.
        m_now = at(QTime(22, 0));
        m_form->Odpocitavat_BTTClick();
        QVERIFY(m_form->Zitra_CheckBox->isChecked());
        QCOMPARE(fromDays(m_form->TargetTime), QDateTime(today.addDays(1), QTime(21, 45, 21)));
    }

    void secondsThatAreNotAnIntegerArmNothing()
    {
        m_form->Sekund1_Edit->setText(QStringLiteral("abc"));
        m_now = at(QTime(10, 0));
        try {
            m_form->Odpocitavat_BTTClick();
            QFAIL("armed");
        } catch (const ConversionError &error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("'abc' is not a valid integer value"));
        }
        QVERIFY(!m_form->Timer1->isActive());
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zapnout odpočet"));
        QCOMPARE(m_form->Stav_Label->text(), QString(12, QLatin1Char(' ')));
    }

    void nowPlus15KeepsThePickersDate()
    {
        m_now = at(QTime(14, 30, 0, 250));
        const QDate pickerDate = m_form->doKonce_DTP->date();
        m_form->Button5Click();
        QCOMPARE(m_form->doKonce_DTP->date(), pickerDate);
        QCOMPARE(m_form->doKonce_DTP->time().toString(QStringLiteral("hh:mm:ss")), QStringLiteral("14:30:15"));
    }

    void firing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("moves");
        QTest::newRow("test mode") << 0 << QStringList{"move 10,20", "move 30,40"};
        QTest::newRow("live mode") << 1 << QStringList{"move 10,20", "move 30,40", "move 50,60"};
    }
    void firing()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, moves);
        armOneSecondAhead();
        // The amount and the mode are read when the bid fires.
        m_form->castka1_edit->setText(QStringLiteral("4321"));
        m_form->Mod_RadioGroup->setItemIndex(mode);

        m_now += 0.5 / 86400;
        m_form->Timer1Timer();
        QVERIFY(m_input->events.isEmpty());   // not yet
        m_now += 0.502 / 86400;
        m_form->Timer1Timer();

        QStringList seen;
        for (const QString &e : std::as_const(m_input->events)) {
            if (e.startsWith(QLatin1String("move")))
                seen.append(e);
        }
        QCOMPARE(seen, moves);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("4321"));
        QVERIFY(!m_form->Timer1->isActive());
        QVERIFY(!m_form->UdrzovaniSpojeni_Timer->isActive());
        QCOMPARE(m_form->Stav_Label->text(), QStringLiteral("HOTOVO"));
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zapnout odpočet"));
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání"));
        QVERIFY(m_closer->texts().isEmpty());
        if (mode == 1) {
            // About one second between the click on the bid button and the confirming move.
            const qsizetype confirm = m_input->events.indexOf(QStringLiteral("move 50,60"));
            QVERIFY(m_times[confirm] - m_times[confirm - 2] >= 1000);
        }
    }

    void browserNeverSeesTheKeys()
    {
        m_echo = false;
        m_form->Mod_RadioGroup->setItemIndex(1);
        armOneSecondAhead();
        m_now += 1.002 / 86400;
        m_form->Timer1Timer();
        QCOMPARE(m_input->events.last(), QStringLiteral("Control up"));
        QVERIFY(!m_input->events.contains(QStringLiteral("move 30,40")));
        QVERIFY(!m_input->events.contains(QStringLiteral("move 50,60")));
        QCOMPARE(m_form->Stav_Label->text(), QStringLiteral("NEPŘIHOZENO"));
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zapnout odpočet"));
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání"));
        QCOMPARE(m_closer->texts(), QStringList{QStringLiteral("Částka se nedostala do stránky aukce, příhoz nebyl potvrzen.")});
    }

    void inputThatCannotBeSent()
    {
        // The real backend, pointed at a display that does not exist.
        m_form->OpenInput = [] { return std::make_unique<XTestInputSink>(QStringLiteral(":999")); };
        m_form->Mod_RadioGroup->setItemIndex(1);
        armOneSecondAhead();
        m_now += 1.002 / 86400;
        m_form->Timer1Timer();
        QVERIFY(!m_form->Timer1->isActive());
        QCOMPARE(m_form->Stav_Label->text(), QString());
        QCOMPARE(m_form->Odpocitavat_BTT->text(), QStringLiteral("Zapnout odpočet"));
        QCOMPARE(m_form->GroupBox4->title(), QStringLiteral("Odpočítávání"));
        QCOMPARE(m_closer->texts(), QStringList{QStringLiteral("Došlo k chybě při pokusu o potvrzení příhozu. ")});
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
        m_form->TargetTime = m_now + secondsLeft / 86400;
        m_form->UdrzovaniSpojeni_TimerTimer();
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
    void armOneSecondAhead()
    {
        // Picker at 12:00:10 with n = 5: the moment is 12:00:01; armed at 12:00:00.
        m_form->doKonce_DTP->setTime(QTime(12, 0, 10));
        m_now = at(QTime(12, 0));
        m_form->Odpocitavat_BTTClick();
        QCOMPARE(fromDays(m_form->TargetTime), QDateTime(today, QTime(12, 0, 1)));
    }

    TestHttpServer m_server;
    QTemporaryDir m_dir;
    QWebEngineProfile *m_profile = nullptr;
    TMain_Form *m_form = nullptr;
    RecordingInputSink *m_input = nullptr;
    bool m_echo = true;
    double m_now = 0;
    QElapsedTimer m_clock;
    QList<qint64> m_times;
    QScopedPointer<MessageBoxAnswerer> m_closer;
};

KAVELIN_WEBTEST_MAIN(TestTrigger)
#include "tst_trigger.moc"
