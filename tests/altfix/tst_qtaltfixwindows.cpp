#include "ui/altfixdecision.h"
#include "ui/altredrawbook.h"
#include "ui/qtaltfixwindows.h"
#include "ui/tvistaaltfix.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    QHash<QObject *, int> paints;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

// The redraw bookkeeping over real widgets.
class TestQtAltFixWindows : public QObject
{
    Q_OBJECT
private slots:
    void seesTheApplicationsWidgets()
    {
        QWidget form;
        auto *panel = new QWidget(&form);
        auto *label = new QLabel(QStringLiteral("text"), panel);
        auto *button = new QPushButton(QStringLiteral("OK"), panel);
        QtAltFixWindows windows;
        QVERIFY(windows.forms().contains(&form));
        QVERIFY(!windows.forms().contains(panel));
        QCOMPARE(windows.children(panel), QList<AltFixWindow>({label, button}));
        QVERIFY(windows.isWindowed(panel));
        QVERIFY(!windows.isWindowed(label));
        QCOMPARE(QtAltFixWindows::widget(button), button);

        auto *dialog = new QWidget;
        const AltFixWindow gone = dialog;
        QVERIFY(windows.forms().contains(gone));
        delete dialog;
        QVERIFY(!windows.forms().contains(gone));
        QCOMPARE(QtAltFixWindows::widget(gone), nullptr);
        QVERIFY(windows.children(gone).isEmpty());
        QVERIFY(!windows.isWindowed(gone));
    }

    void repaintReachesNestedControls()
    {
        QWidget form;
        form.resize(300, 200);
        auto *panel = new QWidget(&form);
        panel->setGeometry(0, 0, 300, 200);
        auto *group = new QGroupBox(QStringLiteral("skupina"), panel);
        group->setGeometry(10, 10, 200, 150);
        auto *button = new QPushButton(QStringLiteral("OK"), group);
        button->setGeometry(10, 30, 80, 25);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::qWait(50);

        PaintCounter counter;
        for (QWidget *w : {&form, panel, static_cast<QWidget *>(group), static_cast<QWidget *>(button)})
            w->installEventFilter(&counter);
        QtAltFixWindows windows;
        AltRedrawBook book(windows);
        book.idle();
        QVERIFY(counter.paints.isEmpty());
        book.uiStateChanged(&form);
        book.idle();
        QVERIFY(counter.paints.value(&form) >= 1);
        QVERIFY(counter.paints.value(group) >= 1);
        QVERIFY(counter.paints.value(button) >= 1);
    }

    void componentDecidesAtConstruction()
    {
        QWidget owner;
        auto *here = new TVistaAltFix(&owner);
        QVERIFY(!here->isActive());
        QCOMPARE(here->parent(), &owner);

        AltFixSystem styled;
        styled.sendsUiStateMessages = true;
        styled.osMajorVersion = 6;
        styled.themeLibraryLoaded = styled.appThemed = styled.themeActive = true;
        auto *active = new TVistaAltFix(&owner, styled);
        QVERIFY(active->isActive());
        // Idle moments pass with windows coming and going; then the component goes away
        // while the application keeps running.
        {
            QWidget dialog;
            dialog.show();
            QTest::qWait(50);
        }
        QTest::qWait(50);
        delete active;
        QTest::qWait(50);
    }
};

QTEST_MAIN(TestQtAltFixWindows)
#include "tst_qtaltfixwindows.moc"
