#include "browser/browserpage.h"

BrowserPage::BrowserPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
}

bool BrowserPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    bool cancel = false;
    emit beforeBrowse(url, type, isMainFrame, cancel);
    return !cancel;
}

QWebEnginePage *BrowserPage::createWindow(WebWindowType type)
{
    return m_popupFactory ? m_popupFactory(type) : nullptr;
}
