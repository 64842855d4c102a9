#include "sniper/windowcover.h"

quint64 windowAt(const QList<StackedWindow> &bottomToTop, QPoint point)
{
    for (auto it = bottomToTop.crbegin(); it != bottomToTop.crend(); ++it) {
        if (it->viewable && !it->inputOnly && it->rect.contains(point))
            return it->id;
    }
    return 0;
}

int firstCoveredPoint(const QList<StackedWindow> &bottomToTop, quint64 ours, const QList<QPoint> &points)
{
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (ours == 0 || windowAt(bottomToTop, points[i]) != ours)
            return int(i);
    }
    return -1;
}
