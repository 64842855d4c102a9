#pragma once

#include "browser/contextmenuparams.h"

#include <QList>
#include <QPointer>
#include <QStandardPaths>
#include <QString>
#include <QWebEnginePage>
#include <QWidget>

#include <functional>

class BrowserPage;
class BrowserView;
#include <QKeyEvent>
#include <QMenu>
class QWebEngineProfile;

// The browser host: one embedded browser, its pop-up windows, and the events the main window
// handles. Every event is raised synchronously; where an event has a Boolean result, it starts
// as false and the handler's value is what the engine gets.
class TChromium : public QWidget
{
    Q_OBJECT
public:
    explicit TChromium(QWebEngineProfile *profile, QWidget *parent = nullptr);
    ~TChromium() override;

    QString DefaultUrl = QStringLiteral("about:blank");
    // Where a download that one of the host's pages starts is saved, once the user agrees.
    QString DownloadFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);

    // Loads url into the main frame exactly as given.
    void NavigateTo(const QString &url);
    // The main frame's current URL.
    QString CurrentUrl() const;
    // Asks for the main frame's current HTML (the live document); done is called later, while
    // events are processed, unless the host is gone by then.
    void RequestSource(std::function<void(const QString &)> done);

    BrowserView *view() const { return m_view; }
    BrowserPage *page() const { return m_page; }
    QList<BrowserView *> popups() const;

signals:
    void OnAddressChange(TChromium *sender, const QString &url);
    void OnBeforeBrowse(TChromium *sender, const QUrl &url, bool isMainFrame, bool isRedirect, bool &result);
    void OnKeyEvent(TChromium *sender, QKeyEvent *event, bool &result);
    void OnBeforeContextMenu(TChromium *sender, const ContextMenuParams &params, QMenu *model);
    void OnContextMenuCommand(TChromium *sender, const ContextMenuParams &params, int commandId,
                              Qt::KeyboardModifiers eventFlags, bool &result);

private:
    void connectView(BrowserView *view, BrowserPage *page);
    bool ownsPage(const QWebEnginePage *page) const;
    QWebEnginePage *createPopup(QWebEnginePage::WebWindowType type);

    QWebEngineProfile *m_profile;
    BrowserView *m_view;
    BrowserPage *m_page;
    QList<QPointer<BrowserView>> m_popups;
};
