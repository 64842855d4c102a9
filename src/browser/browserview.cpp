#include "browser/browserview.h"

#include "browser/linkrule.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QWebEngineContextMenuRequest>

namespace {
// The engine's items that open or save what a link or a picture points to.
bool opensTarget(QWebEnginePage::WebAction action)
{
    switch (action) {
    case QWebEnginePage::OpenLinkInThisWindow:
    case QWebEnginePage::OpenLinkInNewWindow:
    case QWebEnginePage::OpenLinkInNewTab:
    case QWebEnginePage::OpenLinkInNewBackgroundTab:
    case QWebEnginePage::DownloadLinkToDisk:
    case QWebEnginePage::DownloadImageToDisk:
    case QWebEnginePage::DownloadMediaToDisk:
        return true;
    default:
        return false;
    }
}
}

BrowserView::BrowserView(QWidget *parent)
    : QWebEngineView(parent)
{
    installEventFilter(this);
    for (QObject *child : children())
        hookKeyTarget(child);
}

void BrowserView::hookKeyTarget(QObject *child)
{
    // The page's keys go to a child widget of the view; the engine replaces that widget when a
    // navigation moves the page to another renderer, so every new child is hooked as it comes.
    if (child && child->isWidgetType() && child != this)
        child->installEventFilter(this);
}

bool BrowserView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this) {
        if (event->type() == QEvent::ChildAdded)
            hookKeyTarget(static_cast<QChildEvent *>(event)->child());
        return QWebEngineView::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        bool handled = false;
        emit keyEvent(static_cast<QKeyEvent *>(event), handled);
        if (handled)
            return true;
    }
    return QWebEngineView::eventFilter(watched, event);
}

void BrowserView::contextMenuEvent(QContextMenuEvent *event)
{
    ContextMenuParams params;
    params.viewPos = event->pos();
    if (const QWebEngineContextMenuRequest *request = lastContextMenuRequest()) {
        params.viewPos = request->position();
        params.linkUrl = request->linkUrl();
        params.isEditable = request->isContentEditable();
        params.mediaUrl = request->mediaUrl();
    }
    const QPoint global = mapToGlobal(params.viewPos);
    const qreal ratio = devicePixelRatioF();
    params.screenPixel = QPoint(qRound(global.x() * ratio), qRound(global.y() * ratio));

    if (m_menu)
        m_menu->close();
    m_menu = buildMenu(params);
    emit beforeContextMenu(params, m_menu);
    m_menu->popup(event->globalPos());
}

QMenu *BrowserView::buildMenu(const ContextMenuParams &params)
{
    // The engine's own items are copied into a menu of ours, so that every command chosen,
    // the engine's included, first passes through contextMenuCommand.
    QMenu *standard = createStandardContextMenu();
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QHash<QAction *, QPointer<QAction>> engineItems;
    for (QAction *original : standard->actions()) {
        if (original->isSeparator()) {
            menu->addSeparator();
            continue;
        }
        int id = engineCommandBase;
        bool allowed = true;
        for (int a = 0; a < QWebEnginePage::WebActionCount; ++a) {
            if (page()->action(QWebEnginePage::WebAction(a)) == original) {
                id = engineCommandBase + a;
                if (opensTarget(QWebEnginePage::WebAction(a))) {
                    const bool ofLink = a != QWebEnginePage::DownloadImageToDisk && a != QWebEnginePage::DownloadMediaToDisk;
                    allowed = linkrule::mayOpenFromPage(page()->url(), ofLink ? params.linkUrl : params.mediaUrl);
                }
                break;
            }
        }
        QAction *copy = menu->addAction(original->icon(), original->text());
        copy->setEnabled(original->isEnabled() && allowed);
        copy->setCheckable(original->isCheckable());
        copy->setChecked(original->isChecked());
        copy->setData(id);
        engineItems.insert(copy, original);
    }
    connect(menu, &QObject::destroyed, standard, &QObject::deleteLater);

    connect(menu, &QMenu::triggered, this, [this, params, engineItems](QAction *action) {
        bool handled = false;
        emit contextMenuCommand(params, action->data().toInt(), QGuiApplication::keyboardModifiers(), handled);
        if (!handled && action->isEnabled()) {
            if (QAction *original = engineItems.value(action))
                original->trigger();
        }
    });
    return menu;
}
