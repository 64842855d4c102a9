#include "ui/altfixdecision.h"
#include "ui/altredrawbook.h"

#include <QStringList>
#include <QTest>

#include <deque>

Q_DECLARE_METATYPE(AltFixSystem)

// Windows that exist only as records: a name, windowed or not, children. A destroyed window
// stays in memory so that any use of it after its destruction is noticed.
class FakeWindows : public AltFixWindowList
{
public:
    struct Window {
        QString name;
        bool windowed = true;
        QList<Window *> children;
        bool destroyed = false;
    };

    Window *add(const QString &name, Window *parent = nullptr, bool windowed = true)
    {
        Window *w = &m_windows.emplace_back(Window{name, windowed, {}, false});
        if (parent)
            parent->children.append(w);
        else
            m_forms.append(w);
        return w;
    }
    void destroy(Window *form)
    {
        m_forms.removeAll(form);
        form->destroyed = true;
    }

    QList<AltFixWindow> forms() const override
    {
        QList<AltFixWindow> result;
        for (Window *w : m_forms)
            result.append(w);
        return result;
    }
    QList<AltFixWindow> children(AltFixWindow control) const override
    {
        QList<AltFixWindow> result;
        for (Window *w : use(control)->children)
            result.append(w);
        return result;
    }
    bool isWindowed(AltFixWindow control) const override { return use(control)->windowed; }
    void repaint(AltFixWindow control) override { repainted.append(use(control)->name); }

    QStringList repainted;
    mutable QStringList touchedAfterDestruction;

private:
    const Window *use(AltFixWindow control) const
    {
        const auto *w = static_cast<const Window *>(control);
        if (w->destroyed)
            touchedAfterDestruction.append(w->name);
        return w;
    }

    std::deque<Window> m_windows;
    QList<Window *> m_forms;
};

class TestAltRedrawBook : public QObject
{
    Q_OBJECT
private slots:
    void formsAreWatchedFromTheFirstIdleMoment()
    {
        FakeWindows windows;
        auto *main = windows.add(QStringLiteral("main"));
        windows.add(QStringLiteral("about"));
        AltRedrawBook book(windows);
        QVERIFY(!book.isWatched(main));
        book.uiStateChanged(main);  // before the first idle moment: not watched yet
        book.idle();
        QCOMPARE(book.recordCount(), 2);
        QVERIFY(book.isWatched(main));
        QVERIFY(windows.repainted.isEmpty());
        book.idle();
        QCOMPARE(book.recordCount(), 2);
        QVERIFY(windows.repainted.isEmpty());
    }

    void aBurstOfMessagesGivesOneRepaint()
    {
        FakeWindows windows;
        auto *main = windows.add(QStringLiteral("main"));
        windows.add(QStringLiteral("button"), main);
        AltRedrawBook book(windows);
        book.idle();
        for (int i = 0; i < 3; ++i)
            book.uiStateChanged(main);
        book.idle();
        QCOMPARE(windows.repainted, QStringList({QStringLiteral("main"), QStringLiteral("button")}));
        book.idle();
        QCOMPARE(windows.repainted.size(), 2);
        book.uiStateChanged(main);
        book.idle();
        QCOMPARE(windows.repainted.size(), 4);
    }

    // Parent before children, depth first in child order; labels are skipped together with
    // whatever lies below them.
    void repaintWalksWindowedControlsDepthFirst()
    {
        FakeWindows windows;
        auto *form = windows.add(QStringLiteral("form"));
        auto *panel = windows.add(QStringLiteral("panel"), form);
        auto *group = windows.add(QStringLiteral("group"), panel);
        windows.add(QStringLiteral("button in group"), group);
        auto *label = windows.add(QStringLiteral("label"), group, false);
        windows.add(QStringLiteral("under label"), label);
        windows.add(QStringLiteral("edit"), panel);
        windows.add(QStringLiteral("status label"), form, false);
        windows.add(QStringLiteral("last button"), form);
        AltRedrawBook book(windows);
        book.idle();
        book.uiStateChanged(form);
        book.idle();
        QCOMPARE(windows.repainted, QStringList({"form", "panel", "group", "button in group", "edit", "last button"}));
    }

    void recordsAreWalkedFromTheLast()
    {
        FakeWindows windows;
        auto *first = windows.add(QStringLiteral("first"));
        auto *second = windows.add(QStringLiteral("second"));
        AltRedrawBook book(windows);
        book.idle();
        book.uiStateChanged(first);
        book.uiStateChanged(second);
        book.idle();
        QCOMPARE(windows.repainted, QStringList({"second", "first"}));
    }

    void aClosedWindowIsDroppedWithoutBeingTouched()
    {
        FakeWindows windows;
        auto *main = windows.add(QStringLiteral("main"));
        auto *dialog = windows.add(QStringLiteral("dialog"));
        windows.add(QStringLiteral("ok"), dialog);
        AltRedrawBook book(windows);
        book.idle();
        book.uiStateChanged(dialog);  // pending when the dialog goes away
        windows.destroy(dialog);
        book.idle();
        QCOMPARE(book.recordCount(), 1);
        QVERIFY(book.isWatched(main));
        QVERIFY(!book.isWatched(dialog));
        QVERIFY(windows.repainted.isEmpty());
        QVERIFY(windows.touchedAfterDestruction.isEmpty());
        book.uiStateChanged(dialog);  // a late message for a dropped record changes nothing
        book.idle();
        QVERIFY(windows.repainted.isEmpty());
        QVERIFY(windows.touchedAfterDestruction.isEmpty());
    }

    void aWindowOpenedLaterIsWatchedFromTheNextIdleMoment()
    {
        FakeWindows windows;
        windows.add(QStringLiteral("main"));
        AltRedrawBook book(windows);
        book.idle();
        auto *box = windows.add(QStringLiteral("message box"));
        book.uiStateChanged(box);
        book.idle();
        QVERIFY(book.isWatched(box));
        QVERIFY(windows.repainted.isEmpty());
        book.uiStateChanged(box);
        book.idle();
        QCOMPARE(windows.repainted, QStringList({"message box"}));
    }

    void decision_data()
    {
        QTest::addColumn<AltFixSystem>("system");
        QTest::addColumn<bool>("active");
        AltFixSystem styled;
        styled.sendsUiStateMessages = true;
        styled.osMajorVersion = 6;
        styled.themeLibraryLoaded = styled.appThemed = styled.themeActive = true;
        styled.commonControlsVersion = 0x00060010;
        QTest::newRow("version 6 with visual styles") << styled << true;
        AltFixSystem s = styled;
        s.osMajorVersion = 10;
        QTest::newRow("version 10") << s << true;
        s = styled;
        s.sendsUiStateMessages = false;
        QTest::newRow("X11: no UI-state messages") << s << false;
        s = styled;
        s.osMajorVersion = 5;
        QTest::newRow("version 5") << s << false;
        s = styled;
        s.osMajorVersion.reset();
        QTest::newRow("version query failed") << s << false;
        s = styled;
        s.themeLibraryLoaded = false;
        QTest::newRow("no theme library") << s << false;
        s = styled;
        s.appThemed = false;
        QTest::newRow("application not themed") << s << false;
        s = styled;
        s.themeActive = false;
        QTest::newRow("theme not active") << s << false;
        s = styled;
        s.commonControlsVersion = 0x0005FFFF;
        QTest::newRow("common controls 5") << s << false;
        s.commonControlsVersion = 0x00060000;
        QTest::newRow("common controls 6.0") << s << true;
        s.commonControlsVersion.reset();
        QTest::newRow("common controls version unreadable") << s << true;
    }
    void decision()
    {
        QFETCH(AltFixSystem, system);
        QFETCH(bool, active);
        QCOMPARE(altFixActive(system), active);
    }

    void inactiveOnThisSystem()
    {
        QVERIFY(!altFixActive(currentAltFixSystem()));
    }
};

QTEST_GUILESS_MAIN(TestAltRedrawBook)
#include "tst_altredrawbook.moc"
