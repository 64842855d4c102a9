#pragma once

#include <QWebEngineUrlSchemeHandler>

// Answers the web engine's requests for the "local" scheme. Holds no state: every request gets
// its own TFileScheme, whose body the request job then owns.
class LocalSchemeFactory : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    explicit LocalSchemeFactory(QObject *parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob *job) override;
};
