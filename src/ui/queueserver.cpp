#include "ui/queueserver.h"

#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "desktop/alerts.h"
#include "desktop/sleepinhibitor.h"
#include "sniper/bidamount.h"
#include "sniper/bidoutcome.h"
#include "sniper/countdown.h"
#include "ui/messages.h"
#include "ui/queuestore.h"
#include "ui/tmain_form.h"
#include "ui/tqueue_form.h"
#include "ui/tradiogroup.h"

#include <QCheckBox>
#include <QDir>
#include <QStandardPaths>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <cmath>

namespace {
constexpr double msPerDay = 86400000.0;
// A bid that has not told its outcome this long after its moment (and whose countdown is off)
// is taken as failed, so that the queue goes on.
constexpr double outcomeLateMs = 120000;

double msBetween(double from, double to)
{
    return (to - from) * msPerDay;
}
} // namespace

QueueServer::QueueServer(TMain_Form *form, const QString &path)
    : QObject(form)
    , m_form(form)
    , m_store(new QueueStore(path, this))
    , m_inhibitor(new SleepInhibitor(this))
    , m_tick(new QTimer(this))
{
    // Under the countdown, below keeping watch and the history.
    QWidget *content = form->GroupBox4->parentWidget();
    content->setFixedHeight(qMax(content->height(), 800));
    Pridat_BTT = new QPushButton(QStringLiteral("Přidat do fronty"), content);
    Pridat_BTT->setGeometry(16, 733, 225, 25);
    Fronta_BTT = new QPushButton(QStringLiteral("Fronta příhozů"), content);
    Fronta_BTT->setGeometry(16, 763, 225, 25);
    connect(Pridat_BTT, &QPushButton::clicked, this, &QueueServer::add);
    connect(Fronta_BTT, &QPushButton::clicked, this, &QueueServer::showQueue);
    connect(form, &TMain_Form::bidFinished, this, &QueueServer::panelBidFinished);
    connect(m_store, &QueueStore::notSaved, this, [this](const QString &file) {
        tell(QStringLiteral("Frontu příhozů se nepodařilo uložit do souboru %1.").arg(file), true);
    });

    const LoadedQueue loaded = m_store->load(form->m_hooks.Now(), QDateTime::currentDateTime());
    if (loaded.missed > 0 || loaded.damaged)
        QTimer::singleShot(0, this, [this, loaded] { tellAtStart(loaded); });

    connect(m_store, &QueueStore::changed, this, &QueueServer::serve, Qt::QueuedConnection);
    m_tick->setInterval(1000);
    connect(m_tick, &QTimer::timeout, this, &QueueServer::serve);
    m_tick->start();
    // The first look comes once the window is made: a bid due at once loads its page after the
    // window's own start page, not before it.
    QTimer::singleShot(0, this, &QueueServer::serve);
}

QString QueueServer::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("fronta.json"));
}

void QueueServer::add()
{
    const QUrl page(m_form->Chromium1->CurrentUrl());
    if (page.scheme() != QLatin1String("http") && page.scheme() != QLatin1String("https")) {
        showMessage(QStringLiteral("V prohlížeči není otevřena stránka zboží. Příhoz nebyl zařazen do fronty."), m_form);
        return;
    }
    const std::optional<qint32> seconds = armingSeconds(m_form->Sekund1_Edit->text());
    if (!seconds) {
        showMessage(QStringLiteral("Počet sekund musí být celé číslo od %1 do %2. Příhoz nebyl zařazen do fronty.")
                        .arg(fewestSeconds)
                        .arg(mostSeconds),
                    m_form);
        return;
    }
    const std::optional<QString> amount = positiveAmount(m_form->castka1_edit->text());
    if (!amount) {
        showMessage(failureReason({BidFailure::BadAmount, 0, m_form->castka1_edit->text()})
                        + QStringLiteral(" Příhoz nebyl zařazen do fronty."),
                    m_form);
        return;
    }
    const double now = m_form->m_hooks.Now();
    QueuedBid bid;
    bid.url = page.toString();
    bid.title = m_form->Chromium1->page()->title();
    bid.end = queuedEnd(now, toDays(m_form->doKonce_DTP->dateTime()), m_form->Zitra_CheckBox->isChecked());
    bid.seconds = *seconds;
    bid.amount = *amount;
    bid.live = m_form->Mod_RadioGroup->ItemIndex() == 1;
    // The panel's own countdown, armed by the user, keeps its distance too.
    if (m_form->Timer1->isActive() && !m_serving
        && std::abs(msBetween(m_form->TargetTime, queuedMoment(bid))) < queueSpacingSeconds * 1000.0) {
        showMessage(QStringLiteral("Okamžik příhozu leží méně než %1 s od okamžiku zapnutého odpočtu. "
                                   "Příhoz nebyl zařazen do fronty.")
                        .arg(queueSpacingSeconds),
                    m_form);
        return;
    }
    const QString refused = m_store->add(bid, now);
    if (!refused.isEmpty()) {
        showMessage(refused, m_form);
        return;
    }
    tell(QStringLiteral("Příhoz %1 byl zařazen do fronty.").arg(queuedBidName(bid)), false);
}

void QueueServer::showQueue()
{
    if (!m_window)
        m_window = new TQueue_Form(m_store, m_form->m_hooks.Now, m_form);
    m_window->refresh();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

bool QueueServer::allowsPanelMoment(double moment)
{
    // The bid being served arms the panel for itself.
    if (m_arming)
        return true;
    const int other = conflictingBid(m_store->bids(), moment, m_serving);
    if (other >= 0) {
        showMessage(QStringLiteral("Okamžik příhozu leží méně než %1 s od okamžiku příhozu %2 ve frontě. Odpočet nebyl zapnut.")
                        .arg(queueSpacingSeconds)
                        .arg(queuedBidName(m_store->bids()[other])),
                    m_form);
        return false;
    }
    // The queue serves its bids through the panel's countdown: while the user's is on, a queued
    // bid that comes first cannot be served.
    for (const QueuedBid &bid : m_store->bids()) {
        if (bid.state == QueueState::Waiting && queuedMoment(bid) < moment)
            return askYesNo(QStringLiteral("Před okamžikem tohoto odpočtu čeká ve frontě příhoz %1. Dokud je odpočet "
                                           "zapnutý, fronta ho nemůže obsloužit a příhoz selže.\n\nPřesto zapnout odpočet?")
                                .arg(queuedBidName(bid)),
                            m_form);
    }
    return true;
}

void QueueServer::serve()
{
    holdAwake();
    // Arming asks questions in boxes of its own; meanwhile the countdown is neither on nor off.
    if (m_arming)
        return;
    const double now = m_form->m_hooks.Now();
    if (m_serving) {
        const QueuedBid *bid = m_store->find(m_serving);
        if (!bid) {
            // Removed by the user while being served: the countdown armed for it goes too.
            if (m_servedArmed && m_form->Timer1->isActive())
                m_form->Odpocitavat_BTTClick();
            m_serving = 0;
            tell(QStringLiteral("Příhoz byl odebrán z fronty."), false);
            return;
        }
        if (!m_servedArmed)
            return;
        // Keeping watch arms the countdown again when the auction is extended; the queue follows.
        if (m_form->Timer1->isActive()) {
            const double panelEnd = queuedEnd(now, toDays(m_form->doKonce_DTP->dateTime()),
                                              m_form->Zitra_CheckBox->isChecked());
            if (std::abs(msBetween(panelEnd, bid->end)) >= 1) {
                m_store->setEnd(m_serving, panelEnd);
                return;
            }
        }
        // The countdown's moment, not the queued one, tells whether it has fired: aimed by the
        // site's clock, it may come before the queued moment by the computer's.
        const double left = msBetween(now, queuedMoment(*bid));
        if (bid->state == QueueState::Checking && !isLaterThan(m_form->TargetTime, now))
            m_store->setState(m_serving, QueueState::Bidding);
        else if (bid->state == QueueState::Checking && !m_form->Timer1->isActive())
            finishServing(QueueState::Failed, QStringLiteral("Odpočet příhozu %1 z fronty byl zastaven.").arg(queuedBidName(*bid)));
        else if (bid->state == QueueState::Bidding && !m_form->Timer1->isActive() && left < -outcomeLateMs)
            finishServing(QueueState::Failed, QStringLiteral("Příhoz %1 z fronty neskončil.").arg(queuedBidName(*bid)));
        return;
    }
    for (const QueuedBid &bid : m_store->bids()) {
        if (bid.state != QueueState::Waiting)
            continue;
        const double left = msBetween(now, queuedMoment(bid));
        if (left <= 0) {
            m_store->setState(bid.id, QueueState::Missed);
            tell(QStringLiteral("Okamžik příhozu %1 z fronty minul, příhoz je zmeškaný.").arg(queuedBidName(bid)), true);
            return;
        }
        if (left <= Timing.loadLeadMs) {
            startServing(bid.id);
            return;
        }
        if (left <= Timing.announceMs && m_announced != bid.id) {
            m_announced = bid.id;
            tell(QStringLiteral("Za %1 s načte Kavelin v prohlížeči stránku zboží %2 z fronty příhozů.")
                     .arg(qint64(left - Timing.loadLeadMs) / 1000)
                     .arg(queuedBidName(bid)),
                 false);
        }
        return;
    }
}

void QueueServer::startServing(quint64 id)
{
    const QueuedBid bid = *m_store->find(id);
    if (m_form->Timer1->isActive()) {
        m_store->setState(id, QueueState::Failed);
        tell(QStringLiteral("Příhoz %1 z fronty nemohl být obsloužen: v panelu je zapnutý jiný odpočet.").arg(queuedBidName(bid)),
             true);
        return;
    }
    m_serving = id;
    m_servedArmed = false;
    m_store->setState(id, QueueState::Checking);
    tell(QStringLiteral("Načítám stránku zboží %1 z fronty příhozů.").arg(queuedBidName(bid)), false);
    // Armed once the bid's page has loaded. A load that was under way before (the start page at
    // start-up, a page of the user's) may still finish meanwhile: only a page of the bid's site
    // counts.
    QWebEnginePage *page = m_form->Chromium1->page();
    const QString host = QUrl(bid.url).host();
    QObject::disconnect(m_pageLoaded);
    m_pageLoaded = connect(page, &QWebEnginePage::loadFinished, this, [this, id, page, host](bool ok) {
        if (ok && page->url().host() == host)
            armServed(id);
    });
    // A page that does not finish loading is armed for anyway: the checks then say what is wrong.
    QTimer::singleShot(Timing.pageLoadMs, this, [this, id] { armServed(id); });
    m_form->Chromium1->NavigateTo(bid.url);
}

void QueueServer::armServed(quint64 id)
{
    if (m_serving != id || m_servedArmed)
        return;
    const QueuedBid *found = m_store->find(id);
    if (!found)
        return;
    const QueuedBid bid = *found;
    QObject::disconnect(m_pageLoaded);
    m_servedArmed = true;
    // The panel shows the queued bid, and its countdown is armed as the user would arm it.
    const double now = m_form->m_hooks.Now();
    m_form->doKonce_DTP->setDateTime(fromDays(bid.end));
    m_form->Zitra_CheckBox->setChecked(std::floor(bid.end) > std::floor(now));
    m_form->Sekund1_Edit->setText(QString::number(bid.seconds));
    m_form->castka1_edit->setText(bid.amount);
    m_form->Mod_RadioGroup->setItemIndex(bid.live ? 1 : 0);
    m_form->Mod_RadioGroupClick();
    m_arming = true;
    m_form->Odpocitavat_BTTClick();
    m_arming = false;
    if (!m_form->Timer1->isActive())
        finishServing(QueueState::Failed, QStringLiteral("Odpočet příhozu %1 z fronty se nepodařilo zapnout.").arg(queuedBidName(bid)));
}

void QueueServer::panelBidFinished(bool ok)
{
    if (!m_serving || !m_servedArmed)
        return;
    const QueuedBid *bid = m_store->find(m_serving);
    const QString name = bid ? queuedBidName(*bid) : QString();
    finishServing(ok ? QueueState::Done : QueueState::Failed,
                  ok ? QStringLiteral("Příhoz %1 z fronty byl odeslán.").arg(name)
                     : QStringLiteral("Příhoz %1 z fronty selhal.").arg(name));
}

void QueueServer::finishServing(QueueState state, const QString &text)
{
    const quint64 id = std::exchange(m_serving, 0);
    QObject::disconnect(m_pageLoaded);
    m_servedArmed = false;
    m_store->setState(id, state);
    tell(text, false);
}

void QueueServer::holdAwake()
{
    const bool waiting = m_store->anyPending();
    if (waiting == m_holding)
        return;
    m_holding = waiting;
    if (waiting)
        m_inhibitor->acquire(QStringLiteral("Fronta příhozů"));
    else
        m_inhibitor->release();
}

void QueueServer::tellAtStart(const LoadedQueue &loaded)
{
    QStringList text;
    if (loaded.damaged) {
        text.append(loaded.keptAside.isEmpty()
                        ? QStringLiteral("Soubor fronty příhozů %1 je poškozený a nepodařilo se ho odložit. Fronta začíná prázdná.")
                              .arg(m_store->path())
                        : QStringLiteral("Soubor fronty příhozů byl poškozený. Byl odložen jako %1, fronta začíná prázdná.")
                              .arg(loaded.keptAside));
    }
    if (loaded.missed > 0) {
        text.append(QStringLiteral("Zatímco byl Kavelin zavřený, minul okamžik příhozů z fronty (%1), jsou označeny "
                                   "jako zmeškané:\n%2")
                        .arg(loaded.missed)
                        .arg(loaded.missedNames.join(QLatin1Char('\n'))));
    }
    showMessage(text.join(QStringLiteral("\n\n")), m_form);
}

void QueueServer::tell(const QString &text, bool alert)
{
    m_form->Hlidani_Label->setText(text);
    if (alert)
        alertUser(m_form, QStringLiteral("Kavelin"), text);
}
