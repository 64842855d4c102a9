#include "messageboxanswerer.h"
#include "ui/tabout_form.h"
#include "zjistiverzi_double.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

class TestAboutForm : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    void writeVersion(const QByteArray &content)
    {
        QFile file(m_dir.filePath(QStringLiteral("kavelin.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Kavelin"));
        qputenv("KAVELIN_MAKER_SITE", "https://kavelin.example");
    }
    void init()
    {
        zjistiVerziCalls.clear();
        writeVersion("1.2.3\n4.5.6\n");
    }

    void windowAsCreated()
    {
        TAbout_Form form(m_dir.filePath(QStringLiteral("kavelin.txt")), QString());
        QVERIFY(form.isHidden());
        QCOMPARE(form.windowTitle(), QStringLiteral("O programu"));
        QCOMPARE(form.size(), QSize(668, 304));
        QVERIFY(!form.testAttribute(Qt::WA_QuitOnClose));
        // The text down the left side, the version and the button beside it, all inside.
        const QRect memo = form.Memo1->geometry();
        QCOMPARE(memo.height(), form.height());
        QVERIFY(form.rect().contains(memo));
        QVERIFY(form.Memo1->font().fixedPitch());
        QCOMPARE(form.Memo1->font().pixelSize(), 11);
        QCOMPARE(form.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!form.Memo1->isReadOnly());
        QVERIFY(form.Label3->x() > memo.right());
        QCOMPARE(form.Label3->text(), QStringLiteral("Verze programu: 12.3"));
        QCOMPARE(form.Button2->text(), QStringLiteral("Zkontrolovat aktualizace"));
        QVERIFY(form.Button2->x() > memo.right());
        QVERIFY(form.Button2->y() > form.Label3->y());
        QVERIFY(form.rect().contains(form.Button2->geometry()));

        const QTextDocument *text = form.Memo1->document();
        QCOMPARE(text->blockCount(), 12);
        const auto line = [text](int n) { return text->findBlockByNumber(n - 1).text(); };
        QCOMPARE(line(1), QStringLiteral("Kavelin"));
        for (int empty : {2, 6, 8, 11, 12})
            QVERIFY2(line(empty).isEmpty(), qPrintable(QString::number(empty)));
        for (int contact : {3, 4, 5})
            QVERIFY(!line(contact).isEmpty());
        QCOMPARE(line(7), QString(48, QLatin1Char('-')));
        QCOMPARE(line(9), QStringLiteral("Návod k použití je dostupný na adrese "));
        QCOMPARE(line(10), QStringLiteral("https://kavelin.example/kavelin.php"));
    }

    // The version file is read once, when the window is created.
    void closingOnlyHides()
    {
        QPointer<TAbout_Form> form = new TAbout_Form(m_dir.filePath(QStringLiteral("kavelin.txt")), QString());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        writeVersion("9.9");
        QVERIFY(form->close());
        QVERIFY(form);
        QVERIFY(form->isHidden());
        form->show();
        QCOMPARE(form->Label3->text(), QStringLiteral("Verze programu: 12.3"));
        delete form;
    }

    void missingVersionFile()
    {
        QTemporaryDir empty;
        MessageBoxAnswerer answerer;
        TAbout_Form form(empty.filePath(QStringLiteral("kavelin.txt")), QString());
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen.first().text, QStringLiteral("File not found."));
        QCOMPARE(answerer.seen.first().title, QStringLiteral("Kavelin"));
        QCOMPARE(answerer.seen.first().icon, QMessageBox::Critical);
        QCOMPARE(form.Label3->text(), QString());
        QTest::qWait(60);
        QCOMPARE(answerer.seen.size(), 1);
    }

    void emptyVersionFileIsNoError()
    {
        writeVersion("");
        MessageBoxAnswerer answerer;
        TAbout_Form form(m_dir.filePath(QStringLiteral("kavelin.txt")), QString());
        QCOMPARE(form.Label3->text(), QStringLiteral("Verze programu: "));
        QTest::qWait(60);
        QVERIFY(answerer.seen.isEmpty());
    }

    void updateCheckArguments_data()
    {
        QTest::addColumn<bool>("tempSet");
        QTest::addColumn<QByteArray>("temp");
        QTest::newRow("TEMP as the environment has it") << true << QByteArray("/var/tmp/dočasné/");
        QTest::newRow("TEMP unset") << false << QByteArray();
        QTest::newRow("TEMP empty") << true << QByteArray();
    }
    void updateCheckArguments()
    {
        QFETCH(bool, tempSet);
        QFETCH(QByteArray, temp);
        const QByteArray saved = qgetenv("TEMP");
        const bool wasSet = qEnvironmentVariableIsSet("TEMP");
        if (tempSet)
            qputenv("TEMP", temp);
        else
            qunsetenv("TEMP");

        TAbout_Form form(m_dir.filePath(QStringLiteral("kavelin.txt")), QString());
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QTest::mouseClick(form.Button2, Qt::LeftButton);

        if (wasSet)
            qputenv("TEMP", saved);
        else
            qunsetenv("TEMP");

        QCOMPARE(zjistiVerziCalls.size(), 2);
        const ZjistiVerziCall &call = zjistiVerziCalls.first();
        QCOMPARE(call.remote, QByteArray("https://kavelin.example/download/kavelin.txt"));
        QCOMPARE(call.local, QFile::encodeName(m_dir.path()) + "/kavelin.txt");
        QCOMPARE(call.download, QByteArray("https://kavelin.example/stazeni.php"));
        QVERIFY(!call.remoteNull && !call.localNull && !call.downloadNull);
        QCOMPARE(call.tempNull, temp.isEmpty());
        QCOMPARE(call.temp, temp);
        QCOMPARE(call.notifyUser, 1);
        QVERIFY(!call.flagNull);
        QCOMPARE(call.flagOnEntry, 0);
        const ZjistiVerziCall &again = zjistiVerziCalls.last();
        QCOMPARE(again.remote, call.remote);
        QCOMPARE(again.local, call.local);
        QCOMPARE(again.download, call.download);
        QCOMPARE(again.temp, call.temp);
        QCOMPARE(again.tempNull, call.tempNull);
        QCOMPARE(again.flagOnEntry, 0);
        QCOMPARE(form.Label3->text(), QStringLiteral("Verze programu: 12.3"));
    }
};

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
