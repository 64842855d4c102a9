#pragma once

#include "sniper/journal.h"

#include <QHash>
#include <QString>

// The record of one arming: a folder of its own under the records' folder, with the journal and
// the files the program keeps of the page. Events are written as they come, except while the
// record is held: during the bid nothing touches the disk, and everything goes out on release.
// Every file is written whole (a temporary file renamed over it).
class BidRecord
{
public:
    BidRecord(const QString &recordsFolder, const QString &host, const QDateTime &armed);

    QString folder() const { return m_folder; }
    void note(const QString &event, const QJsonObject &fields = {}, std::optional<double> siteOffsetMs = {},
              const QDateTime &at = QDateTime::currentDateTime());
    // Kept for writing: written now, or on release while held.
    void keep(const QString &fileName, const QByteArray &content);
    void hold();
    void release();

private:
    void write(const QString &fileName, const QByteArray &content);

    QString m_folder;
    QByteArray m_journal;
    QHash<QString, QByteArray> m_pending;
    bool m_held = false;
    bool m_journalPending = false;
};

// Removes the records beyond the newest recordsKept in recordsFolder.
void pruneRecords(const QString &recordsFolder);
