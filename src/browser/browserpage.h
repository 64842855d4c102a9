#pragma once

#include <QWebEnginePage>

#include <functional>

// A page that reports every navigation start, in any frame, and hands the pages that it
// opens as pop-ups to whoever creates their windows.
class BrowserPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using PopupFactory = std::function<QWebEnginePage *(QWebEnginePage::WebWindowType)>;

    explicit BrowserPage(QWebEngineProfile *profile, QObject *parent = nullptr);
    void setPopupFactory(PopupFactory factory) { m_popupFactory = std::move(factory); }

signals:
    // Raised synchronously; a handler that sets cancel to true stops the navigation.
    void beforeBrowse(const QUrl &url, QWebEnginePage::NavigationType type, bool isMainFrame, bool &cancel);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;

private:
    PopupFactory m_popupFactory;
};
