#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "messageboxanswerer.h"
#include "sniper/positions.h"
#include "testhttpserver.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "webtest.h"
#include "webwait.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineProfile>

namespace {
using webtest::pageTimeout;
const QStringList captions = {
    QStringLiteral("1. Souřadnice - Výše příhozu __ Kč"),
    QStringLiteral("2. Souřadnice - Tlačíto Přihodit na stránce zboží"),
    QStringLiteral("3. Souřadnice - Tlačíto Přihodit na stránce potvrzení příhozu"),
};
}

class TestCapture : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_server.setRoute("/", QByteArray(
            "<html><body style='margin:0'>"
            "<input id=f style='position:absolute;left:50px;top:40px;width:200px;height:30px'>"
            "<a href='/x' style='position:absolute;left:50px;top:120px'>link text</a>"
            "<p style='position:absolute;left:50px;top:200px'>plain</p>"
            "</body></html>"));
        m_profile = new QWebEngineProfile;
        m_form = new TMain_Form(m_profile);
        m_form->resize(1000, 800);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        QVERIFY(webtest::loadAndWait(*m_form->Chromium1->page(),
                                     [this] { m_form->Chromium1->NavigateTo(m_server.url().toString()); }));
    }

    void init()
    {
        m_dir.reset(new QTemporaryDir);
        inside(m_form).hooks().SettingsFolder = m_dir->path();
        m_closer.reset(new MessageBoxAnswerer);
    }

    void cleanupTestCase()
    {
        delete m_form;
        delete m_profile;
    }

    void everyMenuEndsWithTheItemsAndStoresWhereItOpened_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("tag");      // what the page has there, stored beside the point
        QTest::addColumn<bool>("warned");      // not what the position needs
        QTest::newRow("editable field, position 1") << QPoint(100, 55) << 1 << "input" << false;
        QTest::newRow("link, position 2") << QPoint(60, 128) << 2 << "a" << false;
        QTest::newRow("plain page, position 3") << QPoint(300, 400) << 3 << "body" << true;
    }
    void everyMenuEndsWithTheItemsAndStoresWhereItOpened()
    {
        QFETCH(QPoint, at);
        QFETCH(int, position);
        QFETCH(QString, tag);
        QFETCH(bool, warned);
        QMenu *menu = openMenu(at);
        QVERIFY(menu);
        const QList<QAction *> actions = menu->actions();
        QVERIFY(actions.size() > 4);   // the engine's own items come first
        QVERIFY(actions[actions.size() - 4]->isSeparator());
        for (int i = 0; i < 3; ++i) {
            QAction *item = actions[actions.size() - 3 + i];
            QCOMPARE(item->text(), captions[i]);
            QCOMPARE(item->data().toInt(), 101 + i);
            QVERIFY(item->shortcut().isEmpty());
        }
        // Chosen from the menu, with the pointer elsewhere by then: the opening point counts.
        QTest::mouseMove(m_form->Chromium1->view()->focusProxy(), QPoint(5, 5));
        menu->actions()[actions.size() - 4 + position]->trigger();
        menu->close();
        QCOMPARE(m_closer->texts().size(), 1);
        QVERIFY(m_closer->texts()[0].startsWith(QStringLiteral("Pozice byly uloženy.")));
        QCOMPARE(m_closer->texts()[0].contains(QStringLiteral("Pozor: na tomto místě není tlačítko")), warned);
        const TaughtPoint taught = readTaughtPoint(m_form->SettingsPath(), position);
        QCOMPARE(taught.element.tag, tag);
        QCOMPARE(taught.place->viewPoint, at);
        const QPoint global = m_form->Chromium1->view()->mapToGlobal(at) * m_form->devicePixelRatioF();
        QCOMPARE(readPosition(m_form->SettingsPath(), position), (ScreenPoint{global.x(), global.y()}));
        for (int other = 1; other <= 3; ++other) {
            if (other != position)
                QCOMPARE(readPosition(m_form->SettingsPath(), other), ScreenPoint{});
        }
    }

    void onlyTheCaptureIdsAreHandled_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("handled");
        QTest::newRow("engine item") << 1005 << false;
        QTest::newRow("100") << 100 << false;
        QTest::newRow("101") << 101 << true;
        QTest::newRow("103") << 103 << true;
        QTest::newRow("104") << 104 << false;
    }
    void onlyTheCaptureIdsAreHandled()
    {
        QFETCH(int, id);
        QFETCH(bool, handled);
        ContextMenuParams params;
        params.screenPixel = QPoint(7, 9);
        bool result = false;
        inside(m_form).Chromium1ContextMenuCommand(m_form->Chromium1, params, id, {}, result);
        QCOMPARE(result, handled);
        QCOMPARE(QFile::exists(m_form->SettingsPath()), handled);
        QCOMPARE(m_closer->texts().size(), handled ? 1 : 0);
    }

    void unwritableFileIsReportedAndNotConfirmed()
    {
        inside(m_form).hooks().SettingsFolder = m_dir->filePath(QStringLiteral("missing-folder"));
        ContextMenuParams params;
        params.screenPixel = QPoint(7, 9);
        bool result = false;
        inside(m_form).Chromium1ContextMenuCommand(m_form->Chromium1, params, 102, {}, result);
        QVERIFY(result);
        QCOMPARE(m_closer->texts().size(), 1);
        QVERIFY2(m_closer->texts()[0].startsWith(QStringLiteral("Pozice nebyla uložena: ")), qPrintable(m_closer->texts()[0]));
        QVERIFY(m_closer->texts()[0].size() > 23);
        QVERIFY(!QFile::exists(m_form->SettingsPath()));
    }

private:
    QMenu *openMenu(const QPoint &at)
    {
        return webtest::openContextMenu(m_form->Chromium1->view()->focusProxy(), at);
    }

    TestHttpServer m_server;
    QWebEngineProfile *m_profile = nullptr;
    TMain_Form *m_form = nullptr;
    QScopedPointer<QTemporaryDir> m_dir;
    QScopedPointer<MessageBoxAnswerer> m_closer;
};

KAVELIN_WEBTEST_MAIN(TestCapture)
#include "tst_capture.moc"
