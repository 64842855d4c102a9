#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// A top-level window of the display as the window system stacks them.
struct StackedWindow
{
    quint64 id = 0;
    QRect rect;              // on the screen
    bool viewable = true;    // mapped, and all its ancestors too
    bool inputOnly = false;  // takes input but shows nothing (it covers nothing)
};

// The window that shows at point: the topmost viewable, drawn window whose rectangle holds it;
// 0 when none does. bottomToTop is the stacking order, lowest first.
quint64 windowAt(const QList<StackedWindow> &bottomToTop, QPoint point);

// The first of points at which another window than ours shows (index into points), or -1 when
// ours shows at every one.
int firstCoveredPoint(const QList<StackedWindow> &bottomToTop, quint64 ours, const QList<QPoint> &points);
