#include "ui/windowbidenvironment.h"

#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/pageprobe.h"
#include "browser/tchromium.h"
#include "desktop/xwindowstack.h"
#include "ui/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

namespace {

// How long the window may take to come forward, and the keyboard to follow a click.
constexpr int forwardWaitMs = 1000;
constexpr int keyboardWaitMs = 500;
constexpr int clickWaitMs = 500;

// Processes events, in passes of 2 ms, until done() or ms have passed.
template<typename Done>
bool waitUntil(int ms, Done done)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() >= ms)
            return false;
        QThread::msleep(2);
        QCoreApplication::processEvents();
    }
    return true;
}

} // namespace

WindowBidEnvironment::WindowBidEnvironment(QWidget *window, TChromium *browser, const QString &settingsPath,
                                           std::function<bool()> abandoned)
    : m_window(window)
    , m_browser(browser)
    , m_settingsPath(settingsPath)
    , m_abandoned(std::move(abandoned))
    , m_stack(std::make_unique<XWindowStack>())
{
    m_clock.start();
    qApp->installEventFilter(this);
    connect(browser->page(), &QWebEnginePage::loadStarted, this, [this] {
        if (m_watchingLoads) {
            m_loadStarted = true;
            m_loadFinished = false;
        }
    });
    connect(browser->page(), &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (m_watchingLoads && m_loadStarted)
            m_loadFinished = ok;
    });
}

WindowBidEnvironment::~WindowBidEnvironment()
{
    qApp->removeEventFilter(this);
}

bool WindowBidEnvironment::eventFilter(QObject *watched, QEvent *event)
{
    // The mouse button releases that the window system delivers to the program's windows.
    if (event->type() == QEvent::MouseButtonRelease && event->spontaneous() && watched->isWindowType())
        ++m_releases;
    return false;
}

void WindowBidEnvironment::setClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void WindowBidEnvironment::processEvents()
{
    QCoreApplication::processEvents();
}

void WindowBidEnvironment::sleep(int ms)
{
    QThread::msleep(ms);
}

void WindowBidEnvironment::pause(int ms)
{
    // The browser has to go on working meanwhile (the confirmation page loads in this time),
    // which it cannot do while the thread sleeps.
    waitUntil(ms, [] { return false; });
}

void WindowBidEnvironment::awaitClick()
{
    // The point may lie outside the program, whose windows then never see the click.
    waitUntil(clickWaitMs, [this] { return m_releases > 0; });
    m_releases = 0;
}

void WindowBidEnvironment::bringWindowForward()
{
    if (!m_window)
        return;
    // A box or a menu left open would hold the input back from the window.
    closeProgramDialogs();
    if (m_window->isMinimized())
        m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    waitUntil(forwardWaitMs, [this] { return !m_window || m_window->isActiveWindow(); });
}

const TaughtPoint &WindowBidEnvironment::taught(int position)
{
    const int i = qBound(1, position, 3) - 1;
    if (!m_read[i]) {
        m_points[i] = readTaughtPoint(m_settingsPath, i + 1);
        m_read[i] = true;
    }
    return m_points[i];
}

void WindowBidEnvironment::alignPage(int position)
{
    const TaughtPoint &point = taught(position);
    if (!m_browser || !point.taught || !point.place)
        return;
    // Asked of the page itself: the engine's own note of the offset follows the page's frames,
    // late or not at all while nothing is drawn.
    PageProbe(m_browser->page()).run(scrollToScript(point.place->scroll.x(), point.place->scroll.y()));
}

std::optional<QPoint> WindowBidEnvironment::screenPixel(int position)
{
    const TaughtPoint &point = taught(position);
    if (!point.taught)
        return std::nullopt;
    if (!point.place || !m_browser)
        return QPoint(point.screen.x, point.screen.y);
    // Where the view stands on the screen now, so that a moved window takes the input along.
    BrowserView *view = m_browser->view();
    const QPoint global = view->mapToGlobal(point.place->viewPoint);
    const qreal ratio = view->devicePixelRatioF();
    return QPoint(qRound(global.x() * ratio), qRound(global.y() * ratio));
}

QPointF WindowBidEnvironment::cssPoint(int position)
{
    const TaughtPoint &point = taught(position);
    BrowserView *view = m_browser->view();
    QPointF inView;
    if (point.place) {
        inView = point.place->viewPoint;
    } else {
        const qreal ratio = view->devicePixelRatioF();
        inView = view->mapFromGlobal(QPointF(point.screen.x / ratio, point.screen.y / ratio));
    }
    return inView / m_browser->page()->zoomFactor();
}

std::optional<PageTarget> WindowBidEnvironment::targetAt(int position)
{
    if (!m_browser)
        return std::nullopt;
    const QPointF at = cssPoint(position);
    const TaughtPoint &point = taught(position);
    const std::optional<QPoint> scroll = point.place ? std::optional<QPoint>(point.place->scroll) : std::nullopt;
    const std::optional<QVariant> answer = PageProbe(m_browser->page()).run(elementAtScript(at.x(), at.y(), scroll));
    if (!answer)
        return std::nullopt;
    return pageTargetFrom(*answer);
}

std::optional<QString> WindowBidEnvironment::valueAt(int position)
{
    if (!m_browser)
        return std::nullopt;
    const QPointF at = cssPoint(position);
    const std::optional<QVariant> answer = PageProbe(m_browser->page()).run(valueAtScript(at.x(), at.y()));
    if (!answer)
        return std::nullopt;
    return answer->toString();
}

int WindowBidEnvironment::firstCovered(const QList<QPoint> &pixels)
{
    const quint64 ours = m_window ? m_stack->topLevelOf(m_window->winId()) : 0;
    return firstCoveredPoint(m_stack->topLevels(), ours, pixels);
}

bool WindowBidEnvironment::hasKeyboard()
{
    if (!m_window)
        return false;
    const quint64 ours = m_stack->topLevelOf(m_window->winId());
    return ours != 0 && waitUntil(keyboardWaitMs, [this, ours] { return m_stack->focusTopLevel() == ours; });
}

void WindowBidEnvironment::bidClicked()
{
    m_watchingLoads = true;
    m_loadStarted = false;
    m_loadFinished = false;
}

bool WindowBidEnvironment::awaitConfirmationPage(int ms)
{
    return waitUntil(ms, [this] { return m_loadFinished; });
}

bool WindowBidEnvironment::abandoned()
{
    return !m_window || !m_browser || (m_abandoned && m_abandoned());
}

qint64 WindowBidEnvironment::clockMs()
{
    return m_clock.elapsed();
}

void WindowBidEnvironment::note(const QString &event, const QJsonObject &fields)
{
    if (journal)
        journal(event, fields);
}
