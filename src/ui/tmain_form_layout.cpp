// Building the main window's controls: placement, texts, colours and tab order.
#include "ui/tmain_form.h"

#include "browser/tchromium.h"
#include "common/siteaddresses.h"
#include "common/timeformat.h"
#include "ui/clicklabel.h"
#include "ui/labelfit.h"
#include "ui/tradiogroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QColor testModeColor(255, 240, 179);

QFont tahoma(int pixelSize)
{
    // Where Tahoma is missing, a sans-serif takes its place and the labels grow to their texts.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    return font;
}

template<typename T>
T *place(T *control, QWidget *parent, int left, int top, int width, int height)
{
    control->setParent(parent);
    control->setGeometry(left, top, width, height);
    return control;
}

// A label at its drawn place, wider when its text needs it.
template<typename T = QLabel>
T *label(const QString &text, QWidget *parent, int left, int top, int width, int height)
{
    T *control = place(new T(text), parent, left, top, width, height);
    fitLabelToText(control);
    return control;
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, color);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void makeLink(ClickLabel *link, Qt::CursorShape cursor)
{
    QPalette p = link->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    link->setPalette(p);
    link->setCursor(cursor);
}

} // namespace

void TMain_Form::createControls(QWebEngineProfile *profile)
{
    setWindowTitle(QStringLiteral("Kavelin"));
    setFont(tahoma(11));

    // Right: the control panel, "O programu" at its bottom, the rest scrolling above it. The
    // panel is in the window before its controls are made, so they measure in the window's font.
    Panel1 = new QWidget(this);
    Panel1->setFixedWidth(285);
    Panel1->setAutoFillBackground(true);
    Button1 = new QPushButton(QStringLiteral("O programu"));
    Button1->setFixedHeight(33);
    ScrollBox1 = new QScrollArea(Panel1);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto *content = new QWidget;
    content->setFixedSize(257, 604);
    ScrollBox1->setWidget(content);
    createPanel(content);
    auto *panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(ScrollBox1, 1);
    panelLayout->addWidget(Button1);

    // Left: the address box over the browser.
    Panel2 = new QWidget;
    adress = new QLineEdit;
    adress->setFixedHeight(21);
    Chromium1 = new TChromium(profile);
    auto *browserLayout = new QVBoxLayout(Panel2);
    browserLayout->setContentsMargins(0, 0, 0, 0);
    browserLayout->setSpacing(0);
    browserLayout->addWidget(adress);
    browserLayout->addWidget(Chromium1, 1);

    StatusBar1 = new QStatusBar;
    StatusBar1->setFixedHeight(19);

    auto *columns = new QHBoxLayout;
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(Panel2, 1);
    columns->addWidget(Panel1);
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addLayout(columns, 1);
    rows->addWidget(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(1000);
    UdrzovaniSpojeni_Timer = new QTimer(this);
    UdrzovaniSpojeni_Timer->setInterval(300000);

    // Restored, the client area is 789 x 769, centred on the desktop.
    const QRect desktop = screen()->availableGeometry();
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(789, 769), desktop));
    createTabOrder();
}

void TMain_Form::createPanel(QWidget *content)
{
    Label1 = label(QStringLiteral("Nejprve se přihlašte!"), content, 144, 11, 100, 13);
    Label3 = label<ClickLabel>(QStringLiteral("Přejít na ") + auctionSiteAddress(), content, 16, 11, 116, 13);
    makeLink(Label3, Qt::PointingHandCursor);

    Cas_Groupbox = place(new QGroupBox(QStringLiteral("Aktuální čas počítače")), content, 16, 52, 225, 66);
    AktulniCas_Label = new QLabel(Cas_Groupbox);
    AktulniCas_Label->move(8, 16);

    KonecAukce_GroupBox = place(new QGroupBox(QStringLiteral("Konec aukce")), content, 16, 124, 225, 77);
    doKonce_DTP = place(new QDateTimeEdit, KonecAukce_GroupBox, 8, 17, 69, 21);
    doKonce_DTP->setDisplayFormat(longTimeFormat(QLocale::system()));
    doKonce_DTP->setDateTime(QDateTime(QDate(2000, 1, 1), QTime(1, 0)));
    Button4 = place(new QPushButton(QStringLiteral("načíst čas")), KonecAukce_GroupBox, 83, 17, 62, 21);
    Zitra_CheckBox = place(new QCheckBox(QStringLiteral("zítra")), KonecAukce_GroupBox, 159, 19, 50, 17);
    Button5 = place(new QPushButton(QStringLiteral("Nyní + 15 sekund")), KonecAukce_GroupBox, 83, 46, 102, 20);

    GroupBox2 = place(new QGroupBox(QStringLiteral("Přihodit pevnou částku")), content, 14, 213, 227, 100);
    setBackground(GroupBox2, QColor(248, 248, 248));
    Label5 = label(QStringLiteral("Jakmile bude zbývat"), GroupBox2, 8, 28, 97, 13);
    Sekund1_Edit = place(new QLineEdit(QStringLiteral("5")), GroupBox2, 110, 25, 33, 21);
    Label7 = label(QStringLiteral("sekund"), GroupBox2, 149, 28, 34, 13);
    Label8 = label(QStringLiteral("do konce času,"), GroupBox2, 9, 47, 72, 13);
    Label9 = label(QStringLiteral("přihoď přesně"), GroupBox2, 9, 66, 68, 13);
    castka1_edit = place(new QLineEdit(QStringLiteral("1")), GroupBox2, 87, 63, 49, 21);
    Label10 = label(QStringLiteral("Kč."), GroupBox2, 140, 66, 15, 13);

    GroupBox5 = place(new QGroupBox(QStringLiteral("Upozornění")), content, 16, 319, 225, 106);
    Label17 = place(new QLabel(QStringLiteral("Pro správnou funkci programu nejdříve nastavte souřadnice.")),
                    GroupBox5, 16, 24, 189, 26);
    Label17->setWordWrap(true);
    fitLabelToText(Label17);
    Label18 = label<ClickLabel>(QStringLiteral("Více viz nápověda."), GroupBox5, 16, 64, 90, 13);
    makeLink(Label18, Qt::WhatsThisCursor);
    Label18->setAutoFillBackground(true);

    Mod_RadioGroup = place(new TRadioGroup(QStringLiteral("Mód programu"),
                                           {QStringLiteral("testovací mód - nepotvrdí se příhoz"),
                                            QStringLiteral("ostrý mód - dojde k potvrzení příhozu")}),
                           content, 16, 431, 225, 74);
    Mod_RadioGroup->setItemIndex(0);
    Mod_RadioGroup->setColor(testModeColor);

    GroupBox4 = place(new QGroupBox(QStringLiteral("Odpočítávání")), content, 16, 519, 225, 85);
    GroupBox4->setFlat(true);
    setBackground(GroupBox4, Qt::white);
    Stav_Label = place(new QLabel(QString(12, QLatin1Char(' '))), GroupBox4, 8, 57, 60, 19);
    Stav_Label->setFont(tahoma(16));
    fitLabelToText(Stav_Label);
    setBackground(Stav_Label, Qt::white);
    Odpocitavat_BTT = place(new QPushButton(QStringLiteral("Zapnout odpočet")), GroupBox4, 12, 26, 205, 25);
}

void TMain_Form::createTabOrder()
{
    const QList<QWidget *> order = {Button1, Odpocitavat_BTT, Mod_RadioGroup->item(0), Mod_RadioGroup->item(1),
                                    doKonce_DTP, Button4, Zitra_CheckBox, Button5,
                                    Sekund1_Edit, castka1_edit, adress};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
