#include "app/kavelinapplication.h"
#include "messageboxanswerer.h"

#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <stdexcept>

// An exception escaping a handler is shown in the error box and the program goes on.
class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void exceptionFromHandlerIsShownAndProgramGoesOn_data()
    {
        QTest::addColumn<bool>("standard");
        QTest::addColumn<QString>("shown");
        QTest::newRow("std::exception, full stop added") << true << QStringLiteral("Soubor nelze otevřít.");
        QTest::newRow("unknown exception") << false << QStringLiteral("Neznámá chyba.");
    }

    void exceptionFromHandlerIsShownAndProgramGoesOn()
    {
        QFETCH(bool, standard);
        QFETCH(QString, shown);

        MessageBoxAnswerer boxes;

        bool afterwards = false;
        QTimer::singleShot(0, this, [standard] {
            if (standard)
                throw std::runtime_error("Soubor nelze otevřít");
            throw 42;
        });
        QTimer::singleShot(50, this, [&afterwards] { afterwards = true; });

        QTRY_COMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen.first().text, shown);
        QCOMPARE(boxes.seen.first().title, QStringLiteral("Kavelin"));
        QCOMPARE(boxes.seen.first().icon, QMessageBox::Critical);
        QTRY_VERIFY(afterwards);
    }
};

int main(int argc, char **argv)
{
    KavelinApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
