#pragma once

#include <QPoint>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <functional>

class QMenu;
class QWebEnginePage;
class QWidget;

// Waiting on the real web engine, shared by every web test. Each wait ends as soon as its
// condition holds; pageTimeout is only how long a broken case takes to fail.
namespace webtest {

constexpr int pageTimeout = 30000;

// Starts the load (through load, so a host may navigate its own way) and waits for the page's
// loadFinished; true when the load succeeded.
bool loadAndWait(QWebEnginePage &page, const std::function<void()> &load);
bool loadAndWait(QWebEnginePage &page, const QUrl &url);

// Runs a script in the page's main world and waits for its value (invalid when none came).
QVariant runJs(QWebEnginePage &page, const QString &script, int timeout = pageTimeout);

// Runs a script again and again until it gives something other than null/undefined.
QVariant waitForJs(QWebEnginePage &page, const QString &script, int timeout = pageTimeout);

// Right-clicks at a point of the view's input widget until a context menu opens: right after a
// load the page may not take input yet. Null when no menu opened.
QMenu *openContextMenu(QWidget *input, QPoint at, int timeout = pageTimeout);

} // namespace webtest
