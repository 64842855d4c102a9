#include "ui/labelfit.h"

#include <QLabel>

#include <algorithm>

int grownLabelWidth(int designed, int textWidth, int left, int parentWidth)
{
    const int room = parentWidth - left;
    return std::max(designed, std::min(textWidth, room));
}

void fitLabelToText(QLabel *label)
{
    QRect place = label->geometry();
    if (label->wordWrap()) {
        place.setHeight(std::max(place.height(), label->heightForWidth(place.width())));
    } else {
        const int parentWidth = label->parentWidget() ? label->parentWidget()->width() : place.right() + 1;
        place.setWidth(grownLabelWidth(place.width(), label->sizeHint().width(), place.left(), parentWidth));
        place.setHeight(std::max(place.height(), label->sizeHint().height()));
    }
    label->setGeometry(place);
}
