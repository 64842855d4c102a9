#include "sniper/bidrecord.h"

#include <QDir>
#include <QSaveFile>

BidRecord::BidRecord(const QString &recordsFolder, const QString &host, const QDateTime &armed)
{
    const QDir root(recordsFolder);
    QString name = recordFolderName(armed, host);
    // Two armings within a second get folders of their own.
    for (int n = 2; root.exists(name); ++n)
        name = recordFolderName(armed, host) + QStringLiteral("_%1").arg(n);
    root.mkpath(name);
    m_folder = root.filePath(name);
}

void BidRecord::note(const QString &event, const QJsonObject &fields, std::optional<double> siteOffsetMs,
                     const QDateTime &at)
{
    m_journal += journalLine(at, siteOffsetMs, event, fields);
    if (m_held)
        m_journalPending = true;
    else
        write(QStringLiteral("journal.jsonl"), m_journal);
}

void BidRecord::keep(const QString &fileName, const QByteArray &content)
{
    if (m_held)
        m_pending.insert(fileName, content);
    else
        write(fileName, content);
}

void BidRecord::hold()
{
    m_held = true;
}

void BidRecord::release()
{
    m_held = false;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        write(it.key(), it.value());
    m_pending.clear();
    if (std::exchange(m_journalPending, false))
        write(QStringLiteral("journal.jsonl"), m_journal);
}

void BidRecord::write(const QString &fileName, const QByteArray &content)
{
    // A record that cannot be written costs the bid nothing: it is simply missing.
    QSaveFile file(QDir(m_folder).filePath(fileName));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(content);
        file.commit();
    }
}

void pruneRecords(const QString &recordsFolder)
{
    QDir root(recordsFolder);
    for (const QString &name : recordsBeyond(root.entryList(QDir::Dirs | QDir::NoDotAndDotDot), recordsKept))
        QDir(root.filePath(name)).removeRecursively();
}
