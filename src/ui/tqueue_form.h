#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class QueueStore;

// "Fronta příhozů": the queued bids in the order of their moments with their state and the
// time left; the selected bid can be removed, or get a new amount, seconds and mode.
class TQueue_Form : public QWidget
{
    Q_OBJECT
public:
    TQueue_Form(QueueStore *store, std::function<double()> now, QWidget *parent = nullptr);

    // Fills the table again from the queue.
    void refresh();

    QTableWidget *Fronta_Table;
    QLineEdit *Castka_Edit;
    QLineEdit *Sekund_Edit;
    QComboBox *Mod_Combo;
    QPushButton *Zmenit_BTT;
    QPushButton *Odebrat_BTT;
    QLabel *Prazdna_Label;

private:
    void showSelected();
    void changeSelected();
    void removeSelected();
    void showTimeLeft();
    quint64 selectedId() const;

    QueueStore *m_store;
    std::function<double()> m_now;
    QTimer *m_clock;
};
