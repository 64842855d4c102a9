#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

// The test's hands on the X server: pointer, keyboard and windows through xdotool, as a user
// acts on the program.
namespace xsession {

QString xdotool(const QStringList &args);
void click(QPoint at, int button = 1, int repeat = 1);
void keys(const QStringList &keys);
void type(const QString &text);
// Visible top-level windows whose title is exactly title.
QStringList windows(const QString &title);
// Visible windows of the program named name, menus included.
QStringList windowsOf(const QString &name);
// The window's client area on the screen.
QRect geometry(const QString &window);
void activate(const QString &window);

} // namespace xsession
