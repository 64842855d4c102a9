#include "browser/pageprobe.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>

PageProbe::PageProbe(QWebEnginePage *page)
    : m_page(page)
{
}

std::optional<QVariant> PageProbe::run(const QString &script, int timeoutMs) const
{
    if (!m_page)
        return std::nullopt;
    // The answer may come after this wait has given up: it then lands in the shared state only.
    struct Answer
    {
        std::optional<QVariant> value;
        QEventLoop *loop = nullptr;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    answer->loop = &loop;
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [answer](const QVariant &value) {
        answer->value = value;
        if (answer->loop)
            answer->loop->quit();
    });
    if (!answer->value) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    answer->loop = nullptr;
    return answer->value;
}
