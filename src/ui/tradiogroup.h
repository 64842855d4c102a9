#pragma once

#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QRadioButton;

// A group box of radio buttons, one per item, with the selected item's index.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    int ItemIndex() const;
    void setItemIndex(int index);
    QRadioButton *item(int index) const { return m_items.value(index); }

    // The box's background colour.
    QColor Color() const;
    void setColor(const QColor &color);

signals:
    // An item was clicked (by the user or by click()).
    void clicked();

private:
    QButtonGroup *m_group;
    QList<QRadioButton *> m_items;
};
