#pragma once

#include "browser/contextmenuparams.h"

#include <QPointer>
#include <QWebEngineView>

#include <QKeyEvent>
#include <QMenu>

// A web view that reports the key events reaching its page and lets its owner extend the
// context menu and decide on every command chosen from it.
class BrowserView : public QWebEngineView
{
    Q_OBJECT
public:
    // Command ids of the engine's own menu items: this plus the item's QWebEnginePage::WebAction,
    // clear of the ids the program gives its items.
    static constexpr int engineCommandBase = 1000;

    explicit BrowserView(QWidget *parent = nullptr);

signals:
    // All raised synchronously. A handler setting handled to true consumes the key / command.
    void keyEvent(QKeyEvent *event, bool &handled);
    void beforeContextMenu(const ContextMenuParams &params, QMenu *menu);
    void contextMenuCommand(const ContextMenuParams &params, int commandId, Qt::KeyboardModifiers flags, bool &handled);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void hookKeyTarget(QObject *child);
    QMenu *buildMenu(const ContextMenuParams &params);

    QPointer<QMenu> m_menu;
};
