// Every arming leaves a record: its journal with millisecond times, the page as it stood at
// firing and three seconds after the last click, and a window that lists the records.
#include "ui/tmain_form.h"

#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "sniper/bidrecord.h"
#include "sniper/countdown.h"
#include "ui/thistory_form.h"
#include "ui/tradiogroup.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

namespace {
// How long after the last click the page is kept as the site answered.
constexpr int afterMs = 3000;
}

void TMain_Form::setUpHistory()
{
    if (m_hooks.RecordsFolder.isEmpty())
        m_hooks.RecordsFolder = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("prihozy"));
    Historie_BTT = new QPushButton(QStringLiteral("Historie příhozů"), GroupBox4->parentWidget());
    Historie_BTT->setGeometry(16, 700, 225, 25);
    extendPanel(Historie_BTT->geometry().bottom());
    connect(Historie_BTT, &QPushButton::clicked, this, &TMain_Form::showHistory);
    // Old records go at start-up; what is pruned is what the folder held then.
    QTimer::singleShot(0, this, [this] { pruneRecords(m_hooks.RecordsFolder); });
}

void TMain_Form::startRecord(qint32 seconds)
{
    const QUrl page(Chromium1->CurrentUrl());
    m_record = std::make_shared<BidRecord>(m_hooks.RecordsFolder, page.host(), fromDays(m_hooks.Now()));
    recordEvent(QStringLiteral("armed"),
                {{"url", page.toString()},
                 {"title", Chromium1->page()->title()},
                 {"end", doKonce_DTP->time().toString(QStringLiteral("HH:mm:ss"))},
                 {"tomorrow", Zitra_CheckBox->isChecked()},
                 {"seconds", seconds},
                 {"amount", castka1_edit->text()},
                 {"mode", Mod_RadioGroup->ItemIndex() == 1 ? QStringLiteral("ostrý") : QStringLiteral("testovací")},
                 {"moment", fromDays(TargetTime).toString(Qt::ISODateWithMs)}});
}

void TMain_Form::recordEvent(const QString &event, const QJsonObject &fields)
{
    if (!m_record)
        return;
    std::optional<double> offset;
    if (m_siteOffset)
        offset = m_siteOffset->offsetMs;
    m_record->note(event, fields, offset, fromDays(m_hooks.Now()));
}

std::shared_ptr<BidRecord> TMain_Form::recordFiring()
{
    if (!m_record)
        return nullptr;
    recordEvent(QStringLiteral("fired"), {{"moment", fromDays(TargetTime).toString(Qt::ISODateWithMs)},
                                          {"amount", castka1_edit->text()}});
    // Nothing reaches the disk until the bid is done; the page's source comes meanwhile.
    m_record->hold();
    const std::shared_ptr<BidRecord> record = m_record;
    Chromium1->RequestSource([record](const QString &html) { record->keep(QStringLiteral("item.html"), html.toUtf8()); });
    return record;
}

void TMain_Form::recordOutcome(const std::shared_ptr<BidRecord> &record, const BidResult &result, bool itemBidSent)
{
    // The record is the firing's even when the next arming has started one of its own meanwhile.
    if (!record)
        return;
    std::optional<double> offset;
    if (m_siteOffset)
        offset = m_siteOffset->offsetMs;
    record->note(QStringLiteral("outcome"),
                 {{"ok", result.ok()}, {"status", outcomeStatus(result, itemBidSent)}, {"reason", failureReason(result)},
                  {"itemBidSent", itemBidSent}},
                 offset, fromDays(m_hooks.Now()));
    if (m_record == record)
        m_record.reset();
    record->release();
    QTimer::singleShot(afterMs, Chromium1, [this, record] {
        QBuffer picture;
        picture.open(QIODevice::WriteOnly);
        Chromium1->view()->grab().save(&picture, "PNG");
        record->keep(QStringLiteral("after.png"), picture.data());
        Chromium1->RequestSource([record](const QString &html) { record->keep(QStringLiteral("after.html"), html.toUtf8()); });
    });
}

void TMain_Form::showHistory()
{
    if (!m_history)
        m_history = new THistory_Form(m_hooks.RecordsFolder);
    m_history->refresh();
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}
