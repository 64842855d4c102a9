#include "app/appfolders.h"
#include "app/windowfont.h"
#include "ui/tabout_form.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "webtest.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineProfile>

// The windows' labels are placed at sizes drawn for Tahoma. Whatever font the window gets, no
// label may cut its text: each is at least as wide as its text and stays inside its parent.
class TestLabelWidths : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    // Switches the application's fonts to the case of the row; false with a message when the
    // case cannot be made here.
    void useFont(bool tahoma)
    {
        QFontDatabase::removeAllApplicationFonts();
        if (tahoma)
            QVERIFY2(loadTahoma() == 2, "Tahoma of fonts-wine is missing: scripts/install-deps.sh installs it");
    }

    static QString describe(const QLabel *label)
    {
        return QStringLiteral("\"%1\" at %2,%3 %4x%5 (its text needs %6x%7, its parent is %8 wide)")
            .arg(label->text())
            .arg(label->x()).arg(label->y()).arg(label->width()).arg(label->height())
            .arg(label->sizeHint().width())
            .arg(label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height())
            .arg(label->parentWidget()->width());
    }

    static QStringList cutLabels(const QWidget &window)
    {
        QStringList cut;
        for (const QLabel *label : window.findChildren<QLabel *>()) {
            const bool fits = label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                                : label->width() >= label->sizeHint().width();
            if (!fits || label->geometry().right() >= label->parentWidget()->width())
                cut << describe(label);
        }
        return cut;
    }

    static void checkFamily(const QWidget &window, bool tahoma)
    {
        const QString family = QFontInfo(window.font()).family();
        if (tahoma)
            QCOMPARE(family, QStringLiteral("Tahoma"));
        else if (family == QStringLiteral("Tahoma"))
            QSKIP("Tahoma is one of the system's fonts here: there is no other font to try");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qunsetenv("KAVELIN_AUCTION_SITE");
        QFile version(m_dir.filePath(QStringLiteral("kavelin.txt")));
        QVERIFY(version.open(QIODevice::WriteOnly));
        version.write("1.0.0\n");
    }

    void mainWindow_data()
    {
        QTest::addColumn<bool>("tahoma");
        QTest::newRow("Tahoma of fonts-wine") << true;
        QTest::newRow("another font") << false;
    }

    void mainWindow()
    {
        QFETCH(bool, tahoma);
        useFont(tahoma);
        QWebEngineProfile profile;
        TMain_Form form(&profile);
        checkFamily(form, tahoma);
        inside(&form).Timer2Timer();
        const QStringList cut = cutLabels(form);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

    void aboutWindow_data()
    {
        QTest::addColumn<bool>("tahoma");
        QTest::addColumn<QString>("settingsFolder");
        QTest::newRow("Tahoma, installed") << true << QStringLiteral("/home/ann/.config/Kavelin");
        QTest::newRow("Tahoma, a folder longer than the window")
            << true << QStringLiteral("/home/ann/") + QString(80, QLatin1Char('x')) + QStringLiteral("/.config/Kavelin");
        QTest::newRow("another font, installed") << false << QStringLiteral("/home/ann/.config/Kavelin");
    }

    void aboutWindow()
    {
        QFETCH(bool, tahoma);
        QFETCH(QString, settingsFolder);
        useFont(tahoma);
        AppFolders folders;
        folders.settingsFolder = settingsFolder;
        TAbout_Form form(m_dir.filePath(QStringLiteral("kavelin.txt")), installationText(folders));
        checkFamily(form, tahoma);
        QVERIFY(form.installationLabel->text().startsWith(QStringLiteral("Nainstalováno")));
        const QStringList cut = cutLabels(form);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }
};

KAVELIN_WEBTEST_MAIN(TestLabelWidths)
#include "tst_labelwidths.moc"
