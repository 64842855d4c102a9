#include "ui/thistory_form.h"

#include "sniper/journal.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QColor failureColor(200, 0, 0);
// A journal larger than this is not a journal of ours.
constexpr qint64 journalLimit = 4 * 1024 * 1024;

QByteArray readSmall(const QString &path)
{
    QFile file(path);
    if (file.size() > journalLimit || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
} // namespace

THistory_Form::THistory_Form(const QString &recordsFolder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_recordsFolder(recordsFolder)
{
    setWindowTitle(QStringLiteral("Historie příhozů"));
    resize(900, 600);
    Zaznamy_Table = new QTableWidget(0, 5);
    Zaznamy_Table->setHorizontalHeaderLabels({QStringLiteral("Datum a čas"), QStringLiteral("Stránka"),
                                              QStringLiteral("Částka"), QStringLiteral("Mód"), QStringLiteral("Výsledek")});
    Zaznamy_Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Zaznamy_Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Zaznamy_Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Zaznamy_Table->horizontalHeader()->setStretchLastSection(true);
    Zaznamy_Table->verticalHeader()->hide();
    Denik_Memo = new QTextEdit;
    Denik_Memo->setReadOnly(true);
    Denik_Memo->setLineWrapMode(QTextEdit::NoWrap);
    Obrazek_Label = new QLabel;
    Obrazek_Label->setAlignment(Qt::AlignCenter);
    Obrazek_Label->setMinimumSize(320, 240);
    Slozka_BTT = new QPushButton(QStringLiteral("Otevřít složku záznamu"));
    Slozka_BTT->setEnabled(false);

    auto *detail = new QHBoxLayout;
    detail->addWidget(Denik_Memo, 1);
    detail->addWidget(Obrazek_Label, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Zaznamy_Table, 1);
    layout->addLayout(detail, 1);
    layout->addWidget(Slozka_BTT, 0, Qt::AlignRight);

    connect(Zaznamy_Table, &QTableWidget::currentCellChanged, this, [this](int row) { showRecord(row); });
    connect(Slozka_BTT, &QPushButton::clicked, this, [this] {
        const int row = Zaznamy_Table->currentRow();
        if (row >= 0 && row < m_folders.size())
            QDesktopServices::openUrl(QUrl::fromLocalFile(m_folders[row]));
    });
}

void THistory_Form::refresh()
{
    const QDir root(m_recordsFolder);
    QStringList names = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), std::greater<>());   // newest first: names begin with the time
    m_folders.clear();
    Zaznamy_Table->setRowCount(0);
    for (const QString &name : names) {
        const QString folder = root.filePath(name);
        const RecordSummary s = summarize(readJournal(readSmall(QDir(folder).filePath(QStringLiteral("journal.jsonl")))));
        const int row = Zaznamy_Table->rowCount();
        Zaznamy_Table->insertRow(row);
        const QString when = s.armed.isValid() ? QLocale::system().toString(s.armed, QLocale::ShortFormat) : name;
        const QString page = s.title.isEmpty() ? s.address : s.title + QStringLiteral(" — ") + s.address;
        QString outcome = s.outcome.isEmpty() ? QStringLiteral("bez výsledku") : s.outcome;
        if (s.damaged)
            outcome += QStringLiteral(" (poškozený záznam)");
        const QStringList cells = {when, page, s.amount, s.mode, outcome};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (s.failed || s.damaged)
                item->setForeground(failureColor);
            Zaznamy_Table->setItem(row, column, item);
        }
        m_folders.append(folder);
    }
    Zaznamy_Table->resizeColumnsToContents();
}

void THistory_Form::showRecord(int row)
{
    Slozka_BTT->setEnabled(row >= 0 && row < m_folders.size());
    Denik_Memo->clear();
    Obrazek_Label->clear();
    if (row < 0 || row >= m_folders.size())
        return;
    const QDir folder(m_folders[row]);
    Denik_Memo->setPlainText(QString::fromUtf8(readSmall(folder.filePath(QStringLiteral("journal.jsonl")))));
    const QPixmap picture(folder.filePath(QStringLiteral("after.png")));
    if (picture.isNull())
        Obrazek_Label->setText(QStringLiteral("Bez obrázku stránky."));
    else
        Obrazek_Label->setPixmap(picture.scaled(Obrazek_Label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
