#pragma once

#include <QString>

class QWidget;

// Draws the user's attention from wherever they are: the window's alert in the taskbar, a
// desktop notification when the session has a notification service, and a sound.
void alertUser(QWidget *window, const QString &summary, const QString &body);
