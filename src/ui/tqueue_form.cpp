#include "ui/tqueue_form.h"

#include "sniper/bidamount.h"
#include "sniper/bidoutcome.h"
#include "sniper/countdown.h"
#include "common/timeformat.h"
#include "ui/messages.h"
#include "ui/queuestore.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
enum Column { MomentColumn, ItemColumn, AmountColumn, SecondsColumn, ModeColumn, StateColumn, LeftColumn, Columns };
const QColor failedColor(200, 0, 0);

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}
} // namespace

TQueue_Form::TQueue_Form(QueueStore *store, std::function<double()> now, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_store(store)
    , m_now(std::move(now))
{
    setWindowTitle(QStringLiteral("Fronta příhozů"));
    resize(760, 360);

    Fronta_Table = new QTableWidget(0, Columns, this);
    Fronta_Table->setHorizontalHeaderLabels({QStringLiteral("Okamžik příhozu"), QStringLiteral("Zboží"),
                                             QStringLiteral("Částka"), QStringLiteral("Sekund"),
                                             QStringLiteral("Mód"), QStringLiteral("Stav"), QStringLiteral("Zbývá")});
    Fronta_Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Fronta_Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Fronta_Table->verticalHeader()->hide();
    Fronta_Table->horizontalHeader()->setSectionResizeMode(ItemColumn, QHeaderView::Stretch);
    Prazdna_Label = new QLabel(QStringLiteral("Ve frontě není žádný příhoz."), this);

    Castka_Edit = new QLineEdit(this);
    Sekund_Edit = new QLineEdit(this);
    Mod_Combo = new QComboBox(this);
    Mod_Combo->addItems({QStringLiteral("testovací"), QStringLiteral("ostrý")});
    Zmenit_BTT = new QPushButton(QStringLiteral("Změnit"), this);
    Odebrat_BTT = new QPushButton(QStringLiteral("Odebrat z fronty"), this);

    auto *edits = new QHBoxLayout;
    edits->addWidget(new QLabel(QStringLiteral("Částka:"), this));
    edits->addWidget(Castka_Edit);
    edits->addWidget(new QLabel(QStringLiteral("Kč, sekund před koncem:"), this));
    edits->addWidget(Sekund_Edit);
    edits->addWidget(new QLabel(QStringLiteral("mód:"), this));
    edits->addWidget(Mod_Combo);
    edits->addWidget(Zmenit_BTT);
    edits->addStretch(1);
    edits->addWidget(Odebrat_BTT);
    auto *rows = new QVBoxLayout(this);
    rows->addWidget(Fronta_Table, 1);
    rows->addWidget(Prazdna_Label);
    rows->addLayout(edits);

    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &TQueue_Form::showTimeLeft);
    connect(m_store, &QueueStore::changed, this, &TQueue_Form::refresh);
    connect(Fronta_Table, &QTableWidget::itemSelectionChanged, this, &TQueue_Form::showSelected);
    connect(Zmenit_BTT, &QPushButton::clicked, this, &TQueue_Form::changeSelected);
    connect(Odebrat_BTT, &QPushButton::clicked, this, &TQueue_Form::removeSelected);
    refresh();
}

void TQueue_Form::refresh()
{
    const quint64 selected = selectedId();
    const QList<QueuedBid> &bids = m_store->bids();
    const QSignalBlocker quiet(Fronta_Table);
    Fronta_Table->clearContents();
    Fronta_Table->setRowCount(int(bids.size()));
    const QLocale locale = QLocale::system();
    for (int row = 0; row < bids.size(); ++row) {
        const QueuedBid &bid = bids[row];
        auto *moment = cell(locale.toString(fromDays(queuedMoment(bid)), QLocale::ShortFormat));
        moment->setData(Qt::UserRole, bid.id);
        Fronta_Table->setItem(row, MomentColumn, moment);
        Fronta_Table->setItem(row, ItemColumn, cell(bid.title.isEmpty() ? bid.url : bid.title));
        Fronta_Table->item(row, ItemColumn)->setToolTip(bid.url);
        Fronta_Table->setItem(row, AmountColumn, cell(bid.amount));
        Fronta_Table->setItem(row, SecondsColumn, cell(QString::number(bid.seconds)));
        Fronta_Table->setItem(row, ModeColumn, cell(bid.live ? QStringLiteral("ostrý") : QStringLiteral("testovací")));
        auto *state = cell(queueStateText(bid.state));
        if (bid.state == QueueState::Failed || bid.state == QueueState::Missed)
            state->setForeground(failedColor);
        Fronta_Table->setItem(row, StateColumn, state);
        Fronta_Table->setItem(row, LeftColumn, cell(QString()));
        if (bid.id == selected)
            Fronta_Table->selectRow(row);
    }
    Prazdna_Label->setVisible(bids.isEmpty());
    showTimeLeft();
    showSelected();
    if (m_store->anyPending())
        m_clock->start();
    else
        m_clock->stop();
}

void TQueue_Form::showTimeLeft()
{
    const double now = m_now();
    const QString separator = timeSeparator(QLocale::system());
    const QList<QueuedBid> &bids = m_store->bids();
    for (int row = 0; row < bids.size() && row < Fronta_Table->rowCount(); ++row) {
        const double moment = queuedMoment(bids[row]);
        const bool ahead = isPending(bids[row].state) && isLaterThan(moment, now);
        const qint64 days = ahead ? qint64(moment - now) : 0;
        QString left = ahead ? timeLeftText(now, moment, separator) : QString();
        if (days > 0)
            left = QStringLiteral("%1 d %2").arg(days).arg(left);
        Fronta_Table->item(row, LeftColumn)->setText(left);
    }
}

quint64 TQueue_Form::selectedId() const
{
    const QList<QTableWidgetItem *> selected = Fronta_Table->selectedItems();
    for (QTableWidgetItem *item : selected) {
        if (item->column() == MomentColumn)
            return item->data(Qt::UserRole).toULongLong();
    }
    return 0;
}

void TQueue_Form::showSelected()
{
    const QueuedBid *bid = m_store->find(selectedId());
    const bool waiting = bid && bid->state == QueueState::Waiting;
    Zmenit_BTT->setEnabled(waiting);
    Odebrat_BTT->setEnabled(bid != nullptr);
    if (!bid)
        return;
    Castka_Edit->setText(bid->amount);
    Sekund_Edit->setText(QString::number(bid->seconds));
    Mod_Combo->setCurrentIndex(bid->live ? 1 : 0);
}

void TQueue_Form::changeSelected()
{
    const quint64 id = selectedId();
    if (!id)
        return;
    const std::optional<QString> amount = positiveAmount(Castka_Edit->text());
    if (!amount) {
        showMessage(failureReason({BidFailure::BadAmount, 0, Castka_Edit->text()}) + QStringLiteral(" Příhoz nebyl změněn."),
                    this);
        return;
    }
    const std::optional<qint32> seconds = armingSeconds(Sekund_Edit->text());
    if (!seconds) {
        showMessage(QStringLiteral("Počet sekund musí být celé číslo od %1 do %2. Příhoz nebyl změněn.")
                        .arg(fewestSeconds)
                        .arg(mostSeconds),
                    this);
        return;
    }
    const QString refused = m_store->change(id, *amount, *seconds, Mod_Combo->currentIndex() == 1, m_now());
    if (!refused.isEmpty())
        showMessage(refused, this);
}

void TQueue_Form::removeSelected()
{
    if (const quint64 id = selectedId())
        m_store->remove(id);
}
