#include "ui/tabout_form.h"

#include "common/siteaddresses.h"
#include "ui/messages.h"
#include "ui/versionline.h"
#include "update/zjistiverzi.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace {
constexpr int clientWidth = 668;
constexpr int clientHeight = 304;
constexpr int memoWidth = 425;
constexpr QPoint versionPlace(440, 168);
constexpr QPoint installationPlace(440, 236);

QUrl onSite(const QString &site, const QString &path)
{
    return QUrl(site).resolved(QUrl(path));
}

QString informationText(const QString &site)
{
    const QStringList lines = {
        QStringLiteral("Kavelin"),
        QString(),
        QStringLiteral("Autor: tým projektu Kavelin"),
        QStringLiteral("E-mail: podpora@kavelin.cz"),
        QStringLiteral("Web: ") + site,
        QString(),
        QString(48, QLatin1Char('-')),
        QString(),
        QStringLiteral("Návod k použití je dostupný na adrese "),
        onSite(site, QStringLiteral("/kavelin.php")).toString(),
        QString(),
        QString(),
    };
    return lines.join(QLatin1Char('\n'));
}

// An empty text goes to the library as a null pointer.
const char *textOrNull(const QByteArray &text)
{
    return text.isEmpty() ? nullptr : text.constData();
}
} // namespace

TAbout_Form::TAbout_Form(const QString &versionFile, const QString &installation, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_versionFile(versionFile)
{
    createControls();
    showInstallation(installation);
    connect(Button2, &QPushButton::clicked, this, &TAbout_Form::Button2Click);
    FormCreate();
}

void TAbout_Form::createControls()
{
    setObjectName(QStringLiteral("About_Form"));
    setWindowTitle(QStringLiteral("O programu"));
    // Closing the main window ends the program even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    fixed.setPixelSize(11);
    Memo1->setFont(fixed);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The selection stays visible when the box loses focus.
    QPalette palette = Memo1->palette();
    palette.setBrush(QPalette::Inactive, QPalette::Highlight, palette.brush(QPalette::Active, QPalette::Highlight));
    palette.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                     palette.brush(QPalette::Active, QPalette::HighlightedText));
    Memo1->setPalette(palette);
    Memo1->setPlainText(informationText(makerSiteAddress()));

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(versionPlace);

    Button2 = new QPushButton(QStringLiteral("Zkontrolovat aktualizace"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(442, 198, 145, 25);

    installationLabel = new QLabel(this);
    installationLabel->setObjectName(QStringLiteral("installationLabel"));
    installationLabel->move(installationPlace);

    resize(clientWidth, clientHeight);
    Memo1->setGeometry(0, 0, memoWidth, clientHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect area(QPoint(), size());
        area.moveCenter(screen->geometry().center());
        move(area.topLeft());
    }
}

void TAbout_Form::resizeEvent(QResizeEvent *event)
{
    Memo1->setGeometry(0, 0, memoWidth, height());
    QWidget::resizeEvent(event);
}

void TAbout_Form::showInstallation(const QString &installation)
{
    // A folder too long for the window is shortened in its middle; the tip shows it whole.
    const int room = clientWidth - installationPlace.x();
    const QFontMetrics metrics = installationLabel->fontMetrics();
    QStringList lines = installation.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = metrics.elidedText(line, Qt::ElideMiddle, room);
    const QString shown = lines.join(QLatin1Char('\n'));
    installationLabel->setText(shown);
    installationLabel->setToolTip(shown == installation ? QString() : installation);
    installationLabel->adjustSize();
}

void TAbout_Form::FormCreate()
{
    const VersionFileLine version = readVersionFileLine(m_versionFile);
    if (!version.ok) {
        showErrorBox(version.error);
        return;
    }
    Label3->setText(versionLabelText(version.line));
    Label3->adjustSize();
}

void TAbout_Form::Button2Click()
{
    if (!Button2->isEnabled())   // a check is running
        return;
    const QString site = makerSiteAddress();
    const QByteArray remote = onSite(site, QStringLiteral("/download/kavelin.txt")).toString().toUtf8();
    const QByteArray local = QFile::encodeName(m_versionFile);
    const QByteArray download = onSite(site, QStringLiteral("/stazeni.php")).toString().toUtf8();
    const QByteArray temp = qgetenv("TEMP");
    unsigned char newer = 0;
    // The library lets events through while it waits, the button's click included: it stays
    // disabled until the check is over, so a check is never started inside another.
    Button2->setEnabled(false);
    ZjistiVerzi(textOrNull(remote), textOrNull(local), textOrNull(download), textOrNull(temp), 1, &newer);
    Button2->setEnabled(true);
}
