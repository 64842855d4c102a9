#include "webwait.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include <memory>
#include <optional>

namespace webtest {

bool loadAndWait(QWebEnginePage &page, const std::function<void()> &load)
{
    QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
    load();
    return finished.wait(pageTimeout) && finished.last().first().toBool();
}

bool loadAndWait(QWebEnginePage &page, const QUrl &url)
{
    return loadAndWait(page, [&page, &url] { page.load(url); });
}

QVariant runJs(QWebEnginePage &page, const QString &script, int timeout)
{
    // The answer may come after a time-out, when this call has returned.
    auto answer = std::make_shared<std::optional<QVariant>>();
    page.runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
    if (!QTest::qWaitFor([&] { return answer->has_value(); }, timeout))
        return {};
    return **answer;
}

QVariant waitForJs(QWebEnginePage &page, const QString &script, int timeout)
{
    QVariant value;
    const bool got = QTest::qWaitFor([&] {
        value = runJs(page, script);
        return value.isValid() && !value.isNull();
    }, timeout);
    return got ? value : QVariant();
}

QMenu *openContextMenu(QWidget *input, QPoint at, int timeout)
{
    QMenu *menu = nullptr;
    const QDeadlineTimer deadline(timeout);
    while (!menu && !deadline.hasExpired()) {
        QTest::mouseMove(input, at);
        QTest::mousePress(input, Qt::RightButton, {}, at);
        QTest::mouseRelease(input, Qt::RightButton, {}, at);
        (void)QTest::qWaitFor([&] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())); },
                              1000);
    }
    return menu;
}

} // namespace webtest
