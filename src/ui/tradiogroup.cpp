#include "ui/tradiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent)
    , m_group(new QButtonGroup(this))
{
    setAutoFillBackground(true);
    const int top = 15;
    const int step = items.isEmpty() ? 0 : 52 / int(items.size());
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setGeometry(8, top + i * step, 212, 17);
        m_group->addButton(button, i);
        m_items.append(button);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &TRadioGroup::clicked);
}

int TRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = m_group->button(index))
        button->setChecked(true);
}

QColor TRadioGroup::Color() const
{
    return palette().color(QPalette::Window);
}

void TRadioGroup::setColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}
