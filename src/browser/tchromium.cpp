#include "browser/tchromium.h"

#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/downloadoffer.h"

#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

TChromium::TChromium(QWebEngineProfile *profile, QWidget *parent)
    : QWidget(parent)
    , m_profile(profile)
    , m_view(new BrowserView(this))
    , m_page(new BrowserPage(profile, m_view))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setPage(m_page);
    setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(m_view);
    connectView(m_view, m_page);
    connect(profile, &QWebEngineProfile::downloadRequested, this, [this](QWebEngineDownloadRequest *download) {
        if (ownsPage(download->page()))
            new DownloadOffer(download, DownloadFolder, window());
    });
}

bool TChromium::ownsPage(const QWebEnginePage *page) const
{
    if (page && page == m_page)
        return true;
    for (const QPointer<BrowserView> &popup : m_popups) {
        if (popup && popup->page() == page)
            return true;
    }
    return false;
}

TChromium::~TChromium()
{
    // Pages go before the profile they belong to, and no event reaches the owner any more.
    for (const QPointer<BrowserView> &popup : std::as_const(m_popups)) {
        if (popup)
            delete popup;
    }
    m_page->disconnect(this);
    m_view->disconnect(this);
    m_page->triggerAction(QWebEnginePage::Stop);
    m_view->setPage(nullptr);
    delete m_page;
}

void TChromium::connectView(BrowserView *view, BrowserPage *page)
{
    connect(page, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        emit OnAddressChange(this, url.toString());
    });
    connect(page, &BrowserPage::beforeBrowse, this,
            [this](const QUrl &url, QWebEnginePage::NavigationType type, bool isMainFrame, bool &cancel) {
                bool result = false;
                emit OnBeforeBrowse(this, url, isMainFrame, type == QWebEnginePage::NavigationTypeRedirect, result);
                cancel = result;
            });
    connect(view, &BrowserView::keyEvent, this, [this](QKeyEvent *event, bool &handled) {
        bool result = false;
        emit OnKeyEvent(this, event, result);
        handled = result;
    });
    connect(view, &BrowserView::beforeContextMenu, this, [this](const ContextMenuParams &params, QMenu *menu) {
        emit OnBeforeContextMenu(this, params, menu);
    });
    connect(view, &BrowserView::contextMenuCommand, this,
            [this](const ContextMenuParams &params, int id, Qt::KeyboardModifiers flags, bool &handled) {
                bool result = false;
                emit OnContextMenuCommand(this, params, id, flags, result);
                handled = result;
            });
    page->setPopupFactory([this](QWebEnginePage::WebWindowType type) { return createPopup(type); });
}

QWebEnginePage *TChromium::createPopup(QWebEnginePage::WebWindowType type)
{
    // A pop-up is a page on the same profile in a window of its own, raising our events.
    auto *view = new BrowserView;
    view->setAttribute(Qt::WA_DeleteOnClose);
    auto *page = new BrowserPage(m_profile, view);
    view->setPage(page);
    connectView(view, page);
    connect(page, &QWebEnginePage::windowCloseRequested, view, &QWidget::close);
    // The window is titled by its page, and by the page's address while it has no title.
    const auto retitle = [view, page] {
        view->setWindowTitle(page->title().isEmpty() ? page->url().toString() : page->title());
    };
    connect(page, &QWebEnginePage::titleChanged, view, retitle);
    connect(page, &QWebEnginePage::urlChanged, view, retitle);
    view->resize(type == QWebEnginePage::WebDialog ? QSize(500, 400) : QSize(800, 600));
    view->show();
    m_popups.append(view);
    return page;
}

QList<BrowserView *> TChromium::popups() const
{
    QList<BrowserView *> out;
    for (const QPointer<BrowserView> &popup : m_popups) {
        if (popup)
            out.append(popup);
    }
    return out;
}

void TChromium::NavigateTo(const QString &url)
{
    m_page->load(QUrl(url));
}

QString TChromium::CurrentUrl() const
{
    return m_page->url().toString();
}

void TChromium::RequestSource(std::function<void(const QString &)> done)
{
    QPointer<TChromium> self(this);
    m_page->toHtml([self, done = std::move(done)](const QString &html) {
        if (self)
            done(html);
    });
}
