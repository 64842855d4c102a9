#pragma once

#include <QPoint>
#include <QUrl>

// Where and on what a context menu of the browser was opened.
struct ContextMenuParams
{
    QPoint viewPos;       // in the browser view's coordinates
    QPoint screenPixel;   // the same point on the screen, in device pixels
    QUrl linkUrl;
    QUrl mediaUrl;        // of the picture, video or sound under the pointer
    bool isEditable = false;
};
