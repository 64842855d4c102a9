#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The journal of one arming: one JSON object per line, each with the local time to the
// millisecond, the site's time when it is known, the event's name and its own fields.

// One line, ending in a line feed. siteOffsetMs, when given, dates the line by the site's clock too.
QByteArray journalLine(const QDateTime &local, std::optional<double> siteOffsetMs, const QString &event,
                       const QJsonObject &fields = {});

struct JournalEntry
{
    QDateTime local;
    QString event;
    QJsonObject fields;
};

struct Journal
{
    QList<JournalEntry> entries;
    bool damaged = false;   // a line that is not an event, or no journal at all
};

// The journal's lines read back; what cannot be read marks it damaged and is skipped.
Journal readJournal(const QByteArray &content);

// The folder of one arming's record: its local date and time and the site's host,
// "2026-12-11_20-15-03_aukce.example" (a host that cannot be part of a name becomes "stranka").
QString recordFolderName(const QDateTime &armed, const QString &host);

// Of the record folders by their names, those beyond the newest keep ones, oldest first.
QStringList recordsBeyond(QStringList names, int keep);
constexpr int recordsKept = 200;

// What the history shows of a record: read from its journal's armed and outcome events.
struct RecordSummary
{
    QDateTime armed;
    QString title;
    QString address;
    QString amount;
    QString mode;
    QString outcome;    // empty while no outcome was written
    bool failed = false;
    bool damaged = false;
};
RecordSummary summarize(const Journal &journal);
