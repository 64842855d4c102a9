#include "desktop/xtestinputsink.h"
#include "testhttpserver.h"
#include "ui/tabout_form.h"
#include "update/zjistiverzi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// While the update check waits for the server, and while its answer is shown, the program's
// other windows take input: a real click through the X server reaches them.
class TestAboutInput : public QObject
{
    Q_OBJECT
private:
    TestHttpServer m_server;
    QTemporaryDir m_dir;

    static QMessageBox *openBox() { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        QVERIFY(m_dir.isValid());
        QFile file(m_dir.filePath(QStringLiteral("kavelin.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1.0.4\n");
        file.close();
        qputenv("KAVELIN_MAKER_SITE", m_server.url(QStringLiteral("/")).toString().toUtf8());
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Kavelin"));
    }

    void otherWindowTakesInput_data()
    {
        QTest::addColumn<bool>("serverAnswers");
        QTest::newRow("while the answer is awaited") << false;
        QTest::newRow("while the answer's box is open") << true;
    }
    void otherWindowTakesInput()
    {
        QFETCH(bool, serverAnswers);
        TestHttpServer::Response response;
        response.body = "1.0.4";
        response.delayMs = serverAnswers ? 0 : -1;
        m_server.setRoute("/download/kavelin.txt", response);
        m_server.clearRequests();

        QPushButton other(QStringLiteral("Jiné okno"));
        other.setGeometry(20, 20, 200, 80);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        TAbout_Form form(m_dir.filePath(QStringLiteral("kavelin.txt")), QString());
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        XTestInputSink input;

        bool checking = false;
        bool clicked = false;
        bool clickedWhileChecking = false;
        bool buttonWasDisabled = false;
        bool buttonStayedDisabled = false;
        int secondCall = -1;
        QPointer<QMessageBox> box;
        Qt::WindowModality modality = Qt::NonModal;
        QWidget *boxParent = nullptr;
        const auto answerNow = [&] {
            // The network layer asks again for an answer cut off before it began.
            m_server.setRoute("/download/kavelin.txt", QByteArray("1.0.4"));
            m_server.dropConnections();
        };
        connect(&other, &QPushButton::clicked, this, [&] {
            clickedWhileChecking = checking;
            answerNow();
        });

        // Acts from inside the check's wait: once the request is out (or the box is open),
        // clicks the other window through the X server; once that click has arrived, closes
        // whatever box the check opens.
        bool givenUp = false;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            if (!checking)
                return;
            const bool ready = serverAnswers ? openBox() != nullptr
                                             : !m_server.requestsFor("/download/kavelin.txt").isEmpty();
            if (ready && !clicked) {
                clicked = true;
                buttonWasDisabled = !form.Button2->isEnabled();
                unsigned char newer = 0;
                secondCall = ZjistiVerzi("http://127.0.0.1:1/", nullptr, nullptr, nullptr, 0, &newer);
                form.Button2Click();
                buttonStayedDisabled = !form.Button2->isEnabled();
                if ((box = openBox())) {
                    modality = box->windowModality();
                    boxParent = box->parentWidget();
                }
                input.moveTo(other.mapToGlobal(other.rect().center()));
                input.leftButton(true);
                input.leftButton(false);
            }
            if ((clickedWhileChecking || givenUp) && openBox())
                openBox()->buttons().constFirst()->click();
        });
        driver.start(20);
        // A check that holds the click back ends on the watchdog instead of hanging.
        QTimer::singleShot(8000, this, [&] {
            givenUp = true;
            answerNow();
        });

        checking = true;
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        checking = false;

        QVERIFY2(clickedWhileChecking, "the click on the other window did not arrive during the check");
        QVERIFY(buttonWasDisabled);
        QVERIFY2(buttonStayedDisabled, "a click that could not start a check enabled the button again");
        QVERIFY(form.Button2->isEnabled());
        QCOMPARE(secondCall, ZV_BUSY);
        if (serverAnswers) {
            QCOMPARE(modality, Qt::WindowModal);
            QCOMPARE(boxParent, &form);
        }
    }
};

QTEST_MAIN(TestAboutInput)
#include "tst_aboutinput.moc"
