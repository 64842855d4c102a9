#pragma once

#include <QWebEngineUrlRequestInterceptor>

class QWebEngineProfile;

// Keeps pages of the "local" scheme to what a file opened in a browser may do: it sees every
// request of the profile's pages and blocks those the rules of localpagerules refuse.
class LocalPageGuard : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    explicit LocalPageGuard(QObject *parent = nullptr);

    // Sets the profile up for local pages: the engine's own file access off (each local page
    // then has an origin of its own, and can script no frame of another file) and this guard
    // on its requests. The guard belongs to the profile.
    static void install(QWebEngineProfile *profile);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;
};
