#include "sniper/journal.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {
const QString timeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");
}

QByteArray journalLine(const QDateTime &local, std::optional<double> siteOffsetMs, const QString &event,
                       const QJsonObject &fields)
{
    QJsonObject line = fields;
    line.insert(QStringLiteral("local"), local.toString(timeFormat));
    if (siteOffsetMs)
        line.insert(QStringLiteral("site"), local.addMSecs(qint64(std::llround(*siteOffsetMs))).toString(timeFormat));
    line.insert(QStringLiteral("event"), event);
    return QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
}

Journal readJournal(const QByteArray &content)
{
    Journal out;
    for (const QByteArray &raw : content.split('\n')) {
        if (raw.trimmed().isEmpty())
            continue;
        const QJsonDocument doc = QJsonDocument::fromJson(raw);
        const QJsonObject line = doc.object();
        const QDateTime local = QDateTime::fromString(line.value(QStringLiteral("local")).toString(), timeFormat);
        const QString event = line.value(QStringLiteral("event")).toString();
        if (!doc.isObject() || !local.isValid() || event.isEmpty()) {
            out.damaged = true;
            continue;
        }
        out.entries.append({local, event, line});
    }
    if (out.entries.isEmpty())
        out.damaged = true;
    return out;
}

QString recordFolderName(const QDateTime &armed, const QString &host)
{
    static const QRegularExpression hostName(QStringLiteral("^[A-Za-z0-9.-]+$"));
    const QString part = hostName.match(host).hasMatch() ? host : QStringLiteral("stranka");
    return armed.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss_")) + part;
}

QStringList recordsBeyond(QStringList names, int keep)
{
    // The names begin with the date and time, so their order is the records' order.
    std::sort(names.begin(), names.end());
    return names.mid(0, qMax<qsizetype>(0, names.size() - keep));
}

RecordSummary summarize(const Journal &journal)
{
    RecordSummary out;
    out.damaged = journal.damaged;
    for (const JournalEntry &e : journal.entries) {
        if (e.event == QLatin1String("armed")) {
            out.armed = e.local;
            out.title = e.fields.value(QStringLiteral("title")).toString();
            out.address = e.fields.value(QStringLiteral("url")).toString();
            out.amount = e.fields.value(QStringLiteral("amount")).toString();
            out.mode = e.fields.value(QStringLiteral("mode")).toString();
        } else if (e.event == QLatin1String("outcome")) {
            out.outcome = e.fields.value(QStringLiteral("status")).toString();
            const QString reason = e.fields.value(QStringLiteral("reason")).toString();
            if (!reason.isEmpty())
                out.outcome += QStringLiteral(": ") + reason;
            out.failed = !e.fields.value(QStringLiteral("ok")).toBool();
        } else if (e.event == QLatin1String("disarmed") && out.outcome.isEmpty()) {
            out.outcome = QStringLiteral("zrušeno (%1)").arg(e.fields.value(QStringLiteral("why")).toString());
        }
    }
    if (!out.armed.isValid() && !journal.entries.isEmpty())
        out.armed = journal.entries.first().local;
    return out;
}
