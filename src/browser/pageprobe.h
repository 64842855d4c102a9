#pragma once

#include <QPointer>
#include <QVariant>

#include <optional>

class QWebEnginePage;

// Runs the program's own scripts in a page, in a world of their own that the page's scripts
// cannot see, and waits for the answer while the window and the browser go on.
class PageProbe
{
public:
    explicit PageProbe(QWebEnginePage *page);

    // The script's value; nothing when the page is gone or did not answer within timeoutMs.
    std::optional<QVariant> run(const QString &script, int timeoutMs = 2000) const;

private:
    QPointer<QWebEnginePage> m_page;
};
